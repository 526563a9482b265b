"""What the main menu scene's picture generators share: a transparent canvas, shapes drawn large
and scaled down for soft edges, blobs that tile without a seam, and the folder the scene's
pictures are saved in."""
import os

from PIL import Image, ImageDraw, ImageFilter

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "assets", "textures", "mainmenu")


def canvas(w, h, colour=(0, 0, 0, 0)):
    return Image.new("RGBA", (w, h), colour)


def save(name, image):
    os.makedirs(ROOT, exist_ok=True)
    image.save(os.path.join(ROOT, name + ".png"), "PNG")


SMOOTH = 4  # shapes are drawn this many times larger, then scaled down for soft edges


def smooth(w, h, paint):
    big = Image.new("RGBA", (w * SMOOTH, h * SMOOTH), (0, 0, 0, 0))
    paint(ImageDraw.Draw(big), SMOOTH)
    return big.resize((w, h), Image.LANCZOS)


def wrapped_blobs(w, h, blobs, blur, wrap_x=False, wrap_y=False):
    # Each blob is drawn again one picture size over, so the picture tiles without a seam.
    image = canvas(w, h)
    draw = ImageDraw.Draw(image)
    for (cx, cy, rx, ry, colour) in blobs:
        for dx in ((-w, 0, w) if wrap_x else (0,)):
            for dy in ((-h, 0, h) if wrap_y else (0,)):
                draw.ellipse((cx + dx - rx, cy + dy - ry, cx + dx + rx, cy + dy + ry), fill=colour)
    big = Image.new("RGBA", (w * 3, h * 3), (0, 0, 0, 0))
    for i in range(3):
        for j in range(3):
            big.paste(image, (i * w, j * h))
    return big.filter(ImageFilter.GaussianBlur(blur)).crop((w, h, 2 * w, 2 * h))
