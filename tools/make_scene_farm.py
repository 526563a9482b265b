# Writes the main menu's farm (assets/mainmenu.xml): the barn with its loft opening, the loft
# hatch, the hay bale's rolling frames, the pennant's waving frames, the butterfly's wing beats
# and the firefly's glow, as RGBA PNGs under assets/textures/mainmenu/. The colours below are
# the ones the scene's screenshot checks look for.
# Run: /usr/bin/python3 tools/make_scene_farm.py   (from anywhere)
import math

from PIL import Image, ImageDraw
from scene_pictures import canvas, save


HATCH_BROWN = (120, 72, 36, 255)
STRAW = (226, 196, 96, 255)
LOFT = (24, 18, 14, 255)
BARN_RED = (176, 42, 34, 255)
ROOF = (70, 70, 82, 255)
TRIM = (238, 232, 220, 255)


def far(a, b, by=40):
    return max(abs(x - y) for x, y in zip(a[:3], b[:3])) > by


def barn():
    image = canvas(150, 120)
    draw = ImageDraw.Draw(image)
    draw.rectangle((8, 44, 141, 119), fill=BARN_RED)
    draw.polygon([(75, 0), (0, 46), (149, 46)], fill=ROOF)
    draw.rectangle((60, 14, 92, 40), fill=LOFT)
    draw.rectangle((50, 70, 100, 119), outline=TRIM, width=3)
    draw.line([(50, 70), (100, 119)], fill=TRIM, width=3)
    draw.line([(100, 70), (50, 119)], fill=TRIM, width=3)
    for p in ((42, 27), (75, 108)):
        assert far(image.getpixel(p), HATCH_BROWN) and far(image.getpixel(p), STRAW), p
    assert image.getpixel((75, 0))[3] == 255 and image.getpixel((76, 27)) == LOFT
    return image


def hatch():
    image = canvas(32, 26)
    draw = ImageDraw.Draw(image)
    draw.rectangle((0, 0, 31, 25), fill=HATCH_BROWN)
    for x in (7, 24):
        draw.line([(x, 0), (x, 25)], fill=(92, 54, 26, 255), width=1)
    draw.rectangle((0, 0, 31, 25), outline=(84, 48, 22, 255))
    assert image.getpixel((16, 13)) == HATCH_BROWN
    return image


def bale():
    # A round bale seen from its end, rolling a quarter turn a frame.
    sheet = canvas(96, 24)
    for k in range(4):
        frame = canvas(24, 24)
        draw = ImageDraw.Draw(frame)
        draw.ellipse((0, 0, 23, 23), fill=STRAW, outline=(170, 140, 60, 255))
        for ring in (4, 8):
            draw.arc((12 - ring, 12 - ring, 12 + ring, 12 + ring), k * 90, k * 90 + 200, fill=(184, 152, 66, 255))
        a = math.radians(k * 90)
        draw.line([(12 + 5 * math.cos(a), 12 + 5 * math.sin(a)), (12 + 10 * math.cos(a), 12 + 10 * math.sin(a))],
                  fill=(150, 120, 50, 255), width=2)
        assert frame.getpixel((12, 12)) == STRAW
        sheet.paste(frame, (k * 24, 0))
    return sheet


def flag():
    # Twelve phases of a pennant waving on its pole, four a row; its shading runs with the wave.
    sheet = canvas(192, 96)
    frames = []
    for k in range(12):
        frame = canvas(48, 32)
        pix = frame.load()
        phase = 2 * math.pi * k / 12
        for x in range(6, 46):
            t = (x - 6) / 40.0
            mid = 10 + 4 * math.sin(phase + t * 5) * t
            half = 8 * (1 - t) + 0.5
            shade = 0.55 + 0.45 * math.cos(phase + t * 6)
            colour = (int(60 + 40 * shade), int(40 + 120 * shade), int(90 + 165 * shade), 255)
            for y in range(32):
                if abs(y - mid) <= half:
                    pix[x, y] = colour
        for y in range(1, 32):
            pix[4, y] = pix[5, y] = (90, 90, 96, 255)
        frames.append(frame)
        sheet.paste(frame, ((k % 4) * 48, (k // 4) * 32))
    # Over the sky, any two frames differ by more than 24 in a channel in at least 200 pixels.
    sky = (110, 150, 210, 255)
    flat = [Image.alpha_composite(Image.new("RGBA", (48, 32), sky), f).load() for f in frames]
    for i in range(12):
        for j in range(i + 1, 12):
            a, b = flat[i], flat[j]
            differ = sum(1 for x in range(48) for y in range(32)
                         if max(abs(p - q) for p, q in zip(a[x, y], b[x, y])) > 24)
            assert differ >= 200, (i, j, differ)
    return sheet


def butterfly():
    # Wings from open to closed over four frames.
    sheet = canvas(128, 32)
    for k in range(4):
        frame = canvas(32, 32)
        draw = ImageDraw.Draw(frame)
        span = 15 - 3 * k
        for side in (-1, 1):
            x0, x1 = sorted((16, 16 + side * span))
            draw.ellipse((x0, 2, x1, 18), fill=(240, 150, 30, 255), outline=(60, 30, 10, 255))
            draw.ellipse((x0, 14, x1, 29), fill=(250, 200, 60, 255), outline=(60, 30, 10, 255))
        draw.line([(16, 4), (16, 28)], fill=(40, 24, 10, 255), width=3)
        # Even with its wings nearly shut it covers enough sky to be seen moving.
        assert sum(1 for p in frame.getdata() if p[3]) >= 200, k
        sheet.paste(frame, (k * 32, 0))
    return sheet


def firefly():
    # A yellow-green glow that swells and fades.
    sheet = canvas(96, 24)
    for k, radius in enumerate((5, 8, 11, 8)):
        frame = canvas(24, 24)
        pix = frame.load()
        for x in range(24):
            for y in range(24):
                d = math.hypot(x - 11.5, y - 11.5)
                if d <= radius:
                    pix[x, y] = (210, 255, 90, int(255 * (1 - d / (radius + 1)) ** 1.5))
        sheet.paste(frame, (k * 24, 0))
    return sheet


save("barn", barn())
save("hatch", hatch())
save("bale", bale())
save("flag", flag())
save("butterfly", butterfly())
save("firefly", firefly())
