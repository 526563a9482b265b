#!/usr/bin/python3
# Writes the bitmap fonts: assets/fonts/<name>.png (glyph atlas) and <name>.txt (descriptor
# script), and assets/fonts.xml, from DejaVu Sans. Run: /usr/bin/python3 tools/gen_fonts.py
#
# Needs PIL with RAQM layout (kerning comes from the font's GPOS table through it).
import os
import struct
import sys
import xml.etree.ElementTree as ET

from PIL import Image, ImageDraw, ImageFont, features

HERE = os.path.dirname(os.path.abspath(__file__))
ASSETS = os.path.join(HERE, "..", "assets")
OUT = os.path.join(ASSETS, "fonts")
DEJAVU = "/usr/share/fonts/truetype/dejavu/"
REGULAR = DEJAVU + "DejaVuSans.ttf"
BOLD = DEJAVU + "DejaVuSans-Bold.ttf"
SHELF_WIDTH = 512

# name, TTF, pixel size, title of the header line, drop shadow
FONTS = [
    ("sans16", REGULAR, 16, "DejaVu Sans", False),
    ("sans20", REGULAR, 20, "DejaVu Sans", False),
    ("sansbold22", BOLD, 22, "DejaVu Sans Bold", False),
    ("sansbold30", BOLD, 30, "DejaVu Sans Bold", False),
    ("sansbold40", BOLD, 40, "DejaVu Sans Bold", True),
]
IDS = [
    ("small", "sans16"), ("default16", "sans16"), ("maproomname", "sans16"), ("default", "sans20"),
    ("button", "sansbold22"), ("big", "sansbold30"), ("title", "sansbold40"),
]
NS = "{urn:schemas-microsoft-com:office:spreadsheet}"


def cmap_codes(path):
    """Every code point the font's Unicode cmap maps to a glyph other than 0."""
    data = open(path, "rb").read()
    num_tables = struct.unpack(">H", data[4:6])[0]
    tables = {}
    for i in range(num_tables):
        tag, _, offset, _ = struct.unpack(">4sIII", data[12 + 16 * i:28 + 16 * i])
        tables[tag] = offset
    base = tables[b"cmap"]
    count = struct.unpack(">H", data[base + 2:base + 4])[0]
    subtables = {}
    for i in range(count):
        platform, encoding, offset = struct.unpack(">HHI", data[base + 4 + 8 * i:base + 12 + 8 * i])
        subtables[(platform, encoding)] = base + offset
    codes = set()
    if (3, 10) in subtables:
        at = subtables[(3, 10)]
        groups = struct.unpack(">I", data[at + 12:at + 16])[0]
        for g in range(groups):
            start, end, _ = struct.unpack(">III", data[at + 16 + 12 * g:at + 28 + 12 * g])
            codes.update(range(start, end + 1))
        return codes
    at = subtables[(3, 1)]
    segs = struct.unpack(">H", data[at + 6:at + 8])[0] // 2
    ends = struct.unpack(">%dH" % segs, data[at + 14:at + 14 + 2 * segs])
    starts_at = at + 16 + 2 * segs
    starts = struct.unpack(">%dH" % segs, data[starts_at:starts_at + 2 * segs])
    deltas = struct.unpack(">%dh" % segs, data[starts_at + 2 * segs:starts_at + 4 * segs])
    ranges_at = starts_at + 4 * segs
    ranges = struct.unpack(">%dH" % segs, data[ranges_at:ranges_at + 2 * segs])
    for s in range(segs):
        for c in range(starts[s], ends[s] + 1):
            if c == 0xFFFF:
                continue
            if ranges[s] == 0:
                glyph = (c + deltas[s]) & 0xFFFF
            else:
                where = ranges_at + 2 * s + ranges[s] + 2 * (c - starts[s])
                glyph = struct.unpack(">H", data[where:where + 2])[0]
                if glyph:
                    glyph = (glyph + deltas[s]) & 0xFFFF
            if glyph:
                codes.add(c)
    return codes


def repertoire():
    chars = set(range(0x20, 0x7F)) | set(range(0xA0, 0x100)) | set(range(0x410, 0x450))
    root = ET.parse(os.path.join(ASSETS, "termins.xml")).getroot()
    for row in root.iter(NS + "Row"):
        cells = row.findall(NS + "Cell")
        if len(cells) < 2:
            continue
        data = cells[1].find(NS + "Data")
        text = (data.text or "") if data is not None else ""
        for ch in text.replace("#", "\n"):
            if ch not in "\r\n":
                chars.add(ord(ch))
    return sorted(chars)


def quote(ch):
    body = ch.replace("\\", "\\\\")
    if "'" in ch:
        return '"' + body.replace('"', '\\"') + '"'
    return "'" + body + "'"


def wrap(items, per_line=16):
    lines = [" ".join(items[i:i + per_line]) for i in range(0, len(items), per_line)]
    return "\n    ".join(lines)


class Glyph:
    pass


def build(name, ttf, size, title, shadow, codes):
    font = ImageFont.truetype(ttf, size, layout_engine=ImageFont.Layout.RAQM)
    ascent, _ = font.getmetrics()
    glyphs = []
    for code in codes:
        ch = chr(code)
        g = Glyph()
        g.ch = ch
        g.advance = int(round(font.getlength(ch)))
        left, top, right, bottom = font.getbbox(ch, anchor="ls")
        g.mask = None
        if right > left and bottom > top:
            mask = Image.new("L", (right - left, bottom - top), 0)
            ImageDraw.Draw(mask).text((-left, -top), ch, font=font, fill=255, anchor="ls")
            if mask.getbbox() is not None:
                g.mask = mask
        if g.mask is None:
            g.box = (0, 0, 0, 0)
            g.offset = (0, 0)
        else:
            g.box = (0, 0, right - left, bottom - top)
            g.offset = (left, top + ascent)
        glyphs.append(g)

    # Shelves, tallest glyphs first; a transparent pixel around every glyph.
    x, y, shelf = 1, 1, 0
    for g in sorted((g for g in glyphs if g.mask), key=lambda g: (-g.box[3], ord(g.ch))):
        w, h = g.box[2], g.box[3]
        if x + w + 1 > SHELF_WIDTH:
            x, y, shelf = 1, y + shelf + 1, 0
        g.box = (x, y, w, h)
        x += w + 1
        shelf = max(shelf, h)
    atlas = Image.new("RGBA", (SHELF_WIDTH, y + shelf + 1), (255, 255, 255, 0))
    for g in glyphs:
        if g.mask:
            white = Image.new("RGBA", g.mask.size, (255, 255, 255, 255))
            white.putalpha(g.mask)
            atlas.paste(white, g.box[:2])
    atlas.save(os.path.join(OUT, name + ".png"), optimize=True)

    lengths = {g.ch: font.getlength(g.ch) for g in glyphs}
    pairs = []
    for a in glyphs:
        for b in glyphs:
            pair = a.ch + b.ch
            k = int(round(font.getlength(pair, features=["-liga", "-clig"]) - lengths[a.ch] - lengths[b.ch]))
            if k != 0:
                if any(c in "'\"\\" for c in pair):
                    sys.exit("kerned pair %r holds a quote or a backslash" % pair)
                pairs.append((pair, k))

    lines = [
        "# %s %d px, made by tools/gen_fonts.py" % (title, size),
        "SetDefaultPointSize %d;" % size,
        "Define CHARS (" + wrap([quote(g.ch) for g in glyphs]) + ");",
        "Define RECTS (" + wrap(["(%d %d %d %d)" % g.box for g in glyphs], 8) + ");",
        "Define ADVANCES (" + wrap([str(g.advance) for g in glyphs], 24) + ");",
        "Define OFFSETS (" + wrap(["(%d %d)" % g.offset for g in glyphs], 12) + ");",
        "Define PAIRS (" + wrap(["'" + p + "'" for p, _ in pairs]) + ");",
        "Define KERNS (" + wrap([str(k) for _, k in pairs], 24) + ");",
        "CreateLayer main;",
        'LayerSetImage main "%s.png";' % name,
        "LayerSetPointSize main %d;" % size,
        "LayerSetAscent main %d;" % ascent,
    ]
    layers = ["main"]
    if shadow:
        lines += [
            "CreateLayerFrom shadow main;",
            "LayerSetOffset shadow (2 2);",
            "LayerSetColorMult shadow (0 0 0 0.5);",
            "LayerSetBaseOrder shadow -1;",
        ]
        layers.append("shadow")
    for layer in layers:
        lines += [
            "LayerSetImageMap %s CHARS RECTS;" % layer,
            "LayerSetCharWidths %s CHARS ADVANCES;" % layer,
            "LayerSetCharOffsets %s CHARS OFFSETS;" % layer,
            "LayerSetKerningPairs %s PAIRS KERNS;" % layer,
        ]
    text = "\n".join(lines) + "\n"
    with open(os.path.join(OUT, name + ".txt"), "wb") as f:
        f.write(b"\xff\xfe" + text.encode("utf-16-le"))
    # The height the game computes: the lowest glyph bottom below the line top.
    height = max(g.box[3] + g.offset[1] for g in glyphs)
    print("%s: %dx%d, ascent %d, height %d, %d kerned pairs" % (name, atlas.width, atlas.height, ascent, height,
                                                                 len(pairs)))


def main():
    if not features.check("raqm"):
        sys.exit("PIL without RAQM layout: install libraqm0")
    os.makedirs(OUT, exist_ok=True)
    codes = repertoire()
    for name, ttf, size, title, shadow in FONTS:
        have = cmap_codes(ttf)
        for code in codes:
            if code not in have:
                sys.exit("%s has no glyph for U+%04X" % (os.path.basename(ttf), code))
        build(name, ttf, size, title, shadow, codes)
    with open(os.path.join(ASSETS, "fonts.xml"), "w", newline="\n") as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\n<fonts>\n')
        for font_id, name in IDS:
            f.write('  <font id="%s" name="fonts/%s.txt"/>\n' % (font_id, name))
        f.write("</fonts>\n")


if __name__ == "__main__":
    main()
