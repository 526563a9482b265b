# Writes the main menu's changing pictures (assets/mainmenu.xml): the halo behind the sun, the
# pond's two water pictures and the balloon in its two colourings, as RGBA PNGs under
# assets/textures/mainmenu/.
# Run: /usr/bin/python3 tools/make_scene_morph.py   (from anywhere)
import math

from PIL import Image, ImageDraw
from scene_pictures import save


HALO = (255, 190, 40)
WATER = (58, 112, 168)
RIPPLE = (176, 214, 238)
OUTLINE = (72, 72, 72, 255)
BASKET = (140, 92, 48, 255)


def halo():
    # Opaque from radius 56 to 96, falling to nothing at 40 inside and at 110 outside.
    size = 220
    image = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    centre = size / 2.0
    for y in range(size):
        for x in range(size):
            r = math.hypot(x + 0.5 - centre, y + 0.5 - centre)
            if r <= 40 or r >= 110:
                continue
            if r < 56:
                a = (r - 40) / 16.0
            elif r <= 96:
                a = 1.0
            else:
                a = (110 - r) / 14.0
            image.putpixel((x, y), HALO + (int(round(255 * a)),))
    return image


def pond(phase):
    # One ellipse of water; thin light ripples that run across it, moved by phase wavelengths.
    w, h = 140, 40
    wavelength = 18.0
    image = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    for y in range(h):
        for x in range(w):
            dx = (x + 0.5 - w / 2.0) / (w / 2.0)
            dy = (y + 0.5 - h / 2.0) / (h / 2.0)
            if dx * dx + dy * dy > 1.0:
                continue
            bend = 3.0 * math.sin(y / 5.0)
            wave = 0.5 + 0.5 * math.cos(2 * math.pi * ((x + bend) / wavelength + phase))
            t = wave ** 6
            colour = tuple(int(round(c + (r - c) * t)) for c, r in zip(WATER, RIPPLE))
            image.putpixel((x, y), colour + (255,))
    return image


def balloon(first, second):
    # The same balloon and basket; vertical stripes of two colours on the envelope.
    w, h = 60, 80
    image = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    cx, cy, rx, ry = 30.0, 28.0, 26.0, 27.0
    for y in range(h):
        for x in range(w):
            dx = (x + 0.5 - cx) / rx
            dy = (y + 0.5 - cy) / ry
            if dx * dx + dy * dy <= 1.0:
                image.putpixel((x, y), (first if (x // 7) % 2 == 0 else second) + (255,))
    draw = ImageDraw.Draw(image)
    draw.ellipse((cx - rx, cy - ry, cx + rx, cy + ry), outline=OUTLINE)
    for top, bottom in (((14, 50), (23, 66)), ((46, 50), (37, 66))):
        draw.line([top, bottom], fill=OUTLINE)
    draw.rectangle((22, 66, 38, 78), fill=BASKET, outline=OUTLINE)
    return image


def differing(a, b, limit):
    return sum(1 for p, q in zip(a.getdata(), b.getdata()) if max(abs(u - v) for u, v in zip(p, q)) > limit)


save("sun_halo", halo())
pond_a, pond_b = pond(0.0), pond(0.5)
changed = differing(pond_a, pond_b, 40)
assert changed >= 400, "the pond's pictures differ in only %d pixels" % changed
save("pond_a", pond_a)
save("pond_b", pond_b)
save("balloon_a", balloon((220, 40, 40), (246, 246, 246)))
save("balloon_b", balloon((40, 84, 220), (250, 212, 40)))
