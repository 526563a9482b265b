# Writes the fader shadow of assets/resources.xml and the widget sheets (buttons, slider, page
# points) as RGBA PNGs (the cell, glyph and swatch images come from tools/gen_pictures.py).
# Run: /usr/bin/python3 tools/make_textures.py   (from the repository root)
import os

from PIL import Image, ImageDraw

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "assets")


def save(name, image):
    path = os.path.join(ROOT, name + ".png")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    image.save(path, "PNG")


save("textures/gui/sh1", Image.new("RGBA", (1366, 768), (0, 0, 0, 255)))


# Widget sheets: looks stacked top to bottom in the order normal, over, down (= ticked),
# disabled, each clearly its own colour so a wrong row shows at a glance.
LOOKS = [
    ((52, 92, 170, 255), (190, 210, 245, 255)),   # normal: blue
    ((72, 140, 230, 255), (235, 245, 255, 255)),  # over: lighter blue
    ((30, 60, 120, 255), (255, 214, 90, 255)),    # down: dark with a gold edge
    ((120, 120, 120, 255), (170, 170, 170, 255)), # disabled: grey
]


def button_sheet(w, row_h, radius):
    image = Image.new("RGBA", (w, row_h * 4), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    for i, (fill, edge) in enumerate(LOOKS):
        top = i * row_h
        draw.rounded_rectangle([0, top, w - 1, top + row_h - 1], radius=radius, fill=fill, outline=edge, width=3)
    return image


def icon_glyph(draw, name, top, colour):
    cx, cy = 28, top + 28
    if name == "iconprev":
        draw.polygon([(cx + 8, cy - 12), (cx + 8, cy + 12), (cx - 10, cy)], fill=colour)
    elif name == "iconnext":
        draw.polygon([(cx - 8, cy - 12), (cx - 8, cy + 12), (cx + 10, cy)], fill=colour)
    elif name == "iconup":
        draw.polygon([(cx - 12, cy + 8), (cx + 12, cy + 8), (cx, cy - 10)], fill=colour)
    elif name == "icondown":
        draw.polygon([(cx - 12, cy - 8), (cx + 12, cy - 8), (cx, cy + 10)], fill=colour)
    elif name == "iconclose":
        draw.line([(cx - 10, cy - 10), (cx + 10, cy + 10)], fill=colour, width=5)
        draw.line([(cx - 10, cy + 10), (cx + 10, cy - 10)], fill=colour, width=5)
    elif name == "iconmenu":
        for dy in (-9, 0, 9):
            draw.rectangle([cx - 12, cy + dy - 2, cx + 12, cy + dy + 2], fill=colour)
    elif name == "iconfit":
        draw.rectangle([cx - 12, cy - 12, cx + 12, cy + 12], outline=colour, width=3)
        draw.rectangle([cx - 5, cy - 5, cx + 5, cy + 5], fill=colour)


def icon_sheet(name):
    image = button_sheet(56, 56, 12)
    draw = ImageDraw.Draw(image)
    for i, (_, edge) in enumerate(LOOKS):
        icon_glyph(draw, name, i * 56, edge)
    return image


def check_sheet(round_box):
    image = Image.new("RGBA", (36, 144), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    boxes = [((250, 250, 250, 255), (52, 92, 170, 255), False),   # empty
             ((225, 240, 255, 255), (72, 140, 230, 255), False),   # lit
             ((250, 250, 250, 255), (30, 60, 120, 255), True),     # ticked
             ((190, 190, 190, 255), (120, 120, 120, 255), False)]  # greyed
    for i, (fill, edge, ticked) in enumerate(boxes):
        top = i * 36
        box = [3, top + 3, 32, top + 32]
        if round_box:
            draw.ellipse(box, fill=fill, outline=edge, width=3)
            if ticked:
                draw.ellipse([11, top + 11, 24, top + 24], fill=edge)
        else:
            draw.rounded_rectangle(box, radius=5, fill=fill, outline=edge, width=3)
            if ticked:
                draw.line([(9, top + 18), (15, top + 25), (27, top + 10)], fill=edge, width=4)
    return image


def slider_track():
    # As tall as the thumb, so the whole thumb lies inside the slider.
    image = Image.new("RGBA", (232, 28), (0, 0, 0, 0))
    ImageDraw.Draw(image).rounded_rectangle([0, 9, 231, 18], radius=5, fill=(52, 92, 170, 255),
                                            outline=(190, 210, 245, 255))
    return image


def slider_thumb():
    image = Image.new("RGBA", (28, 28), (0, 0, 0, 0))
    ImageDraw.Draw(image).ellipse([1, 1, 26, 26], fill=(240, 240, 240, 255), outline=(30, 60, 120, 255), width=3)
    return image


def page_points():
    image = Image.new("RGBA", (48, 24), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    draw.ellipse([7, 7, 16, 16], fill=(120, 130, 150, 255))
    draw.ellipse([27, 3, 44, 20], fill=(255, 214, 90, 255))
    return image


save("textures/gui/buttons/large", button_sheet(240, 56, 14))
save("textures/gui/buttons/small", button_sheet(150, 44, 11))
save("textures/gui/buttons/check", check_sheet(False))
save("textures/gui/buttons/radio", check_sheet(True))
for icon in ("iconprev", "iconnext", "iconup", "icondown", "iconclose", "iconmenu", "iconfit"):
    save("textures/gui/buttons/" + icon, icon_sheet(icon))
save("textures/gui/slider/track", slider_track())
save("textures/gui/slider/thumb", slider_thumb())
save("textures/gui/map/pagepoints", page_points())
