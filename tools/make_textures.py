# Writes the fader shadow of assets/resources.xml and the mouse cursors with their
# assets/cursors.xml as RGBA PNGs (the cell, glyph and swatch images come from
# tools/gen_pictures.py).
# Run: /usr/bin/python3 tools/make_textures.py   (from the repository root)
import os

from PIL import Image, ImageDraw

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "assets")

# Dark grey, not black: screenshot checks trim the black background.
OUTLINE = (72, 72, 72, 255)
FILL = (236, 236, 236, 255)


def save(name, image):
    path = os.path.join(ROOT, name + ".png")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    image.save(path, "PNG")


def canvas(w=32, h=32):
    return Image.new("RGBA", (w, h), (0, 0, 0, 0))


def arrow(draw, dx=0, dy=0):
    points = [(0, 0), (0, 21), (5, 16), (9, 25), (12, 24), (8, 15), (15, 15)]
    draw.polygon([(x + dx, y + dy) for x, y in points], fill=FILL, outline=OUTLINE)


def hand(draw, dx=0):
    # A hand pointing up with its index finger; the finger tip is the hotspot (10, 2).
    draw.rounded_rectangle([dx + 8, 1, dx + 13, 18], radius=2, fill=FILL, outline=OUTLINE)
    draw.rounded_rectangle([dx + 5, 13, dx + 24, 30], radius=4, fill=FILL, outline=OUTLINE)
    for x in (13, 17, 21):
        draw.line([(dx + x, 13), (dx + x, 19)], fill=OUTLINE)
    draw.rounded_rectangle([dx + 8, 1, dx + 13, 16], radius=2, fill=FILL, outline=OUTLINE)


def draw_arrow():
    image = canvas()
    arrow(ImageDraw.Draw(image))
    return image


def draw_hand():
    image = canvas()
    hand(ImageDraw.Draw(image))
    return image


def draw_handspot():
    # Four frames: a spot under the finger tip grows and fades while the hand stays.
    image = canvas(128, 32)
    for frame in range(4):
        spot = canvas(32, 32)
        radius = 2 + 2 * frame
        alpha = 220 - 50 * frame
        ImageDraw.Draw(spot).ellipse([10 - radius, 3 - radius, 10 + radius, 3 + radius],
                                     fill=(250, 214, 90, alpha))
        layer = canvas(32, 32)
        hand(ImageDraw.Draw(layer))
        spot.alpha_composite(layer)
        image.paste(spot, (32 * frame, 0))
    return image


def draw_text():
    image = canvas()
    d = ImageDraw.Draw(image)
    d.rectangle([14, 7, 17, 25], fill=FILL, outline=OUTLINE)
    d.rectangle([10, 5, 21, 8], fill=FILL, outline=OUTLINE)
    d.rectangle([10, 24, 21, 27], fill=FILL, outline=OUTLINE)
    d.rectangle([15, 8, 16, 24], fill=FILL)
    return image


def draw_drag():
    image = canvas()
    d = ImageDraw.Draw(image)
    d.polygon([(16, 1), (22, 8), (18, 8), (18, 14), (24, 14), (24, 10), (31, 16), (24, 22), (24, 18),
               (18, 18), (18, 24), (22, 24), (16, 31), (10, 24), (14, 24), (14, 18), (8, 18), (8, 22),
               (1, 16), (8, 10), (8, 14), (14, 14), (14, 8), (10, 8)], fill=FILL, outline=OUTLINE)
    return image


def draw_active():
    image = canvas()
    d = ImageDraw.Draw(image)
    arrow(d)
    star = [(24, 17), (26, 22), (31, 22), (27, 25), (29, 30), (24, 27), (19, 30), (21, 25), (17, 22), (22, 22)]
    d.polygon(star, fill=(250, 214, 90, 255), outline=OUTLINE)
    return image


# name, picture, hotspot, frames, speed; every name also gets a system entry of one frame.
CURSORS = [
    ("default", "arrow", (1, 1), 1, 0.0),
    ("hand", "hand", (10, 2), 1, 0.0),
    ("handspot", "handspot", (10, 2), 4, 0.12),
    ("text", "text", (16, 16), 1, 0.0),
    ("drag", "drag", (16, 16), 1, 0.0),
    ("active", "active", (1, 1), 1, 0.0),
]
PICTURES = {"arrow": draw_arrow, "hand": draw_hand, "handspot": draw_handspot, "text": draw_text,
            "drag": draw_drag, "active": draw_active}


def cursor_line(name, picture, hotspot, frames, speed, system):
    attrs = 'name="%s" filename="textures/cursors/%s"' % (name, picture)
    if frames != 1:
        attrs += ' frames="%d" rect="0,0,32,32" speed="%g"' % (frames, speed)
    attrs += ' hotspot="%d,%d"' % hotspot
    if system:
        attrs += ' system="1"'
    return "    <cursor %s/>\n" % attrs


def write_cursors():
    for picture, make in PICTURES.items():
        save("textures/cursors/" + picture, make())
    lines = ['<?xml version="1.0" encoding="UTF-8"?>\n', "<cursorset>\n", "  <cursors>\n"]
    for name, picture, hotspot, frames, speed in CURSORS:
        lines.append(cursor_line(name, picture, hotspot, frames, speed, False))
    for name, picture, hotspot, frames, speed in CURSORS:
        # A system cursor shows its whole file: a sheet would make one wide cursor.
        if frames != 1:
            picture, frames = "hand", 1
        lines.append(cursor_line(name, picture, hotspot, frames, speed, True))
    lines += ["  </cursors>\n", "</cursorset>\n"]
    with open(os.path.join(ROOT, "cursors.xml"), "w", newline="\n") as out:
        out.writelines(lines)


save("textures/gui/sh1", Image.new("RGBA", (1366, 768), (0, 0, 0, 255)))
write_cursors()
