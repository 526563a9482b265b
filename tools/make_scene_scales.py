# Writes the main menu's small pair of scales on the left hill (beam, pans, cap, stand and two
# flour sacks) as RGBA PNGs under assets/textures/mainmenu/.
# Run: /usr/bin/python3 tools/make_scene_scales.py   (from the repository root)

from PIL import ImageDraw
from scene_pictures import canvas, save


BEAM = (110, 62, 28, 255)  # the beam's one flat colour: the screenshot check looks for it
BRASS = (181, 140, 58, 255)
BRASS_DARK = (122, 90, 32, 255)
STRING = (70, 60, 50, 255)
WOOD = (120, 78, 40, 255)
WOOD_DARK = (84, 52, 26, 255)
SACK = (226, 214, 184, 255)
SACK_SHADE = (190, 174, 140, 255)
TIE = (120, 96, 60, 255)


def beam():
    image = canvas(120, 6)
    ImageDraw.Draw(image).rounded_rectangle([0, 0, 119, 5], radius=3, fill=BEAM)
    return image


def pan():
    image = canvas(50, 40)
    draw = ImageDraw.Draw(image)
    draw.line([(25, 0), (4, 30)], fill=STRING, width=1)
    draw.line([(25, 0), (45, 30)], fill=STRING, width=1)
    # A shallow dish: rim at 30, floor line at 37.
    draw.polygon([(0, 30), (49, 30), (44, 39), (5, 39)], fill=BRASS)
    draw.line([(0, 30), (49, 30)], fill=BRASS_DARK, width=1)
    draw.line([(4, 37), (45, 37)], fill=BRASS_DARK, width=1)
    return image


def cap():
    image = canvas(10, 10)
    draw = ImageDraw.Draw(image)
    draw.ellipse([0, 0, 9, 9], fill=BRASS, outline=BRASS_DARK)
    return image


def stand():
    image = canvas(12, 80)
    draw = ImageDraw.Draw(image)
    draw.rectangle([4, 0, 7, 74], fill=WOOD, outline=WOOD_DARK)
    draw.rounded_rectangle([0, 73, 11, 79], radius=2, fill=WOOD_DARK)
    return image


def sack(w, h):
    image = canvas(w, h)
    draw = ImageDraw.Draw(image)
    neck = max(3, w // 6)
    mid = w // 2
    # The gathered neck, its tie, then the round body below.
    draw.polygon([(mid - neck, 0), (mid + neck, 0), (mid + neck // 2, h // 4), (mid - neck // 2, h // 4)], fill=SACK)
    draw.line([(mid - neck, h // 4), (mid + neck, h // 4)], fill=TIE, width=2)
    draw.rounded_rectangle([0, h // 4 + 1, w - 1, h - 1], radius=max(3, w // 4), fill=SACK, outline=SACK_SHADE)
    draw.line([(mid, h // 4 + 3), (mid, h - 3)], fill=SACK_SHADE, width=1)
    return image


save("scale_beam", beam())
save("scale_pan", pan())
save("scale_cap", cap())
save("scale_stand", stand())
save("sack_big", sack(26, 24))
save("sack_small", sack(18, 16))
