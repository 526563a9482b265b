# Writes the shared images of assets/resources.xml (fader shadow, cell frames and fills) as RGBA PNGs.
# Run: /usr/bin/python3 tools/make_textures.py   (from the repository root)
import os

from PIL import Image

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "assets")


def save(name, image):
    path = os.path.join(ROOT, name + ".png")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    image.save(path, "PNG")


def outline(size, colour):
    image = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    for i in range(size):
        for x, y in ((i, 0), (i, size - 1), (0, i), (size - 1, i)):
            image.putpixel((x, y), colour)
    return image


def bordered_fill(size, colour):
    image = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    for y in range(1, size - 1):
        for x in range(1, size - 1):
            image.putpixel((x, y), colour)
    return image


save("textures/gui/sh1", Image.new("RGBA", (1366, 768), (0, 0, 0, 255)))
save("textures/scuare26", outline(26, (128, 128, 128, 255)))
save("textures/scuare26white", bordered_fill(26, (255, 255, 255, 255)))
save("textures/scuare1", Image.new("RGBA", (1, 1), (0, 0, 0, 0)))
save("textures/scuare1white", Image.new("RGBA", (1, 1), (255, 255, 255, 255)))
