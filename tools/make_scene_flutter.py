# Writes the main menu scene's fluttering butterfly (butterfly1-3: wings open, half-closed,
# closed) and the twinkling glint, as RGBA PNGs under assets/textures/mainmenu/.
# Run: /usr/bin/python3 tools/make_scene_flutter.py   (from anywhere)
import math

from PIL import Image, ImageDraw
from scene_pictures import save


# The wings' orange: the menu's screenshot check looks for it, and nothing else in the
# scene around the butterfly is this colour.
WING = (242, 138, 24, 255)
EDGE = (60, 34, 16, 255)
BODY = (40, 28, 20, 255)


def butterfly(spread):
    """32 x 24; spread is each wing's half width in pixels (open 7, closed 3)."""
    image = Image.new("RGBA", (32, 24), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    cx = 16
    for side in (-1, 1):
        centre = cx + side * (spread + 1)
        # The fore wing, larger and higher, then the hind wing below it.
        draw.ellipse((centre - spread, 1, centre + spread, 14), fill=WING, outline=EDGE)
        hind = max(2, spread - 2)
        draw.ellipse((centre - hind, 11, centre + hind, 22), fill=WING, outline=EDGE)
    draw.rectangle((cx - 1, 4, cx, 20), fill=BODY)
    draw.line((cx - 1, 4, cx - 4, 0), fill=BODY)
    draw.line((cx, 4, cx + 3, 0), fill=BODY)
    return image


def orange_count(image):
    return sum(1 for p in image.getdata() if p == WING)


def glint():
    """24 x 24: a four-point star, pale-yellow rays around a white core."""
    size = 24
    image = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    c = (size - 1) / 2.0
    for y in range(size):
        for x in range(size):
            dx, dy = abs(x - c), abs(y - c)
            # Rays thin out along the axes: a star of four points.
            ray = max(0.0, 1.0 - dx / 11.5) * max(0.0, 1.0 - dy / 1.6) + max(0.0, 1.0 - dy / 11.5) * max(
                0.0, 1.0 - dx / 1.6)
            core = max(0.0, 1.0 - math.hypot(dx, dy) / 4.0)
            alpha = min(1.0, ray + core)
            if alpha <= 0.0:
                continue
            white = min(1.0, core * 1.5)
            r = 255
            g = int(244 + 11 * white)
            b = int(170 + 85 * white)
            image.putpixel((x, y), (r, g, b, int(round(alpha * 255))))
    return image


def main():
    for index, spread in ((1, 7), (2, 5), (3, 3)):
        image = butterfly(spread)
        assert orange_count(image) >= 60, "butterfly%d has too little orange" % index
        save("butterfly%d" % index, image)
    save("glint", glint())


if __name__ == "__main__":
    main()
