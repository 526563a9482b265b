"""What the main menu scene's picture generators share: a transparent canvas and the folder the
scene's pictures are saved in."""
import os

from PIL import Image

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "assets", "textures", "mainmenu")


def canvas(w, h, colour=(0, 0, 0, 0)):
    return Image.new("RGBA", (w, h), colour)


def save(name, image):
    os.makedirs(ROOT, exist_ok=True)
    image.save(os.path.join(ROOT, name + ".png"), "PNG")
