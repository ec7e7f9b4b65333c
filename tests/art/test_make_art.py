#!/usr/bin/env python3
"""The artwork generator on small hand-made records: what it draws, and the bad records that
stop the build with a message naming the gauge, the element and the bitmap id."""

import copy
import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "resources"))
import make_art  # noqa: E402


def element(n, kind, ident, x, y, **more):
    e = {"n": n, "kind": kind, "id": ident, "x": x, "y": y, "ofs": [0, 0], "flags": 3}
    e.update(more)
    return e


def gauge(name, width, *elements, mouse=()):
    return {"index": 0, "name": name, "size_mm": width,
            "elements": [element(0, "static", 1000 + width, 0, 0)] + list(elements),
            "mouse": [list(m) for m in mouse]}


METER = gauge("kestovil meter_k7", 100,
              element(1, "needle", 501, 50, 60, ofs=[4, 4], table_size=3, table_null=False,
                      table=[[10, 60, 0], [50, 10, 5], [90, 60, 10]]))
DRUM = gauge("kestovil counter_k7", 60,
             element(1, "moving", 601, 20, 10, range_x=[0, 0], range_y=[0, 10]))


class GoodRecords(unittest.TestCase):
    def test_a_gauge_added_later_gets_a_face_of_its_width(self):
        found = make_art.collect({"gauges": [gauge("kestovil new_k7", 77)]})
        self.assertEqual(list(found), [1077])
        self.assertEqual(found[1077].size[0], 77)
        self.assertEqual(make_art.render(found[1077]).size, found[1077].size)

    def test_a_dial_carries_a_tick_and_label_at_every_calibration_point(self):
        face = make_art.collect({"gauges": [METER]})[1100]
        self.assertEqual([t[4] for t in make_art.dial_labels(face.what["ticks"])],
                         ["0", "5", "10"])
        img = make_art.render(face)
        for tx, ty, *_ in face.what["ticks"]:  # the tick mark is drawn in ink at the point
            self.assertEqual(img.getpixel((tx, ty)), make_art.c("ink"))

    def test_a_digit_drum_has_a_row_per_digit_and_wraps_to_0(self):
        found = make_art.collect({"gauges": [DRUM]})
        strip, mask = found[601], found[602]
        cw, ch = mask.size
        self.assertEqual(strip.size, (cw, 11 * ch))
        img = make_art.render(strip)
        rows = [img.crop((0, r * ch, cw, (r + 1) * ch)).tobytes() for r in range(11)]
        self.assertEqual(rows[0], rows[10], "the row after 9 shows 0 again")
        self.assertEqual(len(set(rows[:10])), 10, "ten different digits")

    def test_two_position_drums_lead_with_0_1_and_follow_with_0_5(self):
        box = gauge("kestovil radio_k7", 120,
                    element(1, "moving", 611, 20, 10, range_x=[0, 0], range_y=[0, 2]),
                    element(2, "moving", 621, 36, 10, range_x=[0, 0], range_y=[0, 10]),
                    element(3, "moving", 631, 52, 11, range_x=[0, 0], range_y=[0, 2]))
        found = make_art.collect({"gauges": [box]})
        self.assertEqual(found[611].what["labels"], ["0", "1"], "a leading thousands digit")
        self.assertEqual(found[631].what["labels"], ["0", "5"], "a half step after a digit")

    def test_the_altimeter_counter_carries_its_digits_downward(self):
        alti = dict(DRUM, name="kestovil alti_main_k7")
        labels = make_art.collect({"gauges": [alti]})[601].what["labels"]
        self.assertEqual(labels[:3], ["0", "9", "8"], "the callback gives 10 less the digit")

    def test_a_course_pointer_runs_up_through_its_pivot_and_a_knob_stays_round(self):
        hsi = gauge("kestovil hsi_like_k7", 200,
                    element(1, "needle", 5888, 100, 100, ofs=[20, 60], table=[], table_size=0,
                            table_null=True),
                    element(2, "needle", 701, 30, 170, ofs=[10, 10], table=[], table_size=0,
                            table_null=True))
        found = make_art.collect({"gauges": [hsi]})
        pointer, knob = make_art.render(found[5888]), make_art.render(found[701])
        self.assertNotEqual(pointer.getpixel((20, 2)), 0, "the head, straight above the pivot")
        self.assertEqual(pointer.getpixel((2, 60)), 0, "nothing beside the pivot")
        self.assertNotEqual(knob.getpixel((10, 16)), 0, "a knob is round about its pivot")

    def test_a_dial_of_two_turns_labels_each_mark_once(self):
        # An altimeter's hundreds needle: -100 .. 100 over two turns, 0 and +-100 at the top;
        # a second needle laid on the same marks keeps the first one's labels.
        marks = [(50, 10), (90, 50), (50, 90), (10, 50)]
        table = [[*marks[i % 4], -100 + 25 * i] for i in range(9)]
        alti = gauge("kestovil alti_like_k7", 100,
                     element(1, "needle", 511, 50, 50, ofs=[4, 4], table_size=9,
                             table_null=False, table=table),
                     element(2, "needle", 512, 50, 50, ofs=[4, 4], table_size=4,
                             table_null=False, table=[[*m, 1000 * i] for i, m in
                                                      enumerate(marks)]))
        face = make_art.collect({"gauges": [alti]})[1100]
        labels = [(t[0], t[1], t[4]) for t in make_art.dial_labels(face.what["ticks"])]
        self.assertEqual(labels, [(50, 10, "0"), (90, 50, "25"), (50, 90, "50"), (10, 50, "75")])

    def test_a_sprite_turns_its_texture_middle_about_ofs_within_a_round_window(self):
        # The card turns about the background point (128, 128); the window, at the element's
        # place, is centred there, and the card in the texture fills it at the texture's scale.
        card = gauge("kestovil compass_k7", 118,
                     element(1, "sprite", 801, 10, 28, ofs=[128, 128], texture_scale=0.25))
        found = make_art.collect({"gauges": [card]})
        self.assertEqual(found[801].size, (256, 256))
        self.assertEqual(found[802].size, (236, 200))
        self.assertEqual(found[1118].size[0], 246, "the background holds the whole window")
        mask = make_art.render(found[802])
        self.assertNotEqual(mask.getpixel((118, 100)), 0, "the window's middle is ofs")
        self.assertNotEqual(mask.getpixel((118, 1)), 0)
        self.assertEqual(mask.getpixel((118 - 101, 100)), 0, "round, of the nearer edge")
        texture = make_art.render(found[801])
        self.assertNotEqual(texture.getpixel((128, 128 - 24)), 0, "the card reaches 100 x 0.25")
        self.assertEqual(texture.getpixel((128, 128 - 30)), 0, "and no further")
        self.assertEqual(texture.getpixel((0, 0)), 0, "outside the card is transparent")

    def test_twins_sharing_a_face_are_named_together(self):
        found = make_art.collect({"gauges": [gauge("kestovil radio_navcom1_k7", 90),
                                             gauge("kestovil radio_navcom2_k7", 90),
                                             gauge("kestovil radio_adf1_k7", 91)]})
        self.assertEqual(make_art.face_name(found[1090].what["gauge"],
                                            found[1090].what.get("twins", [])), "radio_navcom")
        self.assertEqual(make_art.face_name(found[1091].what["gauge"],
                                            found[1091].what.get("twins", [])), "radio_adf1")

    def test_night_copies_never_use_the_transparent_black(self):
        night = copy.deepcopy(METER)
        night["elements"][1]["flags"] = 0x4003
        for b in make_art.collect({"gauges": [night]}).values():
            self.assertNotIn((0, 0, 0), [make_art.PALETTE[3 * i:3 * i + 3]
                                         for _, i in make_art.render(b).getcolors()
                                         if i != 0])


class WiderThanTheirSize(unittest.TestCase):
    def test_records_beyond_the_nominal_size_widen_the_background(self):
        knob = gauge("kestovil hsi_like_k7", 100, element(1, "icon", 701, 120, 10, images=1),
                     mouse=[(150, 20, 30, 30)])
        face = make_art.collect({"gauges": [knob]})[knob["elements"][0]["id"]]
        self.assertEqual(face.size[0], 180, "wide enough for the area that starts beyond 100")
        flush = gauge("kestovil flush_k7", 100, mouse=[(90, 0, 20, 10)])
        face = make_art.collect({"gauges": [flush]})[flush["elements"][0]["id"]]
        self.assertEqual(face.size[0], 100, "an area that only reaches past the edge is clipped")


class BadRecords(unittest.TestCase):
    CASES = [
        ("an id named as a needle and as a drum",
         [METER, gauge("kestovil other_k7", 60,
                       element(1, "moving", 501, 20, 10, range_x=[0, 0], range_y=[0, 10]))],
         ["kestovil other_k7, element 1 (bitmap 501)", "kestovil meter_k7, element 1"]),
        ("one background id for two widths",
         [gauge("kestovil a_k7", 50), dict(gauge("kestovil b_k7", 60),
                                           elements=[element(0, "static", 1050, 0, 0)])],
         ["kestovil b_k7, element 0 (bitmap 1050)", "50x", "60x"]),
        ("an element above its background",
         [gauge("kestovil lamp_k7", 40, element(1, "icon", 701, 10, -3, images=1))],
         ["kestovil lamp_k7, element 1 (bitmap 701)", "(10, -3)"]),
        ("a click area left of its background",
         [gauge("kestovil sw_k7", 40, mouse=[(-5, 0, 10, 10)])],
         ["kestovil sw_k7", "(-5, 0, 10, 10)"]),
        ("a needle whose bitmap starts beyond its dial",
         [gauge("kestovil meter_k7", 100,
                element(1, "needle", 501, 50, 60, ofs=[-45, 4], table_size=2, table_null=False,
                        table=[[10, 60, 0], [90, 60, 10]]))],
         ["kestovil meter_k7, element 1 (bitmap 501)", "pivot (-45, 4)"]),
        ("a needle whose calibration table is missing",
         [gauge("kestovil meter_k7", 100,
                element(1, "needle", 501, 50, 60, ofs=[4, 4], table_size=5, table_null=True,
                        table=[]))],
         ["kestovil meter_k7, element 1 (bitmap 501)", "no table"]),
        ("a needle with a one-point table",
         [gauge("kestovil meter_k7", 100,
                element(1, "needle", 501, 50, 60, ofs=[4, 4], table_size=1, table_null=False,
                        table=[[10, 60, 0]]))],
         ["element 1 (bitmap 501)", "two points"]),
    ]

    def test_bad_records_are_refused_with_their_place(self):
        for what, gauges, words in self.CASES:
            with self.subTest(what):
                with self.assertRaises(make_art.BadRecords) as caught:
                    make_art.collect({"gauges": gauges})
                for word in words:
                    self.assertIn(word, str(caught.exception))


if __name__ == "__main__":
    unittest.main()
