#!/usr/bin/python3
# Writes the level and bench pictures, the cell, glyph, swatch, tileset and frame textures and
# the colour table panel under assets/textures/; assets/stages.xml from the LEVELS table and the
# tileset lists under assets/tilesets/ from the TILESETS table.
# Run from anywhere: /usr/bin/python3 tools/gen_pictures.py
#
# Level pictures are written by hand (zlib + struct): PIL packs small palettes into fewer
# bits and pads a forced 8-bit PLTE to 256 entries, and the game wants exactly one PLTE
# entry per colour number, white last.
import os
import random
import struct
import zlib

from PIL import Image, ImageDraw, ImageFont

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "assets", "textures")
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
WHITE = (255, 255, 255)
BG = 255  # index of the background while a motif is drawn, before renumbering

# Picture colours: clearly apart, of mixed lightness, none pure white.
COLORS = [
    (34, 34, 34), (243, 195, 0), (135, 86, 146), (243, 132, 0), (161, 202, 241),
    (190, 0, 50), (194, 178, 128), (132, 132, 130), (0, 136, 86), (230, 143, 172),
    (0, 103, 165), (249, 147, 121), (96, 78, 151), (246, 166, 0), (179, 68, 108),
    (220, 211, 0), (136, 45, 23), (141, 182, 0), (101, 69, 34), (226, 88, 34),
    (43, 61, 38), (20, 30, 110), (64, 224, 208), (255, 182, 193), (120, 255, 60),
    (128, 0, 128), (0, 128, 128), (255, 230, 140), (160, 82, 45), (236, 236, 236),
]


def _chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def write_paletted_png(path, width, height, pixels, palette):
    """pixels: bytes of width*height palette indexes; palette: list of RGB triples."""
    raw = b"".join(b"\x00" + bytes(pixels[y * width:(y + 1) * width]) for y in range(height))
    png = b"\x89PNG\r\n\x1a\n"
    png += _chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 3, 0, 0, 0))
    png += _chunk(b"PLTE", b"".join(bytes(c) for c in palette))
    png += _chunk(b"IDAT", zlib.compress(raw, 9))
    png += _chunk(b"IEND", b"")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(png)


def save_motif(path, canvas, colors):
    """canvas: an 'L' image whose values index `colors`, BG for white. Every used entry gets
    a number in order of first use; white, when present, becomes the last entry."""
    data = canvas.tobytes()
    used = []
    seen = set()
    for v in data:
        if v != BG and v not in seen:
            seen.add(v)
            used.append(v)
    remap = {v: i for i, v in enumerate(used)}
    palette = [colors[v] for v in used]
    if BG in set(data):
        remap[BG] = len(palette)
        palette.append(WHITE)
    pixels = bytes(remap[v] for v in data)
    write_paletted_png(path, canvas.width, canvas.height, pixels, palette)
    return len(used)


def new_canvas(w, h):
    img = Image.new("L", (w, h), BG)
    return img, ImageDraw.Draw(img)


def sx(w, v):
    return v * w / 100.0


def heart(w, h):
    img, d = new_canvas(w, h)
    rows = ["........",
            ".XX..XX.",
            "XXXXXXXX",
            "XoXXXXXX",
            "XXXXXXXX",
            ".XXXXXX.",
            "..XXXX..",
            "...XX..."]
    for y, row in enumerate(rows):
        for x, ch in enumerate(row):
            if ch == "X":
                d.point((x, y), 5)
            elif ch == "o":
                d.point((x, y), 23)
    return img


def kite(w, h):
    img, d = new_canvas(w, h)
    cx, cy = w // 2, h // 2 - 2
    d.polygon([(cx, 1), (w - 3, cy), (cx, h - 5), (2, cy)], fill=5)
    d.polygon([(cx, 1), (w - 3, cy), (cx, cy)], fill=10)
    d.polygon([(cx, h - 5), (2, cy), (cx, cy)], fill=1)
    d.line([(cx, h - 5), (cx + 2, h - 1)], fill=0)
    return img


def tree(w, h):
    img, d = new_canvas(w, h)
    d.rectangle([w // 2 - 1, h - 4, w // 2, h - 1], fill=18)
    d.ellipse([1, 0, w - 2, h - 3], fill=8)
    d.ellipse([3, 2, 6, 5], fill=17)
    d.point((8, 4), 5)
    d.point((4, 7), 5)
    return img


def house(w, h):
    img, d = new_canvas(w, h)
    d.rectangle([0, h - 2, w - 1, h - 1], fill=17)
    d.rectangle([3, 7, w - 4, h - 3], fill=6)
    d.polygon([(1, 7), (w // 2, 1), (w - 2, 7)], fill=16)
    d.rectangle([8, 10, 10, h - 3], fill=18)
    d.rectangle([4, 9, 6, 11], fill=4)
    d.rectangle([w - 7, 9, w - 5, 11], fill=4)
    d.rectangle([w - 6, 1, w - 5, 4], fill=7)
    return img


def flower(w, h):
    img, d = new_canvas(w, h)
    cx, cy = w // 2, 9
    d.line([(cx, cy), (cx, h - 1)], fill=8, width=2)
    d.ellipse([cx, 14, cx + 6, 17], fill=17)
    for dx, dy in ((-5, 0), (5, 0), (0, -5), (0, 5)):
        d.ellipse([cx + dx - 3, cy + dy - 3, cx + dx + 3, cy + dy + 3], fill=9)
    d.ellipse([cx - 3, cy - 3, cx + 3, cy + 3], fill=1)
    d.point((cx, cy), 3)
    return img


def owl(w, h):
    img, d = new_canvas(w, h)
    d.ellipse([3, 3, w - 4, h - 2], fill=18)
    d.ellipse([6, 8, w - 7, h - 3], fill=6)
    d.polygon([(3, 1), (6, 5), (3, 6)], fill=18)
    d.polygon([(w - 4, 1), (w - 7, 5), (w - 4, 6)], fill=18)
    d.ellipse([5, 4, 9, 8], fill=27)
    d.ellipse([w - 10, 4, w - 6, 8], fill=27)
    d.point((7, 6), 0)
    d.point((w - 8, 6), 0)
    d.polygon([(w // 2 - 1, 8), (w // 2, 10), (w // 2 + 1, 8)], fill=3)
    d.line([(6, h - 1), (w - 7, h - 1)], fill=13)
    return img


def boat(w, h):
    img, d = new_canvas(w, h)
    d.rectangle([0, 0, w - 1, 15], fill=4)
    d.ellipse([24, 1, 29, 6], fill=1)
    d.rectangle([0, 17, w - 1, h - 1], fill=10)
    d.line([(0, 20), (w - 1, 20)], fill=22)
    d.polygon([(4, 15), (w - 5, 15), (w - 9, 19), (8, 19)], fill=16)
    d.line([(16, 2), (16, 14)], fill=0)
    d.polygon([(17, 2), (17, 13), (26, 13)], fill=27)
    d.polygon([(15, 4), (15, 13), (8, 13)], fill=5)
    d.point((11, 16), 1)
    d.point((21, 16), 1)
    return img


def fish(w, h):
    img, d = new_canvas(w, h)
    d.rectangle([0, 0, w - 1, h - 1], fill=21)
    for y in range(2, h, 6):
        d.line([(0, y), (w - 1, y)], fill=10)
    d.ellipse([6, 7, 30, 23], fill=3)
    d.polygon([(28, 15), (38, 7), (38, 23)], fill=13)
    d.ellipse([10, 11, 13, 14], fill=27)
    d.point((11, 12), 0)
    d.line([(18, 8), (18, 22)], fill=19, width=2)
    d.line([(23, 9), (23, 21)], fill=19, width=2)
    d.polygon([(16, 7), (22, 3), (24, 8)], fill=11)
    d.rectangle([0, h - 3, w - 1, h - 1], fill=6)
    d.ellipse([34, 2, 37, 5], fill=22)
    d.line([(3, h - 4), (3, h - 10)], fill=8)
    return img


def lighthouse(w, h):
    img, d = new_canvas(w, h)
    d.rectangle([0, 0, w - 1, 59], fill=4)
    d.ellipse([70, 8, 86, 24], fill=27)
    d.rectangle([0, 60, w - 1, h - 1], fill=10)
    d.polygon([(0, 70), (45, 58), (60, 64), (30, 100), (0, 100)], fill=7)
    d.polygon([(0, 85), (60, 70), (70, 100), (0, 100)], fill=20)
    d.polygon([(30, 70), (44, 70), (41, 20), (33, 20)], fill=5)
    for y in (30, 45, 60):
        d.polygon([(31, y + 6), (43, y + 6), (43, y), (31, y)], fill=29)
    d.rectangle([30, 12, 44, 20], fill=0)
    d.rectangle([33, 13, 41, 18], fill=1)
    d.polygon([(29, 12), (37, 5), (45, 12)], fill=16)
    d.polygon([(42, 14), (99, 2), (99, 28)], fill=27)
    d.line([(50, 88), (90, 88)], fill=22, width=2)
    d.line([(60, 94), (99, 94)], fill=22, width=2)
    return img


def quilt(w, h):
    """No white anywhere; 24 colours: two pages of the colour table."""
    img, d = new_canvas(w, h)
    n = 6
    cell = w // n
    k = 0
    for by in range(n):
        for bx in range(n):
            a = k % 24
            b = (k * 7 + 5) % 24
            x0, y0 = bx * cell, by * cell
            d.rectangle([x0, y0, x0 + cell - 1, y0 + cell - 1], fill=a)
            d.polygon([(x0, y0), (x0 + cell - 1, y0), (x0, y0 + cell - 1)], fill=b)
            k += 1
    return img


def balloons(w, h):
    """Exactly thirty colours: the limit of the number glyphs."""
    img, d = new_canvas(w, h)
    d.rectangle([0, h - 6, w - 1, h - 1], fill=8)
    d.rectangle([0, h - 3, w - 1, h - 1], fill=20)
    rnd = random.Random(30)
    for i in range(28):
        col = [0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 21,
               22, 23, 24, 25, 26, 27, 28, 29][i]
        x = 2 + (i % 7) * 6 + int(rnd.random() * 2)
        y = 2 + (i // 7) * 8 + int(rnd.random() * 2)
        d.line([(x + 2, y + 5), (x + 2, y + 7)], fill=7 if col != 7 else 0)
        d.ellipse([x, y, x + 4, y + 5], fill=col)
    return img


def mountains(w, h):
    img, d = new_canvas(w, h)
    s = w / 100.0
    d.rectangle([0, 0, w - 1, int(55 * s)], fill=4)
    d.ellipse([int(70 * s), int(8 * s), int(84 * s), int(22 * s)], fill=1)
    for cx, cy, r in ((20, 14, 6), (28, 12, 7), (36, 15, 5), (55, 25, 5), (62, 23, 6)):
        d.ellipse([int((cx - r) * s), int((cy - r / 2) * s), int((cx + r) * s), int((cy + r / 2) * s)], fill=29)
    d.polygon([(0, int(70 * s)), (int(30 * s), int(25 * s)), (int(60 * s), int(70 * s))], fill=7)
    d.polygon([(int(21 * s), int(38 * s)), (int(30 * s), int(25 * s)), (int(39 * s), int(38 * s))], fill=27)
    d.polygon([(int(35 * s), int(70 * s)), (int(68 * s), int(30 * s)), (w - 1, int(70 * s))], fill=12)
    d.polygon([(int(60 * s), int(40 * s)), (int(68 * s), int(30 * s)), (int(76 * s), int(40 * s))], fill=27)
    d.rectangle([0, int(68 * s), w - 1, h - 1], fill=17)
    d.polygon([(0, int(80 * s)), (w - 1, int(74 * s)), (w - 1, h - 1), (0, h - 1)], fill=8)
    d.polygon([(int(40 * s), h - 1), (int(52 * s), int(76 * s)), (int(56 * s), int(76 * s)), (int(75 * s), h - 1)], fill=10)
    for i in range(9):
        x = int((5 + i * 11) * s)
        y = int((72 + (i % 3) * 7) * s)
        d.polygon([(x, y + int(10 * s)), (x + int(4 * s), y), (x + int(8 * s), y + int(10 * s))], fill=20)
        d.rectangle([x + int(3.5 * s), y + int(10 * s), x + int(4.5 * s), y + int(12 * s)], fill=18)
    for i in range(14):
        x = int((3 + i * 7) * s)
        d.ellipse([x, int(93 * s), x + int(2 * s), int(95 * s)], fill=[5, 1, 9, 3][i % 4])
    d.ellipse([int(80 * s), int(30 * s), int(83 * s), int(31 * s)], fill=0)
    d.ellipse([int(86 * s), int(33 * s), int(89 * s), int(34 * s)], fill=0)
    return img


def butterfly(w, h):
    img, d = new_canvas(w, h)
    cx = w // 2
    d.ellipse([2, 3, cx - 1, 17], fill=13)
    d.ellipse([cx, 3, w - 3, 17], fill=13)
    d.ellipse([5, 15, cx - 2, 27], fill=19)
    d.ellipse([cx + 1, 15, w - 6, 27], fill=19)
    d.ellipse([6, 7, 11, 12], fill=2)
    d.ellipse([w - 12, 7, w - 7, 12], fill=2)
    d.ellipse([8, 19, 11, 22], fill=22)
    d.ellipse([w - 12, 19, w - 9, 22], fill=22)
    d.rectangle([cx - 1, 5, cx, 27], fill=0)
    d.line([(cx - 1, 5), (cx - 5, 0)], fill=0)
    d.line([(cx, 5), (cx + 4, 0)], fill=0)
    return img


def star(w, h):
    img, d = new_canvas(w, h)
    d.polygon([(5, 0), (6, 3), (9, 3), (7, 5), (8, 9), (5, 7), (2, 9), (3, 5), (0, 3), (3, 3)], fill=1)
    d.rectangle([4, 4, 5, 5], fill=3)
    return img


def apple(w, h):
    img, d = new_canvas(w, h)
    d.ellipse([1, 3, w - 2, h - 1], fill=5)
    d.line([(7, 0), (7, 3)], fill=18)
    d.ellipse([8, 0, 12, 3], fill=8)
    d.point((4, 6), 29)
    return img


def cat(w, h):
    img, d = new_canvas(w, h)
    d.polygon([(2, 1), (6, 5), (2, 6)], fill=3)
    d.polygon([(w - 3, 1), (w - 7, 5), (w - 3, 6)], fill=3)
    d.ellipse([1, 3, w - 2, h - 1], fill=3)
    d.ellipse([4, 7, 6, 9], fill=8)
    d.ellipse([w - 7, 7, w - 5, 9], fill=8)
    d.polygon([(7, 10), (8, 11), (9, 10)], fill=23)
    d.line([(5, 12), (10, 12)], fill=0)
    return img


def snail(w, h):
    img, d = new_canvas(w, h)
    d.rectangle([0, h - 2, w - 1, h - 1], fill=8)
    d.rectangle([1, h - 5, w - 2, h - 3], fill=6)
    d.ellipse([5, 1, 19, h - 4], fill=14)
    d.ellipse([9, 5, 15, h - 8], fill=11)
    d.ellipse([11, 7, 13, h - 10], fill=14)
    d.line([(w - 4, h - 5), (w - 2, 3)], fill=6)
    d.point((w - 2, 2), 0)
    return img


def castle(w, h):
    img, d = new_canvas(w, h)
    d.rectangle([0, 0, w - 1, 47], fill=4)
    d.ellipse([21, 3, 29, 11], fill=1)
    d.rectangle([0, 48, w - 1, h - 1], fill=8)
    d.rectangle([10, 20, 49, 49], fill=7)
    for x in range(10, 50, 6):
        d.rectangle([x, 17, x + 2, 19], fill=7)
    d.rectangle([4, 10, 14, 49], fill=7)
    d.rectangle([45, 10, 55, 49], fill=7)
    d.polygon([(3, 10), (9, 2), (15, 10)], fill=5)
    d.polygon([(44, 10), (50, 2), (56, 10)], fill=5)
    d.rectangle([25, 34, 34, 49], fill=18)
    d.ellipse([25, 30, 34, 38], fill=18)
    d.rectangle([7, 18, 11, 22], fill=0)
    d.rectangle([48, 18, 52, 22], fill=0)
    d.rectangle([22, 54, 37, h - 1], fill=6)
    d.rectangle([0, 44, w - 1, 47], fill=10)
    return img


LEVELS = [
    # name, width, height, motif, expected non-white colours, mode, stage, tileset.
    # Mode 0 climbs from small pictures to the largest; its first stage keeps to 16 x 16 and
    # at most five colours for the first tips and fly hints.
    ("heart", 8, 8, heart, 2, 0, 0, "classic"),
    ("star", 10, 10, star, 2, 0, 0, "classic"),
    ("tree", 12, 12, tree, 4, 0, 0, "classic"),
    ("apple", 14, 14, apple, 4, 0, 0, "classic"),
    ("kite", 16, 16, kite, 4, 0, 0, "classic"),
    ("house", 20, 15, house, 6, 0, 1, "classic"),
    ("owl", 20, 20, owl, 6, 0, 1, "classic"),
    ("flower", 24, 24, flower, 5, 0, 1, "classic"),
    ("quilt", 36, 36, quilt, 24, 0, 1, "classic"),
    ("fish", 40, 30, fish, 11, 0, 2, "pastel"),
    ("balloons", 48, 36, balloons, 30, 0, 2, "pastel"),
    ("lighthouse", 100, 100, lighthouse, 11, 0, 2, "pastel"),
    ("cat", 16, 16, cat, 4, 1, 0, "pastel"),
    ("snail", 24, 18, snail, 5, 1, 0, "pastel"),
    ("boat", 32, 24, boat, 8, 1, 1, "pastel"),
    ("butterfly", 32, 28, butterfly, 5, 1, 1, "pastel"),
    ("castle", 60, 60, castle, 9, 1, 2, "pastel"),
    ("mountains", 300, 300, mountains, 15, 1, 2, "pastel"),
]


def write_levels():
    for name, w, h, motif, expected, _mode, _stage, _tileset in LEVELS:
        count = save_motif(os.path.join(ROOT, "levels", name + ".png"), motif(w, h), COLORS)
        if count != expected:
            raise SystemExit("%s: %d colours, %d expected" % (name, count, expected))


def write_bench():
    for n in (100, 300, 1000):
        rnd = random.Random(n)
        grid = bytearray(n * n)
        for y0 in range(0, n, 10):
            for x0 in range(0, n, 10):
                v = int(rnd.random() * 17)  # 16 colours plus white
                for y in range(y0, min(n, y0 + 10)):
                    grid[y * n + x0:y * n + min(n, x0 + 10)] = bytes([v]) * (min(n, x0 + 10) - x0)
        palette = COLORS[:16] + [WHITE]
        if len(set(grid)) != 17:
            raise SystemExit("mosaic%d does not use every colour" % n)
        write_paletted_png(os.path.join(ROOT, "bench", "mosaic%d.png" % n), n, n, grid, palette)
        write_paletted_png(os.path.join(ROOT, "bench", "solid%d.png" % n), n, n,
                           bytes(n * n), [COLORS[10]])


def save_rgba(img, rel):
    path = os.path.join(ROOT, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    img.save(path, optimize=False)


def smooth(size, draw_fn, factor=4):
    """Draws at factor times the size and scales down, for soft edges."""
    big = Image.new("RGBA", (size[0] * factor, size[1] * factor), (0, 0, 0, 0))
    draw_fn(ImageDraw.Draw(big), factor)
    return big.resize(size, Image.LANCZOS)


def write_cells():
    frame = Image.new("RGBA", (26, 26), (0, 0, 0, 0))
    ImageDraw.Draw(frame).rectangle([0, 0, 25, 25], outline=(64, 64, 64, 160))
    save_rgba(frame, "scuare26.png")
    save_rgba(Image.new("RGBA", (26, 26), (255, 255, 255, 255)), "scuare26white.png")
    save_rgba(Image.new("RGBA", (1, 1), (0, 0, 0, 0)), "scuare1.png")
    save_rgba(Image.new("RGBA", (1, 1), (255, 255, 255, 255)), "scuare1white.png")


def glyph_strip(width, row_height, font_size):
    font = ImageFont.truetype(FONT, font_size)
    strip = Image.new("RGBA", (width, row_height * 30), (0, 0, 0, 0))
    d = ImageDraw.Draw(strip)
    for n in range(30):
        d.text((width / 2, n * row_height + row_height / 2), str(n + 1), font=font,
               fill=(255, 255, 255, 255), anchor="mm")
    return strip


def write_glyphs():
    save_rgba(glyph_strip(26, 20, 13), "tilesets/basenumbers20.png")
    save_rgba(glyph_strip(40, 28, 20), "tilesets/basenumbers20white.png")


def write_swatches():
    def color(d, f):
        d.rounded_rectangle([2 * f, 2 * f, 54 * f - 1, 54 * f - 1], radius=9 * f,
                            fill=(255, 255, 255, 255))
    save_rgba(smooth((56, 56), color), "tilesets/color.png")

    def frame(d, f):
        d.rounded_rectangle([0, 0, 56 * f - 1, 56 * f - 1], radius=11 * f, fill=(40, 40, 40, 255))
        d.rounded_rectangle([f, f, 55 * f - 1, 55 * f - 1], radius=10 * f, fill=(255, 255, 255, 255))
        d.rounded_rectangle([4 * f, 4 * f, 52 * f - 1, 52 * f - 1], radius=8 * f, fill=(40, 40, 40, 255))
        d.rounded_rectangle([5 * f, 5 * f, 51 * f - 1, 51 * f - 1], radius=7 * f, fill=(0, 0, 0, 0))
    save_rgba(smooth((56, 56), frame), "tilesets/frame.png")

    def complete(d, f):
        d.ellipse([29 * f, 29 * f, 55 * f - 1, 55 * f - 1], fill=(20, 90, 30, 255))
        d.ellipse([30 * f, 30 * f, 54 * f - 1, 54 * f - 1], fill=(40, 170, 60, 255))
        d.line([(35 * f, 42 * f), (40 * f, 48 * f), (49 * f, 35 * f)], fill=(255, 255, 255, 255),
               width=3 * f, joint="curve")
    save_rgba(smooth((56, 56), complete), "tilesets/complete.png")

    def back(d, f):
        d.rounded_rectangle([0, 0, 256 * f - 1, 314 * f - 1], radius=14 * f, fill=(30, 40, 60, 220))
        d.rounded_rectangle([4 * f, 4 * f, 252 * f - 1, 310 * f - 1], radius=11 * f,
                            fill=(60, 75, 105, 170))
    save_rgba(smooth((256, 314), back, 2), "gui/gamescreen/colortableback.png")


# The tilesets of assets/tilesets/tilesets.xml: name -> (rounded, cell colour, edge colour).
TILESETS = {
    "classic": (False, (250, 250, 250, 255), (70, 70, 70, 255)),
    "pastel": (True, (255, 244, 236, 255), (214, 170, 190, 255)),
}


def tile_image(rounded, fill, edge, size=26):
    if not rounded:
        img = Image.new("RGBA", (size, size), (0, 0, 0, 0))
        d = ImageDraw.Draw(img)
        d.rectangle([0, 0, size - 1, size - 1], fill=edge)
        d.rectangle([1, 1, size - 2, size - 2], fill=fill)
        return img

    def draw(d, f):
        d.rounded_rectangle([0, 0, size * f - 1, size * f - 1], radius=6 * f, fill=edge)
        d.rounded_rectangle([2 * f, 2 * f, (size - 2) * f - 1, (size - 2) * f - 1], radius=5 * f, fill=fill)
    return smooth((size, size), draw)


def shaded(colour, factor):
    return tuple(min(255, int(c * factor)) for c in colour[:3]) + (colour[3],)


def write_tilesets():
    for name, (rounded, fill, edge) in TILESETS.items():
        tile1 = tile_image(rounded, fill, edge)
        save_rgba(tile1, "tilesets/%s/tile1.png" % name)
        save_rgba(tile_image(rounded, shaded(fill, 0.9), shaded(edge, 0.8)), "tilesets/%s/tile2.png" % name)
        preview = Image.new("RGBA", (160, 100), shaded(edge, 0.6))
        for row in range(3):
            for col in range(5):
                cell = tile_image(rounded, COLORS[(row * 5 + col * 3) % len(COLORS)] + (255,), edge)
                preview.alpha_composite(cell, (8 + col * 30, 11 + row * 27))
        save_rgba(preview, "tilesets/preview%s.png" % name)
        write_text("tilesets/%s.xml" % name, [
            '<?xml version="1.0" encoding="UTF-8"?>',
            '<tileset numbers="1,2,3,4,5,6,7,8,9,10">',
            '  <tile group="0" type="0" sprite="textures/tilesets/%s/tile1"/>' % name,
            '  <tile group="1" type="1" mast="1" overcolor="0" sprite="textures/tilesets/%s/tile2"/>' % name,
            '  <numbershapes group="0"/>',
            "</tileset>"])
    # The first one is what start-up loads.
    write_text("tilesets/tilesets.xml", ['<?xml version="1.0" encoding="UTF-8"?>', "<tilesets>"] + [
        '  <tileset name="%s" path="tilesets/%s.xml" preview="textures/tilesets/preview%s"/>' % (n, n, n)
        for n in TILESETS] + ["</tilesets>"])


def write_text(rel, lines):
    """A text file under assets/, LF line ends."""
    with open(os.path.join(ROOT, "..", rel), "w", newline="\n") as f:
        f.write("\n".join(lines + [""]))


def write_frames():
    ring = Image.new("RGBA", (64, 64), (0, 0, 0, 0))
    d = ImageDraw.Draw(ring)
    d.rectangle([0, 0, 63, 63], fill=(90, 70, 50, 255))
    d.rectangle([4, 4, 59, 59], fill=(0, 0, 0, 0))
    save_rgba(ring, "frames/plain.png")
    save_rgba(Image.new("RGBA", (64, 64), (245, 240, 228, 255)), "frames/plainback.png")


STAGE_LISTS = [("stages", "stage"), ("stagesusual", "usual")]
STARS = ("complete,4error,90time;complete,2error,85time;complete,0error,75time;"
         "complete,2error,85time;complete,4error,90time")
SECRET_LEVEL = "kite"  # the level that the one secret record reaches


def preview_type(w, h):
    if w != h:
        return 2
    return 0 if w <= 16 else 1


def write_stages_xml():
    out = ['<?xml version="1.0" encoding="UTF-8"?>', "<stagesfile>", "  <frames>",
           '    <frame id="plain" frame="textures/frames/plain" back="textures/frames/plainback"'
           ' x="0" y="0" xback="4" yback="4"/>', "  </frames>"]
    for mode, (tag, prefix) in enumerate(STAGE_LISTS):
        out.append('  <%s folder="levels/">' % tag)
        stages = sorted({row[6] for row in LEVELS if row[5] == mode})
        for stage in stages:
            rows = [row for row in LEVELS if row[5] == mode and row[6] == stage]
            sound_id = "%s%ddone" % (prefix, stage + 1)
            out.append('    <stage soundlist="%s%dsnd">' % (prefix, stage + 1))
            out.append('      <sound id="%s" name="sounds/stagechime" volume="0.8"/>' % sound_id)
            for i, (name, w, h, _motif, _colours, _mode, _stage, tileset) in enumerate(rows):
                attrs = 'filename="%s.png" name="%s" laytype="0" maxerrors="0" tileset="%s" previewtype="%d"' % (
                    name, name, tileset, preview_type(w, h))
                if i == len(rows) - 1:
                    attrs += ' sound="%s"' % sound_id
                if mode == 0 and name == SECRET_LEVEL:
                    attrs += ' secretidx="0"'
                out.append('      <level %s' % attrs)
                out.append('             stars="%s"/>' % STARS)
            out.append("    </stage>")
        if mode == 0:
            out.append('    <tilesets gametype="0" canchange="1" needreshuffle="0" tilesets="%s"/>'
                       % ",".join(TILESETS))
        out.append("  </%s>" % tag)
    out += ["  <secrets>",
            '    <level secrettileset="pastel" secrets="kite,boat" secretpoints="2,3;5,1" framepocket="plain"'
            ' info="hidden"/>', "  </secrets>", '  <mosaicinfo id="0"/>', "</stagesfile>", ""]
    write_text("stages.xml", out[:-1])


def main():
    write_levels()
    write_bench()
    write_cells()
    write_glyphs()
    write_swatches()
    write_tilesets()
    write_frames()
    write_stages_xml()


if __name__ == "__main__":
    main()
