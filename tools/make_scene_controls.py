# Writes the main menu's puzzle corner (the board with its reel of sun, moon and star, the
# plaque that echoes it, the well with its rope and bucket, and the lamps) as RGBA PNGs under
# assets/textures/mainmenu/. The menu's X check reads the colours fixed here.
# Run: /usr/bin/python3 tools/make_scene_controls.py   (from the repository root)
import math

from PIL import Image, ImageDraw
from scene_pictures import canvas, save


WOOD = (132, 86, 44, 255)
WOOD_DARK = (92, 58, 28, 255)
WINDOW = (28, 22, 18, 255)
SUN_SKY = (96, 170, 232, 255)
SUN_DISC = (255, 214, 64, 255)
MOON_SKY = (24, 32, 84, 255)
MOON_FACE = (232, 232, 200, 255)
STAR_SKY = (112, 52, 140, 255)
STAR_FILL = (250, 236, 120, 255)
STONE = (128, 128, 120, 255)
STONE_DARK = (88, 88, 84, 255)
WATER = (36, 60, 90, 255)
ROPE = (196, 160, 96, 255)
BUCKET = (150, 96, 52, 255)
BUCKET_BAND = (70, 70, 76, 255)
METAL = (60, 60, 66, 255)
GLASS_DARK = (44, 50, 62, 255)
FLAME = (255, 184, 48, 255)
GLOW = (255, 226, 150, 255)


def board():
    # A plank on a post; the reel shows through the dark window at (34, 16). An iron bracket
    # reaches out from its top right corner and holds the echo's plaque, whose top edge hangs
    # at (132, 10) on its hook.
    image = canvas(150, 140)
    d = ImageDraw.Draw(image)
    d.rectangle([44, 76, 55, 139], fill=WOOD_DARK)
    d.line([96, 24, 122, 5], fill=METAL, width=3)
    d.rectangle([94, 2, 140, 5], fill=METAL)
    d.ellipse([138, 0, 145, 7], outline=METAL, width=2)
    d.line([132, 5, 132, 11], fill=METAL, width=2)
    d.rectangle([0, 0, 99, 79], fill=WOOD, outline=WOOD_DARK, width=2)
    for y in (26, 52):
        d.line([4, y, 95, y], fill=WOOD_DARK, width=1)
    d.rectangle([34, 16, 65, 47], fill=WINDOW)
    return image


def symbol(sky, draw_motif):
    image = Image.new("RGBA", (32, 32), sky)
    draw_motif(ImageDraw.Draw(image))
    return image


def sun_motif(d):
    d.ellipse([10, 10, 21, 21], fill=SUN_DISC)


def moon_motif(d):
    d.ellipse([9, 9, 22, 22], fill=MOON_FACE)
    d.ellipse([13, 7, 25, 19], fill=MOON_SKY)


def star_motif(d):
    points = []
    for i in range(10):
        r = 7 if i % 2 == 0 else 3
        a = math.pi / 2 + i * math.pi / 5
        points.append((16 + r * math.cos(a), 16 - r * math.sin(a)))
    d.polygon(points, fill=STAR_FILL)


def plaque():
    image = canvas(44, 44)
    d = ImageDraw.Draw(image)
    d.ellipse([0, 0, 43, 43], fill=WOOD, outline=WOOD_DARK, width=3)
    return image


def well():
    # Two posts and a beam over a stone ring; the rope hangs from the beam at x 35.
    image = canvas(70, 94)
    d = ImageDraw.Draw(image)
    d.rectangle([6, 2, 11, 70], fill=WOOD_DARK)
    d.rectangle([58, 2, 63, 70], fill=WOOD_DARK)
    d.rectangle([2, 0, 67, 6], fill=WOOD)
    d.rectangle([4, 56, 65, 93], fill=STONE, outline=STONE_DARK, width=2)
    d.ellipse([8, 50, 61, 64], fill=WATER, outline=STONE_DARK, width=2)
    for y in (70, 82):
        d.line([6, y, 63, y], fill=STONE_DARK, width=1)
    return image


def rope():
    # The thumb travels down from the track's centre: the rope fills the lower half.
    image = canvas(4, 80)
    ImageDraw.Draw(image).rectangle([1, 40, 2, 79], fill=ROPE)
    return image


def bucket():
    image = canvas(20, 18)
    d = ImageDraw.Draw(image)
    d.arc([3, 0, 16, 10], 180, 360, fill=METAL, width=1)
    d.polygon([(1, 4), (18, 4), (16, 17), (3, 17)], fill=BUCKET)
    d.line([2, 7, 17, 7], fill=BUCKET_BAND, width=1)
    d.line([3, 14, 16, 14], fill=BUCKET_BAND, width=1)
    return image


def lamp(lit):
    # A hanging lamp; pixel (12, 20) is the dark glass, or the flame when lit.
    image = canvas(24, 36)
    d = ImageDraw.Draw(image)
    d.ellipse([9, 0, 14, 5], outline=METAL, width=1)
    d.rectangle([6, 5, 17, 8], fill=METAL)
    d.rectangle([4, 9, 19, 30], fill=GLOW if lit else GLASS_DARK, outline=METAL, width=1)
    if lit:
        d.ellipse([8, 13, 16, 27], fill=FLAME)
    d.rectangle([5, 31, 18, 35], fill=METAL)
    return image


save("board", board())
save("sym_sun", symbol(SUN_SKY, sun_motif))
save("sym_moon", symbol(MOON_SKY, moon_motif))
save("sym_star", symbol(STAR_SKY, star_motif))
save("plaque", plaque())
save("well", well())
save("rope", rope())
save("bucket", bucket())
save("lamp_off", lamp(False))
save("lamp_on", lamp(True))
