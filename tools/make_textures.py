# Writes the fader shadow of assets/resources.xml as an RGBA PNG (the cell, glyph and swatch
# images come from tools/gen_pictures.py).
# Run: /usr/bin/python3 tools/make_textures.py   (from the repository root)
import os

from PIL import Image

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "assets")


def save(name, image):
    path = os.path.join(ROOT, name + ".png")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    image.save(path, "PNG")


save("textures/gui/sh1", Image.new("RGBA", (1366, 768), (0, 0, 0, 255)))


# Dialog and tutorial panels: a dark rounded panel with a light two-pixel edge, opaque
# everywhere inside the edge so white texts read on it.
PANEL_FILL = (36, 44, 66, 255)
PANEL_EDGE = (220, 226, 240, 255)


def panel(w, h, radius=18):
    from PIL import ImageDraw
    image = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    draw.rounded_rectangle((0, 0, w - 1, h - 1), radius=radius, fill=PANEL_EDGE)
    draw.rounded_rectangle((2, 2, w - 3, h - 3), radius=radius - 2, fill=PANEL_FILL)
    return image


def arrow(w, h):
    from PIL import ImageDraw
    image = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    shaft = w // 6
    draw.rectangle((w // 2 - shaft, 0, w // 2 + shaft - 1, h // 2), fill=(255, 214, 64, 255))
    draw.polygon([(0, h // 2), (w - 1, h // 2), (w // 2, h - 1)], fill=(255, 214, 64, 255))
    return image


save("textures/gui/windows/dlgsmall", panel(520, 260))
save("textures/gui/tutorial/panel", panel(460, 170))
save("textures/gui/tutorial/arrow", arrow(48, 64))


def button_sheet(w, h):
    # Four looks stacked: normal, over, down, disabled.
    from PIL import ImageDraw
    fills = [(70, 110, 170, 255), (95, 140, 205, 255), (45, 80, 130, 255), (110, 110, 110, 255)]
    image = Image.new("RGBA", (w, h * 4), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    for row, fill in enumerate(fills):
        top = row * h
        draw.rounded_rectangle((0, top, w - 1, top + h - 1), radius=10, fill=PANEL_EDGE)
        draw.rounded_rectangle((2, top + 2, w - 3, top + h - 3), radius=8, fill=fill)
    return image


save("textures/gui/buttons/small", button_sheet(150, 44))
