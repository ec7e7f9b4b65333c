#!/usr/bin/env python3
"""Checks the module's bitmaps against the element records they were drawn from.

    check_art.py RECORDS.json --bmp-dir DIR     the native build's bitmaps (DIR/ID.bmp)
    check_art.py RECORDS.json --gau FILE        the BITMAP resources of a Windows build

For every element of every gauge: a valid bitmap for its id and for every further id the
simulator loads for it (an icon's images, the mask of a moving image or sprite); the element and
every click area lie within the gauge's background; needle pivots lie within the needle bitmap;
sprite textures are 256 x 256; night copies differ from day copies; nothing sits at id + 500 of
another bitmap. Exits non-zero with one line per fault.
"""

import argparse
import json
import struct
import sys

HIDDEN = 0x40000000
LUMINOUS = 0x4000 | 0x8000
RT_BITMAP = 2


def dib_size(data):
    """(width, height) of a BITMAP resource, or None when it is not a usable bitmap."""
    if len(data) < 40:
        return None
    header, width, height, planes, bits, compression = struct.unpack_from("<IiiHHI", data)
    colours = struct.unpack_from("<I", data, 32)[0]
    if header < 40 or width <= 0 or height == 0 or planes != 1 or bits not in (8, 24):
        return None
    if compression not in (0, 1) or (bits == 24 and compression):
        return None
    palette = 4 * ((colours or 256) if bits == 8 else 0)
    stride = (width * bits + 31) // 32 * 4
    if compression == 0 and len(data) < header + palette + stride * abs(height):
        return None
    return (width, abs(height))


def from_dir(path):
    import os
    found = {}
    for name in os.listdir(path):
        if name.endswith(".bmp"):
            with open(os.path.join(path, name), "rb") as f:
                data = f.read()
            if data[:2] == b"BM":
                found[int(name[:-4])] = data[14:]
    return found


def from_gau(path):
    import pefile
    pe = pefile.PE(path, fast_load=True)
    pe.parse_data_directories(
        directories=[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
    found = {}
    if not hasattr(pe, "DIRECTORY_ENTRY_RESOURCE"):
        return found
    for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if kind.id != RT_BITMAP:
            continue
        for entry in kind.directory.entries:
            lang = entry.directory.entries[0]
            found[entry.id] = pe.get_data(lang.data.struct.OffsetToData, lang.data.struct.Size)
    return found


def check(records, bitmaps):
    faults = []
    sizes = {i: dib_size(d) for i, d in bitmaps.items()}

    def need(gauge, e, ident, what):
        if sizes.get(ident) is None:
            faults.append("%s, element %d: no valid bitmap %d (%s)" %
                          (gauge["name"], e["n"], ident, what))
            return None
        return sizes[ident]

    for gauge in records["gauges"]:
        name, width = gauge["name"], gauge["size_mm"]
        root = gauge["elements"][0]
        face = need(gauge, root, root["id"], "background")
        if face is None:
            continue
        if face[0] < width:
            faults.append("%s: background %d pixels wide, the gauge is %d mm" %
                          (name, face[0], width))
        width, height = face

        def within(what, x, y, w, h):
            if x < 0 or y < 0 or x + w > width or y + h > height:
                faults.append("%s: %s (%d, %d, %d, %d) outside the %dx%d background" %
                              (name, what, x, y, w, h, width, height))

        for e in gauge["elements"][1:]:
            kind, x, y, n = e["kind"], e["x"], e["y"], e["n"]
            label = "element %d" % n
            if kind in ("static", "icon", "slider"):
                for i in range(e.get("images", 1)):
                    size = need(gauge, e, e["id"] + i, "image %d" % i)
                    if size:
                        within(label, x, y, *size)
            elif kind == "needle":
                size = need(gauge, e, e["id"], "needle")
                within(label + " pivot", x, y, 1, 1)
                ox, oy = e["ofs"]
                marker = not e["table"] and (ox < 0 or oy < 0)  # turns about a point beside it
                # A dial pointer drawn only out near the rim: its pivot lies before it along it.
                rim = bool(e["table"]) and ox < 0 and size and 0 <= oy < size[1]
                marker = marker or rim
                if size and not marker and not (0 <= ox < size[0] and 0 <= oy < size[1]):
                    faults.append("%s, element %d: pivot (%d, %d) outside the %dx%d needle" %
                                  (name, n, ox, oy, size[0], size[1]))
            elif kind in ("moving", "sprite"):
                image = need(gauge, e, e["id"], kind)
                mask = need(gauge, e, e["id"] + 1, "mask")
                if mask:
                    within(label + " mask", x, y, *mask)
                if kind == "sprite" and image and image != (256, 256):
                    faults.append("%s, element %d: sprite texture %dx%d, not 256x256" %
                                  ((name, n) + image))
            elif kind == "string":
                within(label, x, y, *e["size"])
        for ax, ay, aw, ah in gauge["mouse"]:
            # A box may reach past the right edge (the simulator clips it); it starts inside.
            within("click area", ax, ay, min(aw, width - ax) if ax < width else aw, ah)

        # Night copies: a luminous image and the day image at the same place, in order; a face
        # icon of two images, day then night.
        day, night = {}, {}
        for e in gauge["elements"]:
            if e["kind"] in ("static", "icon", "needle", "moving"):
                side = night if e["flags"] & LUMINOUS else day
                side.setdefault((e["kind"] == "needle", e["x"], e["y"]), []).append(e["id"])
            if e["kind"] == "icon" and e.get("images") == 2 and e["x"] == e["y"] == 0:
                night.setdefault((False, 0, 0), []).append(e["id"] + 1)
                day.setdefault((False, 0, 0), []).append(e["id"])
        for place, ids in night.items():
            for d, nid in zip(day.get(place, []), ids):
                if d in bitmaps and nid in bitmaps and bitmaps[d] == bitmaps[nid]:
                    faults.append("%s: night bitmap %d is the same as day bitmap %d" %
                                  (name, nid, d))

    for ident in sorted(bitmaps):
        if ident + 500 in bitmaps:
            faults.append("bitmap %d sits where the simulator looks for the high-resolution copy "
                          "of bitmap %d" % (ident + 500, ident))
    return faults


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("records")
    source = parser.add_mutually_exclusive_group(required=True)
    source.add_argument("--bmp-dir")
    source.add_argument("--gau")
    args = parser.parse_args()
    with open(args.records) as f:
        records = json.load(f)
    bitmaps = from_dir(args.bmp_dir) if args.bmp_dir else from_gau(args.gau)
    faults = check(records, bitmaps)
    for fault in faults:
        print(fault)
    print("%d bitmaps, %d gauges checked: %d faults" %
          (len(bitmaps), len(records["gauges"]), len(faults)))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
