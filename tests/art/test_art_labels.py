#!/usr/bin/env python3
"""The labels on the pop-up panels' pictures.

    test_art_labels.py [RECORDS.json]

On small records: a labelled background differs from the plain one inside a labelled area, and
a highlight over that area carries the same text. With the module's own records (the build's
records.json): the label table names only click areas that exist, and no caption or heading lies
over a button or outside its background, so a click area's label cannot drift onto another one.
"""

import json
import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "resources"))
import art_labels  # noqa: E402
import make_art  # noqa: E402

RECORDS = None
if len(sys.argv) > 1 and not sys.argv[1].startswith("-"):
    with open(sys.argv.pop(1)) as f:
        RECORDS = json.load(f)


def load_panel(mouse):
    return {"index": 0, "name": "kestovil panload", "size_mm": 539, "mouse": mouse,
            "elements": [
                {"n": 0, "kind": "static", "id": 7000, "x": 0, "y": 0, "ofs": [0, 0], "flags": 1},
                {"n": 1, "kind": "icon", "id": 7001, "x": 0, "y": 45, "ofs": [0, 0],
                 "flags": make_art.HIDDEN | 1, "images": 1}]}


def drawn(records, labelled):
    bitmaps = make_art.collect(records)
    if labelled:
        art_labels.attach(records, bitmaps)
    return {ident: make_art.render(b) for ident, b in bitmaps.items()}


def overlap(a, b):
    return a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]


class SmallRecords(unittest.TestCase):
    def test_the_label_is_drawn_in_its_area_and_on_the_highlight_over_it(self):
        records = {"gauges": [load_panel([[0, 45, 270, 199], [270, 45, 269, 199],
                                          [0, 0, 539, 244]])]}
        plain, labelled = drawn(records, False), drawn(records, True)
        left = (0, 45, 270, 244)
        self.assertNotEqual(plain[7000].crop(left).tobytes(), labelled[7000].crop(left).tobytes())
        self.assertEqual(plain[7000].crop((0, 0, 539, 20)).tobytes(),
                         labelled[7000].crop((0, 0, 539, 20)).tobytes(), "nothing above")
        self.assertNotEqual(plain[7001].tobytes(), labelled[7001].tobytes())
        self.assertEqual(labelled[7000].mode, "P")

    def test_a_missing_click_area_stops_the_build_with_the_gauge_named(self):
        records = {"gauges": [load_panel([[0, 45, 270, 199]])]}
        with self.assertRaisesRegex(art_labels.BadLabels, "kestovil panload.*area 1"):
            drawn(records, True)


def bus_mimic(second_id):
    """The generator-bus mimic: eight bar segments (shown only when powered) in a row."""
    icon = {"kind": "icon", "ofs": [0, 0], "flags": make_art.HIDDEN | 3, "images": 1, "y": 20}
    segments = [dict(icon, n=n, id=35024 + n, x=30 * n) for n in range(1, 9)]
    segments[1]["id"] = second_id
    return {"index": 0, "name": "kestovil elec_bus_gen_k7", "size_mm": 312, "mouse": [],
            "elements": [{"n": 0, "kind": "static", "id": 35024, "x": 0, "y": 0, "ofs": [0, 0],
                          "flags": 1}] + segments}


class ElementTable(unittest.TestCase):
    def test_segments_of_one_mimic_carry_their_own_legends(self):
        images = drawn({"gauges": [bus_mimic(35026)]}, True)
        self.assertNotEqual(images[35025].tobytes(), images[35026].tobytes())

    def test_one_bitmap_named_two_ways_stops_the_build(self):
        with self.assertRaisesRegex(art_labels.BadLabels, "bitmap 35025"):
            drawn({"gauges": [bus_mimic(35025)]}, True)


@unittest.skipUnless(RECORDS, "no records given")
class ModuleRecords(unittest.TestCase):
    def test_every_labelled_gauge_exists_and_its_captions_cover_no_button(self):
        gauges = {g["name"]: g for g in RECORDS["gauges"]}
        for name in art_labels.LABELS:
            with self.subTest(gauge=name):
                self.assertIn(name, gauges)
                gauge = gauges[name]
                marks = art_labels.placements(gauge)
                width = make_art.background_width(gauge)
                buttons = [box for kind, box, _ in marks if kind == "button"]
                for kind, box, text in marks:
                    self.assertTrue(0 <= box[0] < box[2] <= width and 0 <= box[1] < box[3],
                                    "%s %r" % (text, box))
                    if kind in ("caption", "heading"):
                        self.assertFalse([b for b in buttons if overlap(box, b)], text)

    def test_every_element_entry_names_an_image_and_its_marks_lie_on_the_face(self):
        gauges = {g["name"]: g for g in RECORDS["gauges"]}
        bitmaps = make_art.collect(RECORDS)
        for name in list(art_labels.ELEMENTS) + list(art_labels.FACE_DETENTS):
            with self.subTest(gauge=name):
                self.assertIn(name, gauges)
                gauge = gauges[name]
                _, marks, _ = art_labels.element_marks(gauge, bitmaps)
                face = bitmaps[gauge["elements"][0]["id"]]
                for _, box, text in marks:
                    self.assertTrue(0 <= box[0] < box[2] <= face.size[0] and
                                    0 <= box[1] < box[3] <= face.size[1], "%s %r" % (text, box))
        art_labels.attach(RECORDS, bitmaps)  # no bitmap drawn two ways


if __name__ == "__main__":
    unittest.main()
