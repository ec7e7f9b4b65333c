"""What the pop-up panels that are only click areas on a plain picture show: each area outlined
with a short label (or an arrow), and captions beside the areas (an item's name, a column head).

The table names click areas by their place in the gauge's click-area list as the records give it
(the order of the gauge's mouse table); the geometry always comes from the records. make_art.py
calls attach() once the bitmaps are collected and draw() after drawing each bitmap:

    attach(records, bitmaps)   labels for the backgrounds, and for the images that sit exactly
                               on a labelled area (a highlight, a lamp over its button)
    draw(draw, b, art)         draws them; art is make_art itself (palette and fonts)
"""

DOWN, UP = "\u25bc", "\u25b2"  # an arrow button: the arrow is drawn, not printed
# A button under a lamp of several images: the text of each image (the first also on the
# background). The failure items' lamps show off, active and armed.
ARM_LAMP = ("ARM", "ACTIVE", "ARMED")
LEFT, ABOVE = "left", "above"
HIDDEN = 0x40000000  # an element's image flag: shown only when the gauge says so


def _pairs(first, last, a, b):
    """Areas first..last in pairs of two buttons side by side: a on the left, b on the right."""
    return {n: (a if (n - first) % 2 == 0 else b) for n in range(first, last + 1)}


def _names(*rows):
    """Row captions left of each row's leftmost area: (area, name)."""
    return [((n,), name, LEFT) for n, name in rows]


LABELS = {
    # Each area names the window it opens (the ATC area calls up the simulator's ATC menu).
    "kestovil panel_overview": {
        "areas": {
            0: "ELECTRICAL", 1: "HYDRAULIC\n& SERVO", 2: "HYDRAULIC\n& SERVO", 3: "PEDESTAL",
            4: "PEDESTAL", 5: "CABIN\nPRESS", 6: "START\nTADG\nBATT", 7: "START / TADG",
            8: "UPPER PANEL 2", 9: "UPPER PANEL 3", 10: "GEAR\nDOORS", 11: "CLOCK",
            12: "ATC", 13: "FAILURES", 14: "CLOSE",
        },
    },
    "kestovil panload": {
        "areas": {0: "COLD AND DARK\n\nall systems off", 1: "ENGINES RUNNING\n\nready to taxi"},
        "captions": [((0, 1), "HOW DOES THE FLIGHT START?", ABOVE)],
    },
    # The navigation lights switch: each click area moves it to the position named beside it.
    "kestovil lights_nav_k7": {
        "captions": _names((0, "ON"), (1, "OFF"), (2, "ALT")),
    },
    "kestovil failures_k7": {
        # Arm and off buttons of the items and presets, the delay and speed arrows, two buttons.
        "areas": {**_pairs(0, 29, ARM_LAMP, "OFF"), **_pairs(30, 47, DOWN, UP), 48: "VALIDATE",
                  49: "CLOSE"},
        "captions": _names(
            (30, "ENG 1 FAIL"), (32, "ENG 1 FIRE"), (34, "ENG 2 FAIL"), (36, "GEN 1"),
            (38, "GEN 2"), (40, "GREEN LEVEL"), (12, "GREEN LEAK"), (14, "TAKE-OFF"),
            (16, "RANDOM"), (18, "RESET")) + [
            ((30, 31), "DELAY (MIN)", ABOVE), ((42, 43), "MIN SPEED (KT)", ABOVE),
            ((36, 37), "DELAY (MIN)", ABOVE), ((40, 41), "DELAY (MIN)", ABOVE),
            ((0, 1), "FAILURES", ABOVE), ((20, 21), "EASY START", ABOVE),
            ((22, 23), "COLD & DARK", ABOVE), ((24, 25), "PRESET 3", ABOVE),
            ((26, 27), "PRESET 4", ABOVE), ((28, 29), "PRESET 5", ABOVE)],
    },
}

# The pop-up toggles: the whole gauge is one button naming the window it shows or closes.
TOGGLES = {
    "start": "START\nTADG\nBATT", "clock": "CLOCK", "gps": "GPS", "ap": "AUTO\nPILOT",
    "geardoors": "GEAR\nDOORS", "hyd": "HYD\nSERVO", "hyd2": "CLOSE HYD & SERVO", "elec": "ELEC",
    "elec2": "CLOSE", "up2": "UPPER 2", "up22": "CLOSE UPPER 2", "up3": "UPPER 3",
    "up32": "CLOSE", "ped2": "CLOSE", "pressu": "CABIN\nPRESS", "fail": "FAIL\nEASY\nSTART",
}
LABELS.update({"kestovil toggle_pan_" + name: {"areas": {0: text}} for name, text in TOGGLES.items()})


# Elements drawn for what they are rather than named after their gauge, by place in the gauge's
# element chain (the records' "n"; the geometry again comes from the records):
#   "text"            a lamp's or bar segment's legend (a lamp even where its images share
#                     one place, as a repeater's open and shut)
#   Position(text)    the name of a switch position drawn at its place (an image sharing its
#                     place with the other positions of its switch)
#   Toggle(way, text) a toggle switch's bat pointing up, down or level ("middle"), with the
#                     position's name printed on the face beside it, if any (the bitmaps are
#                     shared by every light switch, so the name cannot go on the image)
#   Lever(text)       a pedestal lever's handle where this image puts it, with the position's
#                     mark and name on the face's scale
# An element's day and night copies carry the same entry.
class Toggle(tuple):
    def __new__(cls, way, text):
        return tuple.__new__(cls, (way, text))


class Lever(str):
    pass


class Position(str):
    pass


class Throttle(tuple):
    """A throttle lever drawn by moving pieces: the piece that carries the handle's grip
    (text), named stops along its travel ((offset, name), ...) beside it on the face; the
    lever's other pieces are Throttle("") and show its rod."""

    def __new__(cls, text, stops=()):
        return tuple.__new__(cls, (text, tuple(stops)))


TOGGLE_HEIGHT = 18  # at least: some positions lie a few pixels apart, one image over the next

# Lever positions that show the face alone (no image): their detent is outlined on the face at
# the top of the click area that selects them, (area, name).
FACE_DETENTS = {"kestovil gear_lev_k7": [(2, "DN")]}


def _day_night(first, entries):
    """Entries for a run of day copies at first and the same run of night copies after it."""
    day = {first + i: e for i, e in enumerate(entries)}
    night = {first + len(entries) + i: e for i, e in enumerate(entries)}
    return {**day, **night}


def _switch(*pairs):
    """A light switch's toggle images: (chain place, way, position name)."""
    return {n: Toggle(way, text) for n, way, text in pairs}


THROTTLE_STOPS = ((0, "FULL"), (100, "IDLE"), (110, "CUT"))  # the lever's travel, down

ELEMENTS = {
    # The battery panel's essential-bus feed switch and its bus-bar mimic.
    "kestovil elec_bus_bat_k7": {
        1: Position("BATT"), 2: Position("MAIN"), 3: "ESS", 4: "GEN\nMAIN", 5: "GEN", 6: "BATT",
        7: "NORM\n1",
        8: "NORM\n2", 9: "RADIO\n2", 10: "RADIO\n1", 11: "MAIN\nB", 12: "MAIN\nA"},
    "kestovil elec_bus_gen_k7": {
        1: "EXT\nPWR", 2: "GEN\n2", 3: "GEN\n1", 4: "TWIN", 5: "AIR", 6: "GEN\nA",
        7: "GEN\nC", 8: "GEN\nB"},
    "kestovil spdbrk_lev_k7": _day_night(1, [Lever("IN"), Lever("OUT")]),
    "kestovil flaps_lev_k7": _day_night(1, [Lever("UP"), Lever("1"), Lever("2")]),
    "kestovil gear_lev_k7": _day_night(1, [Lever("N"), Lever("UP")]),
    "kestovil parkb_lev_k7": {
        **_day_night(1, [Lever("SET"), Lever("INT"), Lever("REL")]),
        # The left fuel valve repeaters, open and shut.
        **{n: "OPEN" if n % 2 else "SHUT" for n in range(7, 15)}},
    # The fuel valve lights, open and shut, day copies; the pump panels' low-level lamps.
    "kestovil fuel_valves_lh_k7": {5: "OPEN", 6: "SHUT", 7: "OPEN", 8: "SHUT"},
    "kestovil fuel_valves_rh_k7": {5: "OPEN", 6: "SHUT", 7: "OPEN", 8: "SHUT"},
    "kestovil fuel_crossfeed_k7": {3: "OPEN", 4: "SHUT"},
    "kestovil fuel_pumps_lh_k7": {21: "LOW\nLVL", 22: "LOW\nLVL"},
    "kestovil fuel_pumps_rh_k7": {21: "LOW\nLVL", 22: "LOW\nLVL"},
    # The throttles: five pieces each, day then night; the last piece carries the handle.
    "kestovil thr_hpbp_left_k7": {
        **_day_night(11, [Lever("LP SHUT"), Lever("LP OPEN")]),
        **_day_night(1, [Throttle("")] * 4 + [Throttle("THR 1", THROTTLE_STOPS)])},
    "kestovil thr_hpbp_right_k7": {
        **_day_night(11, [Lever("LP SHUT"), Lever("LP OPEN")]), 15: "START", 16: "START",
        **_day_night(1, [Throttle("")] * 4 + [Throttle("THR 2", THROTTLE_STOPS)])},
    "kestovil lights_nac_k7": _switch((1, "up", "OFF"), (2, "down", "ON")),
    "kestovil lights_beacon_k7": _switch((1, "up", "OFF"), (2, "down", "ON")),
    "kestovil lights_taxi_k7": _switch((1, "up", "OFF"), (2, "down", "ON"), (3, "up", "OFF"),
                                       (4, "down", "ON")),
    # Its three positions lie a few pixels apart: named beside the click areas instead.
    "kestovil lights_nav_k7": _switch((1, "middle", ""), (2, "down", ""), (3, "up", "")),
    "kestovil lights_land_k7": _switch(
        (1, "up", "RETR"), (2, "middle", ""), (3, "down", "EXT"), (4, "up", ""),
        (5, "middle", ""), (6, "down", ""), (7, "up", "OFF"), (8, "down", "ON"),
        (9, "up", "OFF"), (10, "down", "ON")),
}

# Switch bitmaps that many gauges share, always drawn as toggles pointing this way (day and night
# copies): the fuel pump and valve switches, the autopilot's phase switch, the start repeaters.
SWITCH_ART = {
    4976: "middle", 13680: "up", 13664: "down", 13952: "middle", 14096: "up", 14080: "down",
    14176: "down", 14192: "up", 21344: "up", 21360: "middle", 21376: "down",
}

CAPTION_SIZE = 11
CAPTION_GAP = 6  # between a caption and its area


class BadLabels(Exception):
    pass


def _check(gauge, table):
    count = len(gauge["mouse"])
    named = list(table.get("areas", {})) + [n for areas, _, _ in table.get("captions", [])
                                            for n in areas]
    for n in named:
        if not 0 <= n < count:
            raise BadLabels("%s: the label table names click area %d, but the gauge has %d" %
                            (gauge["name"], n, count))


def _box(area):
    x, y, w, h = area
    return (x, y, x + w, y + h)


def _span(gauge, numbers):
    boxes = [_box(gauge["mouse"][n]) for n in numbers]
    return (min(b[0] for b in boxes), min(b[1] for b in boxes), max(b[2] for b in boxes),
            max(b[3] for b in boxes))


def _beside_readouts(gauge, box):
    """The part of an area that no readout (a string element) covers, for its arrow."""
    x0, y0, x1, y1 = box
    for e in gauge["elements"]:
        if e["kind"] != "string":
            continue
        sx0, sy0 = e["x"], e["y"]
        sx1, sy1 = sx0 + e["size"][0], sy0 + e["size"][1]
        if sx0 >= x1 or sx1 <= x0 or sy0 >= y1 or sy1 <= y0:
            continue
        if sx0 > x0:
            x1 = sx0
        else:
            x0 = max(x0, sx1)
    return (x0, y0, x1, y1) if x1 - x0 >= 6 else box


def placements(gauge):
    """What the gauge's background shows: (kind, box, text) with kind "button", "arrow",
    "caption" (left of a row) or "heading" (over its areas) and box (x0, y0, x1, y1) in
    background pixels. Empty for a gauge not in the table."""
    table = LABELS.get(gauge["name"])
    if table is None:
        return []
    _check(gauge, table)
    out = []
    for n, texts in sorted(table.get("areas", {}).items()):
        box = _box(gauge["mouse"][n])
        text = texts if isinstance(texts, str) else texts[0]
        out.append(("button", box, text))
        if text in (DOWN, UP):
            out.append(("arrow", _beside_readouts(gauge, box), text))
    for numbers, text, side in table.get("captions", []):
        x0, y0, x1, y1 = _span(gauge, numbers)
        if side == LEFT:
            out.append(("caption", (4, y0, x0 - CAPTION_GAP, y1), text))
        else:
            out.append(("heading", (x0, y0 - CAPTION_SIZE - CAPTION_GAP, x1, y0 - 2), text))
    return out


def _check_elements(gauge, table):
    count = len(gauge["elements"])
    for n in table:
        if not 1 <= n < count:
            raise BadLabels("%s: the label table names element %d, but the gauge has %d" %
                            (gauge["name"], n, count))


def element_marks(gauge, bitmaps):
    """What the ELEMENTS table gives this gauge: each named image's drawing (by bitmap id), and
    the position names its face shows beside toggles and levers, as (kind, box, text) with kind
    "scale" (beside a toggle) or "detent" (a lever's grip) and box in background pixels, and the
    bitmaps of elements shown only when lit. Empty for a gauge not in it."""
    table = ELEMENTS.get(gauge["name"])
    if table is None:
        return {}, [], set()
    _check_elements(gauge, table)
    images, marks, hidden = {}, [], set()
    handle_middle = 0
    for n, entry in table.items():
        b = bitmaps.get(gauge["elements"][n]["id"])
        if isinstance(entry, Throttle) and entry[0] and b is not None and b.family == "slide":
            handle_middle = gauge["elements"][n]["x"] + b.what["piece"][0] // 2
    for n, entry in sorted(table.items()):
        e = gauge["elements"][n]
        b = bitmaps.get(e["id"])
        if isinstance(entry, Throttle) and b is not None and b.family == "slide":
            # The pieces below the handle show the lever's rod: under the grip's middle, or in
            # their own middle where they lie beside it.
            width = b.what["piece"][0]
            rod = handle_middle - e["x"]
            rod = rod if 1 <= rod <= width - 2 else width // 2
            images[e["id"]] = ("throttle", entry[0] or rod)
            # The piece stands travel - value below the element's place (the image slides up
            # behind its window as the value grows).
            gx0, gy0, gx1, gy1 = grip_box(*b.what["piece"])
            top = e["y"] + b.what["at"][1]
            for offset, name in entry[1]:
                marks.append(("scale", (e["x"] + gx0, top - offset + gy0, e["x"] + gx1,
                                        top - offset + gy1), name))
            continue
        if b is None or b.family != "image":
            raise BadLabels("%s: element %d (bitmap %d) is not an image the table can name" %
                            (gauge["name"], n, e["id"]))
        w, h = b.size
        box = (e["x"], e["y"], e["x"] + w, e["y"] + h)
        if isinstance(entry, Toggle):
            drawing = ("toggle", entry[0])
            box = (box[0], box[1], box[2], box[1] + max(h, TOGGLE_HEIGHT))
            if entry[1]:
                marks.append(("scale", box, entry[1]))
        elif isinstance(entry, Lever):
            drawing = ("lever", str(entry))
            gx0, gy0, gx1, gy1 = grip_box(w, h)
            marks.append(("detent", (e["x"] + gx0, e["y"] + gy0, e["x"] + gx1, e["y"] + gy1),
                          str(entry)))
        elif isinstance(entry, Position):
            drawing = ("position", str(entry))
        else:
            drawing = ("text", entry)
        for i in range(e.get("images", 1)):
            if images.setdefault(e["id"] + i, drawing) != drawing:
                raise BadLabels("%s: bitmap %d drawn as %r by element %d but as %r before" %
                                (gauge["name"], e["id"] + i, drawing, n, images[e["id"] + i]))
            if e["flags"] & HIDDEN:
                hidden.add(e["id"] + i)
    return images, marks, hidden


def attach_elements(records, bitmaps):
    """Gives the images the ELEMENTS table names their drawing, and their faces the position
    names. A bitmap that two elements would draw differently stops the build."""
    given = {ident: (("toggle", way), "the shared switch art") for ident, way in
             SWITCH_ART.items()}
    faces = {}
    for ident, way in SWITCH_ART.items():
        b = bitmaps.get(ident)
        if b is not None and b.family == "image":
            b.what.update(label="", toggle=way)
            b.size = (b.size[0], max(b.size[1], TOGGLE_HEIGHT))
    for gauge in records["gauges"]:
        images, marks, hidden = element_marks(gauge, bitmaps)
        for n, text in FACE_DETENTS.get(gauge["name"], []):
            x, y, w, _ = gauge["mouse"][n]
            x0, y0, x1, y1 = grip_box(w, 40)
            marks.append(("detent", (x + x0, y + 12 + y0, x + x1, y + 12 + y1), text))
        for ident, drawing in images.items():
            if given.setdefault(ident, (drawing, gauge["name"]))[0] != drawing:
                raise BadLabels("%s: bitmap %d drawn as %r here but as %r by %s" %
                                (gauge["name"], ident, drawing, given[ident][0],
                                 given[ident][1]))
            b = bitmaps.get(ident)
            kind, text = drawing
            if kind == "throttle":
                b.what["throttle"] = text
                continue
            if b is None or b.family != "image":
                continue
            if kind == "position":
                b.what["legend"] = text
            elif kind == "text":  # a lamp: lit where the gauge shows it only when lit
                b.what.update(label="", positions=1, lit=b.what["lit"] or ident in hidden)
                b.what["art_labels"] = [("text", (0, 0) + tuple(b.size), text)]
            else:
                b.what["label"] = ""
                b.what[kind] = text
                if kind == "toggle":
                    b.size = (b.size[0], max(b.size[1], TOGGLE_HEIGHT))
        if marks:
            faces.setdefault(gauge["elements"][0]["id"], []).append(marks)
    # A face that twin gauges share shows their marks only where the twins agree on them.
    for ident, twins in faces.items():
        background = bitmaps.get(ident)
        if background is not None and background.family == "face" and \
                all(marks == twins[0] for marks in twins):
            background.what.setdefault("art_labels", []).extend(twins[0])


def attach(records, bitmaps):
    """Hands each labelled gauge's background its placements, and the images lying exactly on a
    labelled button (a highlight, a lamp) that button's text; then what the ELEMENTS table
    gives."""
    _attach_areas(records, bitmaps)
    attach_elements(records, bitmaps)


def _attach_areas(records, bitmaps):
    for gauge in records["gauges"]:
        marks = placements(gauge)
        if not marks:
            continue
        table = LABELS[gauge["name"]].get("areas", {})
        buttons = {tuple(gauge["mouse"][n][:2]): texts for n, texts in table.items()}
        background = gauge["elements"][0]["id"]
        if background in bitmaps and bitmaps[background].family == "face":
            bitmaps[background].what["art_labels"] = marks
        for e in gauge["elements"][1:]:
            texts = buttons.get((e["x"], e["y"]))
            if texts is None or texts in (DOWN, UP):
                continue
            for i in range(e.get("images", 1)):
                b = bitmaps.get(e["id"] + i)
                if b is not None and b.family == "image" and b.what.get("positions", 1) == 1:
                    text = texts if isinstance(texts, str) else texts[min(i, len(texts) - 1)]
                    b.what["label"] = ""
                    b.what["art_labels"] = [("text", (0, 0) + tuple(b.size), text)]


def _lines(draw, box, text, colour, size, art):
    lines = text.split("\n")
    x0, y0, x1, y1 = box
    step = size + 3
    top = (y0 + y1 - step * len(lines)) / 2
    for i, line in enumerate(lines):
        if line:
            art.centred_text(draw, (x0 + 2, top + i * step, x1 - 2, top + (i + 1) * step), line,
                             colour, size if i == 0 else max(6, size - 2))


def _arrow(draw, box, up, colour):
    x0, y0, x1, y1 = box
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    half = max(3, min(x1 - x0, y1 - y0) * 0.3)
    tip, base = (cy - half, cy + half * 0.7) if up else (cy + half, cy - half * 0.7)
    draw.polygon([(cx, tip), (cx - half, base), (cx + half, base)], fill=colour)


def _right_aligned(draw, box, text, colour, art):
    x0, y0, x1, y1 = box
    f = art.font(CAPTION_SIZE)
    width = draw.textlength(text, font=f)
    art.centred_text(draw, (max(x0, x1 - width), y0, x1, y1), text, colour, CAPTION_SIZE)


SCALE_SIZE = 8


def grip_box(w, h):
    """A lever handle's grip in its image: across the top, where the image puts the lever. The
    face outlines the same box for every position, so the scale shows where the handle can go."""
    inset = max(1, w // 8)
    return (inset, 1, w - inset, 1 + max(6, min(16, h - 2)))


def _scale_mark(draw, box, text, colour, width, art):
    """A switch position's name on the face beside its image, level with it: left of it where
    there is room, else right of it."""
    x0, y0, x1, y1 = box
    room = draw.textlength(text, font=art.font(SCALE_SIZE)) + 2
    y = (y0 + y1) / 2
    if x0 >= room or width - x1 < room:
        art.centred_text(draw, (max(0, x0 - room), y - 5, x0 - 1, y + 5), text, colour,
                         SCALE_SIZE)
    else:
        art.centred_text(draw, (x1 + 1, y - 5, x1 + room, y + 5), text, colour, SCALE_SIZE)


def draw(draw, b, art):
    """Draws the labels attach() gave this bitmap, if any."""
    marks = b.what.get("art_labels")
    if not marks:
        return
    night = b.what.get("night", False)
    if b.family == "image":
        colour = art.tone("legend_on" if b.what.get("lit") else "legend_off", night)
        for _, box, text in marks:
            _lines(draw, box, text, colour, min(11, box[3] - box[1] - 2), art)
        return
    ink, edge = art.tone("ink", night), art.tone("bezel", night)
    for kind, (x0, y0, x1, y1), text in marks:
        if kind == "button":
            draw.rectangle([x0, y0, x1 - 1, y1 - 1], outline=edge, width=1)
            if text not in (DOWN, UP):
                _lines(draw, (x0, y0, x1, y1), text, ink, min(11, y1 - y0 - 2), art)
        elif kind == "arrow":
            _arrow(draw, (x0, y0, x1, y1), text == UP, art.tone("switch", night))
        elif kind == "caption":
            _right_aligned(draw, (x0, y0, x1, y1), text, ink, art)
        elif kind == "scale":
            _scale_mark(draw, (x0, y0, x1, y1), text, ink, b.size[0], art)
        elif kind == "detent":  # where the handle stands in this position, named
            draw.rectangle([x0, y0, x1 - 1, y1 - 1], outline=edge, width=1)
            art.centred_text(draw, (x0, y0, x1, y1), text, art.tone("name", night), SCALE_SIZE)
        else:
            art.centred_text(draw, (x0, y0, x1, y1), text, art.tone("name", night), CAPTION_SIZE)
