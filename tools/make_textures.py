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
