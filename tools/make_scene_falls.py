# Writes the main menu's waterfall corner as RGBA PNGs under assets/textures/mainmenu/: the
# rock it falls from with the pool at its foot, the water strip that scrolls down it, the lip
# and the boulders drawn in front of the water, and the mist that drifts over the pool.
# Run: /usr/bin/python3 tools/make_scene_falls.py   (from anywhere)
import math
import random

from PIL import Image, ImageChops, ImageDraw
from scene_pictures import canvas, save, smooth, wrapped_blobs

# Where the pictures stand in the scene (assets/mainmenu.xml); the shapes below are written in
# scene pixels and moved by these corners.
CLIFF_AT = (1194, 548)
CLIFF_SIZE = (172, 220)
FRONT_AT = (1188, 584)
FRONT_SIZE = (178, 184)
# The water strip: two 32-pixel columns from the lip down to the pool.
WATER_X, WATER_TOP, WATER_W = 1240, 600, 64
MIST_SIZE = (160, 92)

ROCK = (128, 120, 110)
ROCK_LIGHT = (162, 154, 140)
ROCK_DARK = (88, 82, 76)
WET_ROCK = (70, 76, 82)
GRASS = (104, 168, 84)
GRASS_DARK = (70, 136, 60)
POOL = (84, 146, 196)
POOL_LIGHT = (176, 214, 240)


def moved(points, at):
    return [(x - at[0], y - at[1]) for x, y in points]


def scaled(points, k):
    return [(x * k, y * k) for x, y in points]


def rock(d, k, outline, at, seed):
    # A mass of rock: its outline filled, then ledges across it (a lit edge over a shadowed
    # one) and a few cracks down it; what leaves the outline is cut away by the caller.
    d.polygon(scaled(moved(outline, at), k), fill=ROCK)
    rnd = random.Random(seed)
    xs = [x for x, _ in outline]
    ys = [y for _, y in outline]
    left, right, top, bottom = min(xs), max(xs), min(ys), max(ys)
    y = top + rnd.uniform(4, 10)
    while y < bottom:
        tilt = rnd.uniform(-0.12, 0.12)
        x = left - rnd.uniform(0, 20)
        while x < right:
            # Broken ledges rather than lines right across: rock splits in pieces.
            length = rnd.uniform(14, 44)
            ledge = [(px, y + tilt * (px - left) + 1.5 * math.sin(px / 7.0 + y))
                     for px in range(int(x), int(x + length), 3)]
            if len(ledge) > 1:
                d.line(scaled(moved([(px, py + 2) for px, py in ledge], at), k), fill=ROCK_DARK, width=2 * k)
                d.line(scaled(moved(ledge, at), k), fill=ROCK_LIGHT, width=k)
            x += length + rnd.uniform(5, 18)
        y += rnd.uniform(11, 18)
    for _ in range(8):
        x = rnd.uniform(left, right)
        y = rnd.uniform(top, bottom)
        crack = [(x, y), (x + rnd.uniform(-4, 4), y + rnd.uniform(6, 12)),
                 (x + rnd.uniform(-6, 6), y + rnd.uniform(12, 20))]
        d.line(scaled(moved(crack, at), k), fill=ROCK_DARK, width=k)


def shaded(image, top, bottom, strength):
    # Darker towards the bottom, as rock in its own shadow.
    w, h = image.size
    shade = Image.new("RGBA", (w, h), (40, 36, 32, 0))
    ramp = Image.new("L", (w, h))
    for y in range(h):
        t = min(1.0, max(0.0, (y - top) / float(bottom - top)))
        ramp.paste(int(strength * t), (0, y, w, y + 1))
    shade.putalpha(ImageChops.multiply(ramp, image.getchannel("A")))
    return Image.alpha_composite(image, shade)


def inside(shape, image):
    # Keeps of the image only what lies inside the shape's opaque part.
    alpha = ImageChops.multiply(image.getchannel("A"), shape.getchannel("A"))
    image.putalpha(alpha)
    return image


CLIFF_OUTLINE = [(1194, 644), (1200, 614), (1208, 592), (1218, 578), (1230, 571), (1238, 574),
                 (1243, 588), (1248, 600), (1296, 600), (1302, 586), (1310, 568), (1322, 557),
                 (1338, 551), (1366, 548), (1366, 768), (1194, 768)]


def cliff():
    w, h = CLIFF_SIZE
    at = CLIFF_AT

    def shape(d, k):
        d.polygon(scaled(moved(CLIFF_OUTLINE, at), k), fill=(255, 255, 255, 255))

    def paint(d, k):
        rock(d, k, CLIFF_OUTLINE, at, 7)
        # Behind the water the rock is wet and dark: the gully the water runs down.
        gully = [(1244, 596), (1300, 596), (1308, 736), (1236, 736)]
        d.polygon(scaled(moved(gully, at), k), fill=WET_ROCK)
        for x in range(1246, 1300, 7):
            d.line(scaled(moved([(x, 600), (x + 2, 734)], at), k), fill=ROCK_DARK, width=k)
        # Grass on the two shoulders, following the top edge.
        for a, b in ((0, 7), (8, 14)):
            edge = CLIFF_OUTLINE[a:b]
            d.line(scaled(moved(edge, at), k), fill=GRASS_DARK, width=7 * k, joint="curve")
            d.line(scaled(moved([(x, y - 1) for x, y in edge], at), k), fill=GRASS, width=4 * k, joint="curve")
        # The pool the water falls into, at the foot of the rock.
        d.ellipse(scaled(moved([(1204, 724), (1384, 790)], at), k), fill=ROCK_DARK)
        d.ellipse(scaled(moved([(1208, 728), (1380, 788)], at), k), fill=POOL)
        for rx, ry in ((26, 5), (46, 9), (66, 13)):
            d.ellipse(scaled(moved([(1272 - rx, 740 - ry), (1272 + rx, 740 + ry)], at), k),
                      outline=POOL_LIGHT, width=k)

    painted = shaded(smooth(w, h, paint), 60, h, 110)
    return inside(smooth(w, h, shape), painted)


LIP = [(1234, 594), (1242, 587), (1258, 583), (1286, 583), (1302, 587), (1312, 594), (1308, 604),
       (1292, 609), (1254, 609), (1238, 604)]
# The left pile hides where the mist begins: it covers x 1212 from y 676 to the screen's edge.
BOULDERS = [(1186, 698, 1240, 774), (1194, 662, 1234, 712), (1220, 716, 1254, 748), (1338, 736, 1384, 780)]


def boulder(d, k, box, at):
    x0, y0, x1, y1 = box
    d.ellipse(scaled(moved([(x0, y0), (x1, y1)], at), k), fill=ROCK_DARK)
    d.ellipse(scaled(moved([(x0 + 1, y0 + 1), (x1 - 4, y1 - 5)], at), k), fill=ROCK)
    d.ellipse(scaled(moved([(x0 + 6, y0 + 5), (x0 + (x1 - x0) * 0.45, y0 + (y1 - y0) * 0.35)], at), k), fill=ROCK_LIGHT)


def front_rocks():
    w, h = FRONT_SIZE
    at = FRONT_AT

    def paint(d, k):
        # The lip the water pours from: a ledge across the top of the strip, lit on top and
        # dark underneath, with grass along it.
        d.polygon(scaled(moved(LIP, at), k), fill=ROCK)
        d.polygon(scaled(moved([(1238, 600), (1308, 600), (1308, 604), (1292, 609), (1254, 609), (1238, 604)], at), k),
                  fill=ROCK_DARK)
        d.line(scaled(moved(LIP[1:5], at), k), fill=ROCK_LIGHT, width=3 * k, joint="curve")
        d.line(scaled(moved([(x, y - 1) for x, y in LIP[:6]], at), k), fill=GRASS, width=3 * k, joint="curve")
        for box in BOULDERS:
            boulder(d, k, box, at)
        for x in range(1188, 1250, 9):
            d.polygon(scaled(moved([(x, 768), (x + 4, 754), (x + 8, 768)], at), k), fill=GRASS_DARK)

    return smooth(w, h, paint)


def waterfall():
    # 32 x 128, tiled down the strip: blue water with white streaks of foam; every streak is
    # drawn again one height lower and higher, so the picture tiles without a seam.
    w, h = 32, 128
    image = Image.new("RGBA", (w, h), (120, 170, 220, 230))
    draw = ImageDraw.Draw(image)
    for k in range(14):
        x = (k * 7 + 3) % w
        top = (k * 37) % h
        length = 30 + (k * 13) % 50
        colour = (255, 255, 255, 220) if k % 2 == 0 else (200, 228, 255, 220)
        for dy in (-h, 0, h):
            draw.line([(x, top + dy), (x, top + dy + length)], fill=colour, width=2)
    return image


def mist():
    # Drifts sideways over the pool: it tiles across, and fades out towards its top edge so that
    # it has no edge there; its left edge is hidden by the boulders, its right and bottom ones
    # are the screen's.
    w, h = MIST_SIZE
    rnd = random.Random(5)
    blobs = [(rnd.uniform(0, w), rnd.uniform(h * 0.35, h), rnd.uniform(20, 34), rnd.uniform(9, 16),
              (255, 255, 255, 150)) for _ in range(14)]
    image = wrapped_blobs(w, h, blobs, 6, wrap_x=True)
    fade = Image.new("L", (w, h))
    for y in range(h):
        t = min(1.0, y / (h * 0.6))
        fade.paste(int(255 * (0.5 - 0.5 * math.cos(math.pi * t))), (0, y, w, y + 1))
    image.putalpha(ImageChops.multiply(image.getchannel("A"), fade))
    return image


save("cliff", cliff())
save("cliffrocks", front_rocks())
save("waterfall", waterfall())
save("mist", mist())
