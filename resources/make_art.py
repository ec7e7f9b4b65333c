#!/usr/bin/env python3
"""Draws the stand-in artwork of every gauge from the module's own element records.

    make_art.py --records-tool k7art-records --module libk7gauges-bare.so --out DIR

The records tool loads the module through the simulator stand-in and prints every gauge's
element chain and click areas (JSON). Every bitmap id found there is drawn, with the companions
the simulator loads for it (an icon's further images id + 1 ..., the mask id + 1 of a moving
image or a sprite), into DIR:

    bmp/ID.bmp             8-bit palettised bitmaps, pure black (0,0,0) the transparent colour
    png/ID.png             the same, for viewers
    k7gauges_bitmaps.rc    BITMAP resources for the Windows module
    k7_bitmaps.cpp         the table the native module embeds (the same bitmaps, found by id)
    records.json           what was drawn from

Bad records stop the build: a message names the gauge, the element's place in the chain and the
bitmap id. Output is the same for the same records.
"""

import argparse
import json
import math
import os
import subprocess
import sys

from PIL import Image, ImageDraw, ImageFont

import art_labels

FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"

HIDDEN = 0x40000000
TRANSPARENT = 0x1
LUMINOUS = 0x4000 | 0x8000
SPRITE_SIZE = 256
DEFAULT_SIDE = 24  # an image whose size nothing in the records tells
DRUM_WINDOW = (14, 18)

# One palette for every bitmap: index 0 is pure black, the transparent colour, and no other
# entry is pure black.
COLOURS = {
    "clear": (0, 0, 0),
    "face": (58, 62, 66), "bezel": (120, 124, 128), "ink": (236, 236, 228),
    "name": (170, 174, 170), "lamp_off": (70, 64, 52), "lamp_on": (255, 190, 40),
    "legend_off": (150, 140, 120), "legend_on": (40, 24, 4), "switch": (200, 200, 204),
    "switch_dark": (90, 92, 96), "needle": (250, 250, 250), "hub": (30, 30, 30),
    "drum": (24, 24, 24), "mask": (255, 255, 255), "card": (36, 40, 44),
    "n_face": (10, 14, 22), "n_bezel": (40, 46, 60), "n_ink": (120, 255, 140),
    "n_name": (70, 150, 90), "n_lamp_off": (28, 24, 20), "n_lamp_on": (255, 150, 20),
    "n_legend_off": (90, 80, 60), "n_switch": (110, 200, 130), "n_needle": (150, 255, 170),
    "n_hub": (20, 40, 26), "n_drum": (8, 10, 8), "n_card": (12, 18, 26),
    "sky": (60, 130, 200), "ground": (130, 90, 50), "n_sky": (16, 36, 60),
    "n_ground": (40, 28, 16),
}
NAMES = list(COLOURS)
PALETTE = [c for name in NAMES for c in COLOURS[name]]
PALETTE += [1, 1, 1] * (256 - len(NAMES))


class BadRecords(Exception):
    pass


def short_name(gauge):
    name = gauge["name"]
    if name.startswith("kestovil "):
        name = name[len("kestovil "):]
    return name[:-3] if name.endswith("_k7") else name


def legend(gauge):
    """A lamp's or button's word: the gauge's short name without its group prefix."""
    words = short_name(gauge).split("_")
    return " ".join(words[1:] if len(words) > 1 else words).upper()


def where(gauge, element):
    return '%s, element %d (bitmap %d)' % (gauge["name"], element["n"], element["id"])


def fmt_value(v):
    return ("%g" % v) if abs(v) < 1e6 else ("%.3g" % v)


# ---- reading the records: sizes and what each bitmap shows ----------------------------------

class Bitmap:
    """One bitmap id: its size, what it is and who names it."""

    def __init__(self, ident, family, size, owner, **what):
        self.id = ident
        self.family = family  # face, image, needle, strip, mask, texture
        self.size = size
        self.owner = owner
        self.what = what


def area_at(gauge, x, y, room=6):
    """The smallest click area that holds the point with some room below and right of it."""
    best = None
    for ax, ay, aw, ah in gauge["mouse"]:
        if ax <= x <= ax + aw - room and ay <= y <= ay + ah - room:
            if best is None or aw * ah < best[2] * best[3]:
                best = (ax, ay, aw, ah)
    return best


def image_size(gauge, element):
    x, y, width = element["x"], element["y"], background_width(gauge)
    area = area_at(gauge, x, y)
    if area is not None:
        return (max(1, min(area[0] + area[2], width) - x), max(1, area[1] + area[3] - y))
    side = max(1, min(DEFAULT_SIDE, width - x))
    return (side, side)


def is_face(element):
    # A luminous image at the background's corner stands for the night copy of the whole face,
    # and an icon of two images there for a face in its day and night copies.
    return (element["kind"] in ("static", "icon") and element["x"] == 0 and element["y"] == 0
            and (element["flags"] & LUMINOUS or element.get("images", 1) == 2))


def needle_reach(element):
    px, py = element["x"], element["y"]
    radii = [math.hypot(tx - px, ty - py) for tx, ty, _ in element["table"]]
    return radii


def check_needle(gauge, element):
    if element["table_null"] and element["table_size"] > 0:
        raise BadRecords("%s: needle with a calibration table of %d points but no table" %
                         (where(gauge, element), element["table_size"]))
    if not element["table_null"] and len(element["table"]) < 2:
        raise BadRecords("%s: needle calibration table needs at least two points, has %d" %
                         (where(gauge, element), len(element["table"])))
    if element["table"] and min(needle_reach(element)) < 4:
        raise BadRecords("%s: a calibration point lies on the needle's pivot (%d, %d)" %
                         (where(gauge, element), element["x"], element["y"]))
    ox, oy = element["ofs"]
    if (ox < 0 or oy < 0) and not is_marker(element) and not is_rim_pointer(element):
        raise BadRecords("%s: needle pivot (%d, %d) lies outside the needle bitmap" %
                         (where(gauge, element), ox, oy))


def is_rim_pointer(element):
    """A pointer on a calibrated dial drawn only out near the rim: its pivot lies before its
    bitmap along the pointer (a speed marker, a decision height index, a needle tip), but the
    bitmap still starts inside the dial."""
    ox, oy = element["ofs"]
    return (bool(element["table"]) and ox < 0 and oy >= 0 and
            -ox < min(needle_reach(element)) - 4)


def is_marker(element):
    """A flag or arrow turned by degrees about a point beside it (its pivot outside its bitmap)."""
    ox, oy = element["ofs"]
    return not element["table"] and (ox < 0 or oy < 0)


def texture_style(gauge, element, sprites_before):
    """What a sprite's texture shows, from its gauge: an attitude sphere (the magnified texture)
    and its roll ring, the HSI's deviation bar (its second sprite), a thrust reference index, the
    compass card of a heading instrument, or else a turning ring."""
    name = short_name(gauge)
    if "adi" in name or "horiz" in name:
        return "sphere" if (element.get("texture_scale") or 1.0) < 1.0 else "ring"
    if name.startswith("hsi") and sprites_before > 0:
        return "bar"
    if name.startswith("thrust"):
        return "index"
    if name.startswith(("hsi", "vor", "adf")):
        return "card"
    return "bezel"  # a turning scale or bezel: a ring at the rim, the dial beneath shows


def drum_positions(low, high):
    span = high - low
    if low == 0 and span == int(span) and 2 <= span <= 12:
        return int(span)
    return 0


# Needles without a calibration table that are no knobs, by bitmap id: the HSI's course pointer,
# TO arrow and heading marker (drawn pointing up), the RMIs' heading marker (up) and their two
# bearing pointers (drawn pointing right: they turn by the bearing less ninety).
NEEDLE_SHAPES = {5888: "pointer", 5936: "arrow", 6016: "bug", 8816: "bug", 8992: "double pointer",
                 9008: "pointer"}

DRUM_LABELS = {10: [str(d) for d in range(10)], 4: ["00", "25", "50", "75"], 2: ["0", "5"]}

# Strips that carry their digits downward (their callbacks give 10 less the digit), by gauge and
# chain place: the altimeter's counter rolls upward as the aircraft climbs.
DOWNWARD_DRUMS = {"kestovil alti_main_k7": {1, 2, 3, 4}}


def drum_labels(gauge, element, positions):
    """The labels of a drum's rows. A two-position drum left of every other drum on its line is a
    leading digit (0 or 1, an ADF's thousands); after another drum it is a half step (0 or 5)."""
    labels = DRUM_LABELS.get(positions, [str(d) for d in range(positions)])
    if positions == 2 and not any(
            e is not element and e["kind"] == "moving" and abs(e["y"] - element["y"]) <= 2 and
            e["x"] < element["x"] for e in gauge["elements"]):
        labels = ["0", "1"]
    if element["n"] in DOWNWARD_DRUMS.get(gauge["name"], ()):
        labels = [labels[-row % positions] for row in range(positions)]
    return labels


def background_width(gauge):
    """The gauge's size in mm, widened where its own records place elements or click areas beyond
    it (some instruments' artwork is wider than their nominal size)."""
    width = gauge["size_mm"]
    for ax, ay, aw, ah in gauge["mouse"]:
        if ax >= gauge["size_mm"]:  # an area that only starts inside is clipped, not widened for
            width = max(width, ax + aw)
    for e in gauge["elements"]:
        if e["kind"] == "string":
            width = max(width, e["x"] + e["size"][0])
        elif e["x"] >= gauge["size_mm"]:
            width = max(width, e["x"] + (DEFAULT_SIDE if e["kind"] != "needle" else 8))
        elif e["kind"] == "moving" and e["x"] + DRUM_WINDOW[0] > width:  # a drum at the edge
            width = e["x"] + DRUM_WINDOW[0]
        elif e["kind"] == "sprite" and e["ofs"][0] > e["x"] and e["ofs"][1] > e["y"]:
            width = max(width, 2 * e["ofs"][0] - e["x"])  # the round window about ofs, whole
    return width


def gauge_layout(gauge):
    """The bitmaps one gauge names, with their sizes, and its background height."""
    width = background_width(gauge)
    elements = gauge["elements"]
    bitmaps = []
    bottom = 0
    for ax, ay, aw, ah in gauge["mouse"]:
        if ax < 0 or ay < 0 or aw < 0 or ah < 0 or ax >= width:
            raise BadRecords("%s: click area (%d, %d, %d, %d) lies outside its background, %d "
                             "pixels wide" % (gauge["name"], ax, ay, aw, ah, width))
        if ax + aw > width:  # the simulator clips it to the gauge
            print("make_art: note: %s: click area (%d, %d, %d, %d) reaches past its background's "
                  "right edge (%d pixels wide)" % (gauge["name"], ax, ay, aw, ah, width))
        bottom = max(bottom, ay + ah)
    # Switch positions: images at one place, in chain order, day copies apart from night copies.
    places = {}
    for e in elements[1:]:
        if e["kind"] in ("static", "icon"):
            places.setdefault((e["x"], e["y"], bool(e["flags"] & LUMINOUS)), []).append(e["n"])

    faces = [elements[0]]
    sprites_before = 0
    ticks = {}  # per face element: the dial points of the needles drawn over it
    for e in elements:
        n, kind, x, y = e["n"], e["kind"], e["x"], e["y"]
        owner = (gauge["name"], n)
        if kind != "string" and (x < 0 or y < 0 or x >= width):
            raise BadRecords("%s: position (%d, %d) lies outside its background, %d pixels "
                             "wide" % (where(gauge, e), x, y, width))
        night = bool(e["flags"] & LUMINOUS)
        if n == 0:
            continue  # the background: sized last
        if kind in ("static", "icon", "slider"):
            count = e.get("images", 1) if kind == "icon" else 1
            if count < 1:
                raise BadRecords("%s: icon with %d images" % (where(gauge, e), count))
            if is_face(e) and area_at(gauge, 0, 0, room=1) is None:
                faces.append(e)
                for i in range(count):
                    bitmaps.append(Bitmap(e["id"] + i, "face", None, owner, gauge=gauge,
                                          night=night or (count == 2 and i == 1)))
                continue
            size = image_size(gauge, e)
            group = places.get((x, y, night), [n])
            lit = bool(e["flags"] & HIDDEN) and len(group) == 1
            for i in range(count):
                bitmaps.append(Bitmap(e["id"] + i, "image", size, owner, label=legend(gauge),
                                      night=night, lit=lit or i > 0, position=group.index(n)
                                      if n in group else 0, positions=len(group)))
            bottom = max(bottom, y + size[1])
        elif kind == "needle":
            check_needle(gauge, e)
            ox, oy = e["ofs"]
            if is_marker(e):
                bitmaps.append(Bitmap(e["id"], "image", (DEFAULT_SIDE, DEFAULT_SIDE), owner,
                                      label=legend(gauge), night=night, lit=False, position=0,
                                      positions=1))
                bottom = max([bottom, y + 1] + [ty + 8 for tx, ty, _ in e["table"]])
                continue
            if e["table"]:
                reach = max(4, int(min(needle_reach(e))) - 1)
                for tx, ty, value in e["table"]:
                    bottom = max(bottom, ty + 8)
                for face in faces:
                    ticks.setdefault(face["n"], []).extend([
                        (tx - face["x"], ty - face["y"], x - face["x"], y - face["y"],
                         v, n) for tx, ty, v in e["table"]])
                size = (max(4, ox + reach + 1), 2 * oy + 1)
            else:  # turned by degrees from the image as drawn: a knob unless named otherwise
                size = (2 * ox + 1, 2 * oy + 1)
                reach = max(ox, oy) if e["id"] in NEEDLE_SHAPES else ox
            shape = None if e["table"] else NEEDLE_SHAPES.get(e["id"], "knob")
            bitmaps.append(Bitmap(e["id"], "needle", size, owner, pivot=(ox, oy), reach=reach,
                                  shape=shape, night=night))
            bottom = max(bottom, y + (reach if not e["table"] else oy) + 1)
        elif kind == "moving":
            low_x, high_x = e["range_x"]
            low_y, high_y = e["range_y"]
            travel_x = abs(high_x - low_x) if high_x != low_x else 0
            travel_y = abs(high_y - low_y) if high_y != low_y else 0
            drum = drum_positions(low_y, high_y) if not travel_x else drum_positions(low_x, high_x)
            if drum and not (travel_x and travel_y):
                cell = DRUM_WINDOW
                rows = drum + 1
                vertical = bool(travel_y)
                image = (cell[0], cell[1] * rows) if vertical else (cell[0] * rows, cell[1])
                labels = drum_labels(gauge, e, drum)
                bitmaps.append(Bitmap(e["id"], "strip", image, owner, cell=cell,
                                      vertical=vertical, labels=labels, night=night))
                bitmaps.append(Bitmap(e["id"] + 1, "mask", cell, owner))
                bottom = max(bottom, y + cell[1])
            else:
                piece = image_size(gauge, e)
                tx = int(round(travel_x)) if travel_x >= 8 else (40 if travel_x else 0)
                ty = int(round(travel_y)) if travel_y >= 8 else (40 if travel_y else 0)
                window = (min(piece[0] + tx, width - x), piece[1] + ty)
                image = (window[0] + tx, window[1] + ty)
                # A strip sliding across a whole turn (0..360 along x) is a heading card.
                card = (low_x, high_x) == (0, 360) and not travel_y
                bitmaps.append(Bitmap(e["id"], "slide", image, owner, piece=piece,
                                      at=(tx, ty), night=night, card=card, window=window))
                bitmaps.append(Bitmap(e["id"] + 1, "mask", window, owner))
                bottom = max(bottom, y + window[1])
        elif kind == "sprite":
            # The texture's middle sits on the background point ofs, the point it turns about;
            # the window (the mask at the element's place) is centred there when it can be.
            scale = e.get("texture_scale") or 1.0
            ox, oy = e["ofs"]
            if ox > x and oy > y:  # a round window about the turning point
                window = (min(2 * (ox - x), width - x), 2 * (oy - y))
                circle = (ox - x, oy - y, min(ox - x, oy - y))
            else:
                side = max(8, min(int(round(SPRITE_SIZE * scale)), width - x))
                window = (side, side)
                circle = (side / 2, side / 2, side / 2)
            radius = min(SPRITE_SIZE // 2 - 2, int(circle[2] * scale))
            bitmaps.append(Bitmap(e["id"], "texture", (SPRITE_SIZE, SPRITE_SIZE), owner,
                                  radius=max(8, radius), style=texture_style(gauge, e,
                                                                               sprites_before),
                                  # lit always (luminous, shown from the start) keeps its day
                                  # colours; a luminous copy hidden by day is the night one
                                  night=night and bool(e["flags"] & HIDDEN)))
            sprites_before += 1
            bitmaps.append(Bitmap(e["id"] + 1, "mask", window, owner, circle=circle))
            bottom = max(bottom, y + window[1])
        elif kind == "string":
            w, h = e["size"]
            if x < 0 or y < 0 or x + w > width:
                raise BadRecords("%s: string box (%d, %d, %d, %d) lies outside its background, %d"
                                 " pixels wide" % (where(gauge, e), x, y, w, h, width))
            bottom = max(bottom, y + h)
        else:
            raise BadRecords("%s: element of unknown kind" % where(gauge, e))

    if len(elements) == 1:  # a gauge still to be built: a plain face of a likely shape
        height = max(16, min(width, 200))
    else:
        height = max(16, bottom + 14)  # room for the gauge's name under its elements
    for face in faces:
        if face["n"] == 0:
            bitmaps.append(Bitmap(face["id"], "face", (width, height), (gauge["name"], 0),
                                  gauge=gauge, night=bool(face["flags"] & LUMINOUS),
                                  ticks=ticks.get(0, [])))
    for b in bitmaps:
        if b.family == "face" and b.size is None:
            b.size = (width, height)
            b.what["ticks"] = ticks.get(b.owner[1], [])
    return bitmaps


def collect(records):
    """Every bitmap id to draw, checked for conflicts."""
    found = {}
    for gauge in records["gauges"]:
        if not gauge["elements"]:
            raise BadRecords("%s: no background element" % gauge["name"])
        for b in gauge_layout(gauge):
            known = found.get(b.id)
            if known is None:
                found[b.id] = b
                continue
            if known.family == b.family == "image":  # it must fit wherever it is used
                known.size = (min(known.size[0], b.size[0]), min(known.size[1], b.size[1]))
                continue
            if {known.family, b.family} == {"face", "image"}:
                # A small gauge that is one lamp, or a dial laid over another gauge of the same
                # size: the face serves both.
                found[b.id] = known if known.family == "face" else b
                continue
            # The same artwork used twice: it must be the same kind of bitmap, and a face or a
            # strip the same size.
            same_family = known.family == b.family or {known.family, b.family} <= {"image"}
            fixed = b.family in ("face", "strip", "texture", "mask", "slide")
            if not same_family or (fixed and known.size != b.size):
                raise BadRecords(
                    "%s, element %d (bitmap %d): a %s of %dx%d here, but %s, element %d names "
                    "it as a %s of %dx%d" % (b.owner[0], b.owner[1], b.id, b.family, b.size[0],
                                             b.size[1], known.owner[0], known.owner[1],
                                             known.family, known.size[0], known.size[1]))
            if known.family == b.family == "face":  # twins (left and right, 1 and 2)
                known.what.setdefault("twins", []).append(b.what["gauge"])
    for b in found.values():
        if not 0 < b.id <= 0xFFFF:
            raise BadRecords("%s, element %d: bitmap id %d is not a resource id (1..65535)" %
                             (b.owner[0], b.owner[1], b.id))
    return found


# ---- drawing ---------------------------------------------------------------------------------

_fonts = {}


def font(size):
    size = max(6, int(size))
    if size not in _fonts:
        _fonts[size] = ImageFont.truetype(FONT, size)
    return _fonts[size]


def c(name):
    return NAMES.index(name)


def tone(name, night):
    return c("n_" + name) if night and ("n_" + name) in COLOURS else c(name)


def centred_text(draw, box, text, colour, size):
    x0, y0, x1, y1 = box
    f = font(size)
    while size > 6 and draw.textlength(text, font=f) > (x1 - x0):
        size -= 1
        f = font(size)
    left, top, right, bottom = draw.textbbox((0, 0), text, font=f)
    draw.text(((x0 + x1 - (right - left)) / 2 - left, (y0 + y1 - (bottom - top)) / 2 - top), text,
              fill=colour, font=f)


def draw_face(img, draw, b):
    w, h = b.size
    night = b.what.get("night", False)
    draw.rectangle([0, 0, w - 1, h - 1], fill=tone("face", night))
    draw.rectangle([0, 0, w - 1, h - 1], outline=tone("bezel", night), width=2 if w > 40 else 1)
    gauge = b.what["gauge"]
    name = face_name(gauge, b.what.get("twins", []))
    size = max(6, min(10, w // max(1, len(name)) + 2))
    centred_text(draw, (2, h - size - 4, w - 2, h - 2), name, tone("name", night), size)
    taken = []  # label boxes drawn: a label that would print over one of them is left out
    for tx, ty, px, py, label in dial_labels(b.what.get("ticks", [])):
        length = math.hypot(tx - px, ty - py)
        ux, uy = (px - tx) / length, (py - ty) / length
        draw.line([(tx, ty), (tx + ux * 6, ty + uy * 6)], fill=tone("ink", night), width=2)
        lx, ly = tx + ux * 14, ty + uy * 14
        half = min(14, draw.textlength(label, font=font(9)) / 2)
        box = (lx - half - 1, ly - 6, lx + half + 1, ly + 6)
        if any(box[0] < o[2] and o[0] < box[2] and box[1] < o[3] and o[1] < box[3]
               for o in taken):
            continue
        taken.append(box)
        centred_text(draw, (lx - 14, ly - 5, lx + 14, ly + 5), label, tone("ink", night), 9)


LABEL_ROOM = 7  # dial points closer than this share one label


def dial_labels(ticks):
    """One tick and label per dial point. A needle whose table comes back to a point (a dial of
    more than one turn: -100, 0 and 100 at the top of the altimeter) labels it once, with the
    value of its first turn from zero (0; 10 for -90 and 10); a point that an earlier needle of
    the same dial already labels keeps that label, so two scales laid on the same marks do not
    print over each other."""
    points = []  # [x, y, px, py, needle, [values]]
    for tx, ty, px, py, value, needle in ticks:
        near = [p for p in points if math.hypot(p[0] - tx, p[1] - ty) < LABEL_ROOM]
        if not near:
            points.append([tx, ty, px, py, needle, [value]])
        elif near[0][4] == needle:
            near[0][5].append(value)
    out = []
    for tx, ty, px, py, _, values in points:
        turn = [v for v in values if v >= 0]
        out.append((tx, ty, px, py, fmt_value(min(turn) if turn else values[0])))
    return out


def face_name(gauge, twins):
    """The name on a face: a face that twin gauges share shows what their names have in common
    (radio_navcom for radio_navcom1 and radio_navcom2)."""
    names = [short_name(g) for g in [gauge] + twins]
    common = os.path.commonprefix(names).rstrip("_")
    return common if twins and len(common) >= 3 else names[0]


def draw_image(img, draw, b):
    w, h = b.size
    night = b.what["night"]
    positions = b.what["positions"]
    if positions > 1:  # a switch or lever, drawn in the position this image stands for
        draw.rectangle([0, 0, w - 1, h - 1], fill=tone("switch_dark", night) if not night else
                       c("n_face"))
        i = b.what["position"]
        frac = 0.5 if positions == 1 else i / (positions - 1)
        cx, cy = w / 2, h / 2
        tip = (cx + (frac - 0.5) * w * 0.6 * (1 if w > h else 0),
               2 + frac * (h - 5) if h >= w else cy)
        r = max(2, min(w, h) // 5)
        draw.line([(cx, cy), tip], fill=tone("switch", night), width=max(2, min(w, h) // 6))
        draw.ellipse([tip[0] - r, tip[1] - r, tip[0] + r, tip[1] + r], fill=tone("switch", night))
        centred_text(draw, (0, 0, w, max(7, h // 4)), b.what.get("legend", str(i)),
                     tone("ink", night), max(6, h // 5))
        return
    if b.what.get("toggle"):
        draw_toggle(draw, b.size, b.what["toggle"], night)
        return
    if b.what.get("lever"):
        draw_lever(draw, b.size, b.what["lever"], night)
        return
    lit = b.what["lit"]
    body = "lamp_on" if lit else "lamp_off"
    legend = "legend_on" if lit else "legend_off"
    inset = 1 if min(w, h) > 6 else 0
    draw.rectangle([inset, inset, w - 1 - inset, h - 1 - inset], fill=tone(body, night))
    if night and lit:
        legend_colour = c("legend_on")
    else:
        legend_colour = tone(legend, night)
    centred_text(draw, (1, 1, w - 1, h - 1), b.what["label"], legend_colour,
                 max(6, min(h - 2, 11)))


def draw_toggle(draw, size, way, night):
    """A toggle switch seen from the front on a clear ground: its nut, and the bat pointing up,
    down or straight out (a dot on the nut)."""
    w, h = size
    cx, cy = w / 2, h / 2
    nut = max(2, min(w, h) // 4)
    draw.ellipse([cx - nut - 1, cy - nut - 1, cx + nut + 1, cy + nut + 1],
                 fill=tone("switch_dark", night) if not night else c("n_bezel"))
    bat = tone("switch", night)
    if way == "middle":
        draw.ellipse([cx - nut + 1, cy - nut + 1, cx + nut - 1, cy + nut - 1], fill=bat)
        return
    tip = 1 + nut / 2 if way == "up" else h - 2 - nut / 2
    draw.line([(cx, cy), (cx, tip)], fill=bat, width=max(2, nut))
    draw.ellipse([cx - nut / 2 - 1, tip - nut / 2 - 1, cx + nut / 2 + 1, tip + nut / 2 + 1],
                 fill=bat)


def draw_lever(draw, size, name, night):
    """A pedestal lever's handle on a clear ground: the grip across the top with the position's
    name, and the stem down into the slot."""
    w, h = size
    x0, y0, x1, y1 = art_labels.grip_box(w, h)
    stem = max(2, w // 10)
    draw.rectangle([w / 2 - stem / 2, y1, w / 2 + stem / 2, h - 1],
                   fill=tone("switch_dark", night) if not night else c("n_bezel"))
    draw.rectangle([x0, y0, x1 - 1, y1 - 1], fill=tone("switch", night),
                   outline=tone("bezel", night))
    centred_text(draw, (x0 + 1, y0, x1 - 1, y1), name, c("hub"), max(6, min(10, y1 - y0 - 2)))


def draw_lever_image(name, size, night):
    piece = Image.new("P", size, 0)
    piece.putpalette(PALETTE)
    draw_lever(ImageDraw.Draw(piece), size, name, night)
    return piece


def draw_needle(img, draw, b):
    w, h = b.size
    ox, oy = b.what["pivot"]
    night = b.what["night"]
    colour = tone("needle", night)
    shape = b.what["shape"]
    if shape == "knob":  # its index mark up
        r = min(ox, oy)
        draw.ellipse([ox - r, oy - r, ox + r, oy + r], fill=tone("switch", night))
        draw.line([(ox, oy), (ox, oy - r)], fill=tone("hub", night), width=max(2, r // 4))
        return
    if shape:
        draw_dial_pointer(draw, b.size, (ox, oy), shape, colour)
        return
    half = max(2, oy - 1)
    draw.polygon([(ox, oy - half), (w - 1, oy - 1), (w - 1, oy + 1), (ox, oy + half)],
                 fill=colour)
    draw.ellipse([ox - oy, 0, ox + oy, h - 1], fill=colour)
    draw.point((ox, oy), fill=tone("hub", night))


def draw_dial_pointer(draw, size, pivot, shape, colour):
    """A pointer turned by degrees, drawn along the longer half of its bitmap from the pivot: up
    when the bitmap is taller than wide, else to the right (as the pointer shows at 0)."""
    w, h = size
    ox, oy = pivot
    up = oy > ox
    # Points along the pointer (0 at the far end, 1 at the pivot) and across it.
    def at(along, across):
        return (ox + across, oy * along) if up else (ox + (w - 1 - ox) * (1 - along), oy + across)
    if shape in ("pointer", "double pointer"):
        bars = (-3, 3) if shape == "double pointer" else (0,)
        for across in bars:
            far, tail = (at(0, across), (ox + across, h - 1)) if up else \
                (at(0, across), (0, oy + across))
            draw.line([far, tail], fill=colour, width=2)
        head = 8
        draw.polygon([at(0, 0), at(head / max(oy if up else w - 1 - ox, 1), -head),
                      at(head / max(oy if up else w - 1 - ox, 1), head)], fill=colour)
    elif shape == "arrow":  # a triangle out toward the far end
        draw.polygon([at(0, 0), at(0.4, -min(ox, 10)), at(0.4, min(ox, 10))], fill=colour)
    elif shape == "bug":  # a notched index at the far end
        depth = 12 / max(oy if up else w - 1 - ox, 1)
        half = min(ox if up else oy, 12)
        draw.polygon([at(0, -half), at(0, -3), at(depth, 0), at(0, 3), at(0, half),
                      at(depth, half), at(depth, -half)], fill=colour)


def draw_strip(img, draw, b):
    cw, ch = b.what["cell"]
    night = b.what["night"]
    labels = b.what["labels"]
    draw.rectangle([0, 0, b.size[0] - 1, b.size[1] - 1], fill=tone("drum", night))
    for row in range(len(labels) + 1):  # the last row repeats the first: the drum wraps
        label = labels[row % len(labels)]
        if b.what["vertical"]:
            box = (0, row * ch, cw, (row + 1) * ch)
        else:
            box = (row * cw, 0, (row + 1) * cw, ch)
        centred_text(draw, box, label, tone("ink", night), ch - 4)


def draw_slide(img, draw, b):
    if b.what.get("card"):
        draw_heading_strip(draw, b)
        return
    tx, ty = b.what["at"]
    pw, ph = b.what["piece"]
    night = b.what["night"]
    if "throttle" in b.what:  # a throttle's handle, or one of its other pieces: the rod
        handle = b.what["throttle"]
        if isinstance(handle, str):
            img.paste(draw_lever_image(handle, (pw, ph), night), (tx, ty))
        else:
            draw.rectangle([tx + handle - 1, ty, tx + handle + 1, ty + ph - 1],
                           fill=tone("switch_dark", night) if not night else c("n_bezel"))
        return
    draw.rectangle([tx, ty, tx + pw - 1, ty + ph - 1], fill=tone("switch", night),
                   outline=tone("bezel", night))


def draw_heading_strip(draw, b):
    """A compass card seen edge-on: one pixel per degree; at value v the window's middle shows
    the heading 360 - v (the value is where north lies)."""
    w, h = b.size
    night = b.what["night"]
    middle = b.what["window"][0] / 2
    draw.rectangle([0, 0, w - 1, h - 1], fill=tone("card", night))
    for x in range(w):
        heading = (360 + middle - x) % 360
        if abs(heading - round(heading)) > 1e-9 or round(heading) % 10:
            continue
        heading = int(round(heading)) % 360
        draw.line([(x, h - 1 - (h // 3 if heading % 30 == 0 else h // 5)), (x, h - 1)],
                  fill=tone("ink", night), width=1)
        if heading % 30 == 0:
            label = {0: "N", 90: "E", 180: "S", 270: "W"}.get(heading, str(heading // 10))
            centred_text(draw, (x - 12, 1, x + 12, h - h // 3 - 1), label, tone("ink", night),
                         max(6, min(12, h // 3)))


def draw_mask(img, draw, b):
    w, h = b.size
    if b.what.get("circle"):
        cx, cy, r = b.what["circle"]
        draw.ellipse([cx - r, cy - r, cx + r - 1, cy + r - 1], fill=c("mask"))
    else:
        draw.rectangle([0, 0, w - 1, h - 1], fill=c("mask"))


def draw_texture(img, draw, b):
    cx = cy = SPRITE_SIZE // 2
    night = b.what["night"]
    r = b.what["radius"]
    style = b.what.get("style", "card")
    ink = tone("ink", night)
    if style == "sphere":  # sky over ground, a pitch mark every 32 texture pixels
        draw.rectangle([0, 0, SPRITE_SIZE - 1, cy - 1], fill=tone("sky", night))
        draw.rectangle([0, cy, SPRITE_SIZE - 1, SPRITE_SIZE - 1], fill=tone("ground", night))
        draw.line([(0, cy), (SPRITE_SIZE - 1, cy)], fill=ink, width=3)
        for step in (-3, -2, -1, 1, 2, 3):
            half = 24 if step % 2 == 0 else 14
            y = cy + step * 32
            draw.line([(cx - half, y), (cx + half, y)], fill=ink, width=2)
        return
    if style == "ring":  # bank marks at 10, 20, 30 and 60 degrees each side, a pointer on top
        for deg in (-60, -30, -20, -10, 0, 10, 20, 30, 60):
            a = math.radians(deg - 90)
            inner = r - (14 if deg % 30 == 0 else 8)
            draw.line([(cx + inner * math.cos(a), cy + inner * math.sin(a)),
                       (cx + r * math.cos(a), cy + r * math.sin(a))], fill=ink, width=3)
        draw.polygon([(cx, cy - r + 16), (cx - 8, cy - r + 30), (cx + 8, cy - r + 30)],
                     fill=tone("lamp_on", night))
        return
    if style == "bar":  # the deviation bar along the course
        draw.rectangle([cx - 3, cy - r * 0.55, cx + 3, cy + r * 0.55], fill=tone("lamp_on",
                                                                               night))
        return
    if style == "bezel":
        band = max(3, r // 14)
        draw.ellipse([cx - r, cy - r, cx + r, cy + r], outline=tone("card", night), width=band)
        for deg in range(0, 360, 10):
            a = math.radians(deg - 90)
            inner = r - band * (1 if deg % 30 else 2)
            draw.line([(cx + inner * math.cos(a), cy + inner * math.sin(a)),
                       (cx + r * math.cos(a), cy + r * math.sin(a))], fill=ink, width=2)
        return
    if style == "index":  # a reference index out at the rim
        draw.polygon([(cx, cy - r), (cx - 6, cy - r + 14), (cx + 6, cy - r + 14)],
                     fill=tone("lamp_on", night))
        return
    draw.ellipse([cx - r, cy - r, cx + r, cy + r], fill=tone("card", night))
    for deg in range(0, 360, 10):
        a = math.radians(deg - 90)
        inner = r - max(3, r // (10 if deg % 30 == 0 else 20))
        draw.line([(cx + inner * math.cos(a), cy + inner * math.sin(a)),
                   (cx + r * math.cos(a), cy + r * math.sin(a))], fill=tone("ink", night), width=2)
        if deg % 30 == 0:
            label = {0: "N", 90: "E", 180: "S", 270: "W"}.get(deg, str(deg // 10))
            lr = r * 0.78
            lx, ly = cx + lr * math.cos(a), cy + lr * math.sin(a)
            half = max(4, r // 9)
            centred_text(draw, (lx - half * 1.5, ly - half, lx + half * 1.5, ly + half), label,
                         tone("ink", night), max(6, r // 7))


DRAW = {"face": draw_face, "image": draw_image, "needle": draw_needle, "strip": draw_strip,
        "slide": draw_slide, "mask": draw_mask, "texture": draw_texture}


def render(b):
    img = Image.new("P", b.size, 0)
    img.putpalette(PALETTE)
    DRAW[b.family](img, ImageDraw.Draw(img), b)
    art_labels.draw(ImageDraw.Draw(img), b, sys.modules[__name__])
    return img


# ---- output ------------------------------------------------------------------------------------

def write(path, text):
    with open(path, "w") as f:
        f.write(text)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--records-tool")
    parser.add_argument("--module")
    parser.add_argument("--records", help="read the records from this file instead")
    parser.add_argument("--out", required=True)
    args = parser.parse_args()

    if args.records:
        with open(args.records) as f:
            text = f.read()
    else:
        run = subprocess.run([args.records_tool, "--module", args.module], capture_output=True,
                             text=True)
        if run.returncode != 0:
            sys.exit("make_art: the records tool failed:\n" + run.stderr)
        text = run.stdout
    records = json.loads(text)
    try:
        bitmaps = collect(records)
        art_labels.attach(records, bitmaps)
    except (BadRecords, art_labels.BadLabels) as e:
        sys.exit("make_art: bad element records: %s" % e)

    # The simulator first tries id + 500 for a high-resolution copy: nothing may sit there.
    for ident in sorted(bitmaps):
        if ident + 500 in bitmaps:
            b, other = bitmaps[ident], bitmaps[ident + 500]
            print("make_art: warning: bitmap %d (%s, element %d) sits where the simulator looks "
                  "for a high-resolution copy of bitmap %d (%s, element %d)" %
                  (other.id, other.owner[0], other.owner[1], ident, b.owner[0], b.owner[1]))

    out = os.path.abspath(args.out)
    for sub in ("bmp", "png"):
        os.makedirs(os.path.join(out, sub), exist_ok=True)
    rc_lines = ["// Generated by resources/make_art.py from the module's element records.\n"]
    table = []
    asm = []
    for ident in sorted(bitmaps):
        img = render(bitmaps[ident])
        bmp = os.path.join(out, "bmp", "%d.bmp" % ident)
        img.save(bmp, format="BMP")
        img.save(os.path.join(out, "png", "%d.png" % ident), format="PNG", optimize=False)
        rc_lines.append('%d BITMAP "%s"\n' % (ident, bmp))
        # A BITMAP resource is the file without its 14-byte file header.
        size = os.path.getsize(bmp) - 14
        sym = "k7bmp_%d" % ident
        asm.append('    ".global %s\\n.hidden %s\\n.balign 4\\n%s:\\n"\n'
                   '    ".incbin \\"%s\\", 14\\n"\n' % (sym, sym, sym, bmp))
        table.append((ident, sym, size))
    write(os.path.join(out, "k7gauges_bitmaps.rc"), "".join(rc_lines))
    cpp = ["// Generated by resources/make_art.py: the module's bitmaps, found by id.\n",
           '#include "platform/posix/embedded_bitmaps.h"\n\n',
           'asm(".section .rodata\\n"\n', *asm, '    ".previous\\n");\n\n']
    cpp += ['extern "C" const unsigned char %s[];\n' % sym for _, sym, _ in table]
    cpp.append("\nconst EmbeddedBitmap k7_embedded_bitmaps[] = {\n")
    cpp += ["    {%d, %s, %du},\n" % (ident, sym, size) for ident, sym, size in table]
    cpp.append("};\nconst std::size_t k7_embedded_bitmap_count = %d;\n" % len(table))
    write(os.path.join(out, "k7_bitmaps.cpp"), "".join(cpp))
    write(os.path.join(out, "records.json"), text)
    print("make_art: %d bitmaps for %d gauges in %s" % (len(bitmaps), len(records["gauges"]), out))


if __name__ == "__main__":
    main()
