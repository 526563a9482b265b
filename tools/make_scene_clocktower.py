# Writes the main menu's clock tower, its clock hand, the kite and the bee as RGBA PNGs under
# assets/textures/mainmenu/ (the belfry, windows, door glow and gulls reuse sun.png and birds.png).
# Run: /usr/bin/python3 tools/make_scene_clocktower.py   (from the repository root)
import math

from PIL import ImageDraw
from scene_pictures import canvas, save


STONE = (168, 156, 138, 255)
STONE_DARK = (118, 108, 96, 255)
ROOF = (120, 54, 40, 255)
OPENING = (46, 38, 34, 255)
DIAL = (246, 236, 206, 255)
INK = (40, 34, 30, 255)


def tower():
    # 80 x 320: the roof on the top 24 px, the belfry opening at (40, 40), the dial at (40, 90)
    # and three windows below; the hand is a separate picture.
    image = canvas(80, 320)
    draw = ImageDraw.Draw(image)
    draw.rectangle((8, 24, 71, 319), fill=STONE, outline=STONE_DARK)
    for y in range(40, 320, 16):
        draw.line([(9, y), (70, y)], fill=STONE_DARK)
    draw.polygon([(40, 0), (76, 24), (4, 24)], fill=ROOF)
    draw.rounded_rectangle((31, 30, 49, 50), radius=8, fill=OPENING)
    draw.ellipse((12, 62, 68, 118), fill=DIAL, outline=INK, width=2)
    for k in range(12):
        a = math.radians(k * 30)
        inner = 22 if k % 3 else 19
        draw.line([(40 + inner * math.sin(a), 90 - inner * math.cos(a)),
                   (40 + 26 * math.sin(a), 90 - 26 * math.cos(a))], fill=INK, width=2)
    for cy in (160, 210, 260):
        draw.rectangle((35, cy - 8, 44, cy + 7), fill=OPENING)
    return image


def clockhand():
    # 6 x 28, pointing up; it turns about (3, 24).
    image = canvas(6, 28)
    draw = ImageDraw.Draw(image)
    draw.polygon([(3, 0), (5, 6), (4, 27), (2, 27), (1, 6)], fill=INK)
    draw.ellipse((0, 21, 5, 26), fill=INK)
    return image


def kite():
    image = canvas(40, 52)
    draw = ImageDraw.Draw(image)
    top, right, bottom, left, centre = (20, 1), (38, 16), (20, 40), (2, 16), (20, 16)
    draw.polygon([top, right, centre], fill=(220, 40, 40, 255))
    draw.polygon([right, bottom, centre], fill=(250, 206, 40, 255))
    draw.polygon([bottom, left, centre], fill=(220, 40, 40, 255))
    draw.polygon([left, top, centre], fill=(250, 206, 40, 255))
    draw.line([top, bottom], fill=(90, 60, 40, 255))
    draw.line([left, right], fill=(90, 60, 40, 255))
    draw.line([(20, 40), (16, 45), (22, 48), (18, 51)], fill=(90, 60, 40, 255))
    for bow in ((14, 43, 18, 46), (19, 47, 23, 50)):
        draw.ellipse(bow, fill=(220, 40, 40, 255))
    return image


def bee():
    image = canvas(16, 14)
    draw = ImageDraw.Draw(image)
    draw.ellipse((3, 0, 9, 6), fill=(226, 240, 250, 190))
    draw.ellipse((8, 0, 14, 6), fill=(226, 240, 250, 190))
    draw.ellipse((1, 5, 15, 13), fill=(246, 196, 30, 255))
    for x in (5, 9):
        draw.line([(x, 5), (x, 13)], fill=(30, 24, 20, 255), width=2)
    draw.point((13, 8), fill=(30, 24, 20, 255))
    return image


save("tower", tower())
save("clockhand", clockhand())
save("kite", kite())
save("bee", bee())
