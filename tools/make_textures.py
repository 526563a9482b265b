# Writes the fader shadow, the board's navigator and hint bubble of assets/resources.xml, the
# mouse cursors with their assets/cursors.xml, the widget sheets (buttons, slider, page
# points), the dialog panels, the spark sheet with the particle descriptions of
# assets/particles/, the level complete dialog's panel, mats, frames, stars and burst rings,
# the board's two captions, the hint's dot, the main menu's scene (assets/mainmenu.xml) and
# the help pages' pictures (tools/help_pictures.py), the hint effects' sparkle sheet, glow
# and back arrow, and the ghost catcher's green sparkle strip, as RGBA PNGs (the cell, glyph
# and swatch images come from tools/gen_pictures.py).
# Run: /usr/bin/python3 tools/make_textures.py   (from the repository root)
import math
import os

from PIL import Image, ImageDraw, ImageFilter, ImageFont
from scene_pictures import smooth, wrapped_blobs

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


def draw_tableback():
    # Odd on purpose: the point of a 151 x 101 panel lands at (75, 50).
    image = Image.new("RGBA", (151, 101), (0, 0, 0, 0))
    d = ImageDraw.Draw(image)
    d.rounded_rectangle([0, 0, 150, 100], radius=8, fill=(40, 52, 70, 190), outline=(210, 220, 235, 255), width=2)
    d.rectangle([10, 10, 140, 90], outline=(120, 135, 160, 200))
    d.line([(75, 12), (75, 88)], fill=(120, 135, 160, 140))
    d.line([(12, 50), (138, 50)], fill=(120, 135, 160, 140))
    return image


def draw_tablepoint():
    image = canvas(11, 11)
    d = ImageDraw.Draw(image)
    d.ellipse([0, 0, 10, 10], outline=(250, 214, 90, 255), width=2)
    d.point((5, 5), fill=(250, 214, 90, 255))
    return image


def draw_hint():
    # The tip is drawn in black inside (37, 37)..(1062, 81): the panel is opaque there.
    image = canvas(1100, 110)
    d = ImageDraw.Draw(image)
    d.rounded_rectangle([4, 4, 1095, 105], radius=24, fill=(255, 250, 226, 255), outline=(70, 62, 40, 255),
                        width=2)
    return image


SPARK = 32
# Four white shapes side by side, for the descriptions' colour ramps to tint.
SPARK_SHEET = (4 * SPARK, SPARK)


def draw_sparks():
    image = Image.new("RGBA", SPARK_SHEET, (255, 255, 255, 0))
    px = image.load()
    c = (SPARK - 1) / 2.0
    for y in range(SPARK):
        for x in range(SPARK):
            d = ((x - c) ** 2 + (y - c) ** 2) ** 0.5
            # soft dot: opaque middle fading to nothing at the cell's edge
            px[x, y] = (255, 255, 255, max(0, min(255, int(255 * (1.0 - d / 15.0) ** 1.5 if d < 15 else 0))))
            # thin ring: a two-pixel band at radius 12
            ring = max(0.0, 1.0 - abs(d - 12.0) / 1.5)
            px[2 * SPARK + x, y] = (255, 255, 255, int(255 * ring))
    draw = ImageDraw.Draw(image)
    # four-point star
    o = SPARK
    draw.polygon([(o + 16, 1), (o + 19, 13), (o + 31, 16), (o + 19, 19), (o + 16, 31), (o + 13, 19), (o + 1, 16),
                  (o + 13, 13)], fill=(255, 255, 255, 255))
    # short streak: a horizontal bar, brighter in the middle
    o = 3 * SPARK
    for x in range(4, 28):
        a = int(255 * (1.0 - abs(x - 15.5) / 12.0))
        for y in range(14, 18):
            px[o + x, y] = (255, 255, 255, a if y in (15, 16) else a // 2)
    return image


PARTICLES = {
    "sparkle": [
        ("fLifetime", "-1"), ("nEmission", "12"), ("fParticleLifeMin", "0.8"), ("fParticleLifeMax", "1.6"),
        ("fDirection", "0"), ("fSpread", "6.2831855"), ("fSpeedMin", "0.2"), ("fSpeedMax", "0.6"),
        ("fSizeStart", "0.6"), ("fSizeEnd", "0.1"), ("fSizeVar", "0.2"),
        ("colColorStart", (1, 0.95, 0.8, 1)), ("colColorEnd", (1, 0.9, 0.6, 0)), ("fColorVar", "0"),
        ("fAlphaVar", "0"), ("iDrawMode", "1"), ("bUseRandomRect", "1"), ("rects", [0, 1]),
        ("SrcAreaType", "1"), ("SrcAreaSizeX", "200"), ("SrcAreaSizeY", "60"),
    ],
    "trail": [
        ("fLifetime", "-1"), ("nEmission", "30"), ("fParticleLifeMin", "0.4"), ("fParticleLifeMax", "0.8"),
        ("fDirection", "3.1415927"), ("fSpread", "0.8"), ("fSpeedMin", "0.1"), ("fSpeedMax", "0.3"),
        ("fGravityMin", "2"), ("fGravityMax", "4"), ("fSizeStart", "0.5"), ("fSizeEnd", "0"), ("fSizeVar", "0.1"),
        ("colColorStart", (0.75, 0.85, 1, 0.9)), ("colColorEnd", (0.6, 0.75, 1, 0)), ("fColorVar", "0"),
        ("fAlphaVar", "0"), ("iDrawMode", "0"), ("bUseRandomRect", "1"), ("rects", [0]),
        ("SrcAreaType", "0"),
    ],
    "burst": [
        ("fLifetime", "0.3"), ("nEmission", "400"), ("fParticleLifeMin", "0.6"), ("fParticleLifeMax", "1.2"),
        ("fDirection", "0"), ("fSpread", "6.2831855"), ("fSpeedMin", "1.5"), ("fSpeedMax", "3"),
        ("fTangentialAccelMin", "2"), ("fTangentialAccelMax", "4"), ("fSpinStart", "200"), ("fSpinEnd", "600"),
        ("fSpinVar", "0.5"), ("fSizeStart", "0.8"), ("fSizeEnd", "0.2"), ("fSizeVar", "0.2"),
        ("colColorStart", (1, 0.85, 0.4, 1)), ("colColorEnd", (1, 0.5, 0.2, 0)), ("fColorVar", "0.3"),
        ("fAlphaVar", "0"), ("iDrawMode", "1"), ("bUseRandomRect", "0"), ("rects", [0, 1, 2, 3]),
        ("SrcAreaType", "2"), ("SrcAreaSizeX", "24"), ("SrcAreaSizeY", "24"),
    ],
    # The main menu's waterfall spray; the emitter updates twice a frame, so 16 a second.
    "mainmenu_spray": [
        ("ImageFile", "textures/mainmenu/mote"), ("fLifetime", "-1"), ("nEmission", "8"),
        ("fParticleLifeMin", "0.6"), ("fParticleLifeMax", "1.2"), ("fDirection", "0"), ("fSpread", "1.0"),
        ("fSpeedMin", "0.3"), ("fSpeedMax", "0.6"), ("fGravityMin", "0.4"), ("fGravityMax", "0.8"),
        ("fSizeStart", "0.6"), ("fSizeEnd", "0.2"), ("fSizeVar", "0"),
        ("colColorStart", (1, 1, 1, 0.9)), ("colColorEnd", (1, 1, 1, 0)), ("fColorVar", "0"),
        ("fAlphaVar", "0"), ("iDrawMode", "1"), ("bUseRandomRect", "0"), ("TextureRect0", "0,0,16,16"),
    ],
}


def particle_lines(keys):
    lines = ["[Default]"]
    if all(key != "ImageFile" for key, _ in keys):
        lines.append("ImageFile=textures/fx/sparks")
    for key, value in keys:
        if key == "rects":
            for i, cell in enumerate(value):
                rect = (cell * SPARK, 0, SPARK, SPARK)
                # The game skips a rectangle that leaves the sheet: catch it here instead.
                assert rect[0] >= 0 and rect[0] + rect[2] <= SPARK_SHEET[0] and rect[3] <= SPARK_SHEET[1], rect
                lines.append("TextureRect%d=%d,%d,%d,%d" % ((i,) + rect))
        elif key.startswith("col"):
            for channel, v in zip("RGBA", value):
                lines.append("%s%s=%g" % (key, channel, v))
        else:
            lines.append("%s=%s" % (key, value))
    return lines


def write_particles():
    save("textures/fx/sparks", draw_sparks())
    folder = os.path.join(ROOT, "particles")
    os.makedirs(folder, exist_ok=True)
    for name, keys in PARTICLES.items():
        # The game's INI reader splits lines at CR LF only.
        with open(os.path.join(folder, name + ".ini"), "w", newline="\r\n") as out:
            out.write("\n".join(particle_lines(keys)) + "\n")


save("textures/gui/sh1", Image.new("RGBA", (1366, 768), (0, 0, 0, 255)))
save("textures/gui/gamescreen/tableback", draw_tableback())
save("textures/gui/gamescreen/tablepoint", draw_tablepoint())
save("textures/gui/windows/hint", draw_hint())
write_cursors()


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
save("textures/gui/buttons/medium", button_sheet(200, 44, 11))
save("textures/gui/buttons/check", check_sheet(False))
save("textures/gui/buttons/radio", check_sheet(True))
for icon in ("iconprev", "iconnext", "iconup", "icondown", "iconclose", "iconmenu", "iconfit"):
    save("textures/gui/buttons/" + icon, icon_sheet(icon))
save("textures/gui/slider/track", slider_track())
save("textures/gui/slider/thumb", slider_thumb())
save("textures/gui/map/pagepoints", page_points())


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


def tutorial_arrow(w, h):
    from PIL import ImageDraw
    image = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    shaft = w // 6
    draw.rectangle((w // 2 - shaft, 0, w // 2 + shaft - 1, h // 2), fill=(255, 214, 64, 255))
    draw.polygon([(0, h // 2), (w - 1, h // 2), (w // 2, h - 1)], fill=(255, 214, 64, 255))
    return image


save("textures/gui/windows/dlgsmall", panel(520, 260))
save("textures/gui/windows/dlgprofiles", panel(520, 460))
save("textures/gui/windows/dlgmedium", panel(640, 600))
save("textures/gui/tutorial/panel", panel(460, 170))
save("textures/gui/tutorial/arrow", tutorial_arrow(48, 64))
# The large dialogs (help, difficulty) share one panel.
save("textures/gui/windows/dlglarge", panel(900, 600))

write_particles()


CAPTION_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"


def caption(text, fill, w=640, h=120):
    # Filled text with a dark outline over a soft shadow, transparent around.
    font = ImageFont.truetype(CAPTION_FONT, 54)
    probe = ImageDraw.Draw(canvas(w, h))
    left, top, right, bottom = probe.textbbox((0, 0), text, font=font, stroke_width=4)
    x = (w - (right - left)) // 2 - left
    y = (h - (bottom - top)) // 2 - top
    shadow = canvas(w, h)
    ImageDraw.Draw(shadow).text((x + 4, y + 5), text, font=font, fill=(0, 0, 0, 150), stroke_width=4,
                                stroke_fill=(0, 0, 0, 150))
    image = shadow.filter(ImageFilter.GaussianBlur(4))
    ImageDraw.Draw(image).text((x, y), text, font=font, fill=fill, stroke_width=4, stroke_fill=(60, 30, 10, 255))
    return image


def dot(size=32):
    # White at the core, fading to transparent at the rim.
    image = canvas(size, size)
    centre = (size - 1) / 2.0
    radius = size / 2.0
    for y in range(size):
        for x in range(size):
            d = ((x - centre) ** 2 + (y - centre) ** 2) ** 0.5 / radius
            alpha = 0 if d >= 1.0 else int(round(255 * (1.0 - d) ** 1.5))
            image.putpixel((x, y), (255, 255, 255, alpha))
    return image


save("textures/loc/levelcompletetext", caption("Picture complete!", (255, 214, 72, 255)))
save("textures/loc/timeisover", caption("Time is up!", (255, 96, 40, 255)))
save("textures/effect/adot_alpha", dot())


# The main menu's scene. The sails' hub colour is fixed: the scene's tests look for it.
SAILS_HUB = (92, 52, 24, 255)


def hills():
    w, h = 1366, 200
    image = canvas(w, h)
    draw = ImageDraw.Draw(image)
    for base, amp, period, phase, colour in ((70, 34, 900.0, 0.6, (104, 168, 84, 255)),
                                             (120, 26, 620.0, 2.1, (70, 136, 60, 255))):
        points = [(x, base - amp * math.sin(2 * math.pi * x / period + phase)) for x in range(0, w + 1, 2)]
        draw.polygon(points + [(w, h), (0, h)], fill=colour)
    return image


def sun():
    size = 120
    image = canvas(size, size)
    centre = (size - 1) / 2.0
    for y in range(size):
        for x in range(size):
            d = math.hypot(x - centre, y - centre) / (size / 2.0)
            if d < 0.45:
                image.putpixel((x, y), (255, 226, 110, 255))
            elif d < 1.0:
                t = (d - 0.45) / 0.55
                image.putpixel((x, y), (255, int(226 - 60 * t), int(110 - 70 * t), int(255 * (1 - t) ** 2)))
    return image


def cloud():
    image = canvas(180, 70)
    draw = ImageDraw.Draw(image)
    for box in ((10, 30, 70, 66), (40, 10, 110, 66), (90, 18, 150, 66), (120, 34, 172, 66)):
        draw.ellipse(box, fill=(255, 255, 255, 230))
    return image.filter(ImageFilter.GaussianBlur(2))


def mill():
    image = canvas(70, 150)
    draw = ImageDraw.Draw(image)
    draw.polygon([(22, 6), (48, 6), (64, 149), (6, 149)], fill=(214, 196, 164, 255), outline=(120, 96, 70, 255))
    draw.polygon([(16, 10), (35, 0), (54, 10)], fill=(150, 60, 40, 255))
    draw.rectangle((28, 116, 42, 149), fill=(110, 70, 40, 255))
    return image


def sails():
    # Frame k turns the four sails by k * 5.625 degrees about the frame's centre (80, 80).
    sheet = canvas(640, 640)
    for k in range(16):
        frame = canvas(160, 160)
        draw = ImageDraw.Draw(frame)
        for arm in range(4):
            a = math.radians(k * 5.625 + arm * 90)
            ux, uy = math.cos(a), math.sin(a)
            px, py = -uy, ux
            def at(r, s):
                return (80 + ux * r + px * s, 80 + uy * r + py * s)
            draw.line([at(0, 0), at(76, 0)], fill=(90, 62, 40, 255), width=3)
            draw.polygon([at(18, 2), at(76, 2), at(76, 20), at(18, 16)], fill=(242, 236, 220, 255),
                         outline=(120, 96, 70, 255))
        draw.ellipse((70, 70, 90, 90), fill=SAILS_HUB)
        sheet.paste(frame, ((k % 4) * 160, (k // 4) * 160))
    return sheet


def birds():
    # Six wing phases of three small birds, three frames a row.
    sheet = canvas(288, 96)
    lifts = (10, 5, 0, -5, 0, 5)
    for k, lift in enumerate(lifts):
        frame = canvas(96, 48)
        draw = ImageDraw.Draw(frame)
        for bx, by in ((20, 22), (50, 14), (76, 28)):
            draw.line([(bx - 10, by - lift), (bx, by)], fill=(40, 40, 52, 255), width=2)
            draw.line([(bx, by), (bx + 10, by - lift)], fill=(40, 40, 52, 255), width=2)
        sheet.paste(frame, ((k % 3) * 96, (k // 3) * 48))
    return sheet


save("textures/mainmenu/hills", hills())
save("textures/mainmenu/sun", sun())
save("textures/mainmenu/cloud", cloud())
save("textures/mainmenu/mill", mill())
save("textures/mainmenu/sails", sails())
save("textures/mainmenu/birds", birds())


def cloud_band(w, h, spacing, size, alpha, shade):
    # Flat clouds, one in every span of `spacing` pixels or less, each a few overlapping puffs.
    blobs = []
    for k, cx in enumerate(range(spacing // 2, w, spacing)):
        cy = h * (0.45 + 0.15 * math.sin(k * 2.3))
        for i, (ox, oy, r) in enumerate(((-1.2, 0.2, 0.7), (-0.4, -0.2, 1.0), (0.5, -0.05, 0.85), (1.2, 0.25, 0.6))):
            blobs.append((cx + ox * size, cy + oy * size * 0.6, r * size, r * size * 0.45,
                          (shade, shade, min(255, shade + 8), alpha)))
    return wrapped_blobs(w, h, blobs, 6, wrap_x=True)


def mote():
    image = canvas(16, 16)
    for y in range(16):
        for x in range(16):
            d = math.hypot(x - 7.5, y - 7.5) / 8.0
            if d < 1.0:
                image.putpixel((x, y), (255, 255, 255, int(255 * (1 - d) ** 1.5)))
    return image


def sunrays():
    size, inner = 200, 40
    image = canvas(size, size)
    c = (size - 1) / 2.0
    for y in range(size):
        for x in range(size):
            d = math.hypot(x - c, y - c)
            if d < inner or d > size / 2.0:
                continue
            a = math.atan2(y - c, x - c)
            ray = max(0.0, math.cos(a * 12 / 2.0) ** 8)  # twelve soft rays
            fade = (1 - (d - inner) / (size / 2.0 - inner)) * min(1.0, (d - inner) / 12.0)
            alpha = int(200 * ray * fade)
            if alpha > 0:
                image.putpixel((x, y), (255, 214, 120, alpha))
    return image


def sunglow():
    size = 320
    image = canvas(size, size)
    c = (size - 1) / 2.0
    for y in range(size):
        for x in range(size):
            d = math.hypot(x - c, y - c) / (size / 2.0)
            if d < 1.0:
                image.putpixel((x, y), (255, 200, 110, int(200 * (1 - d) ** 2)))
    return image


SIGN_TEXT = (70, 45, 20)


def sign():
    w, h = 140, 36
    image = Image.new("RGBA", (w, h), (150, 100, 50, 255))
    draw = ImageDraw.Draw(image)
    for k, y in enumerate(range(5, h - 4, 7)):
        draw.line([(4, y), (w - 5, y)], fill=(168, 118, 66, 255) if k % 2 else (140, 94, 48, 255), width=2)
    draw.rectangle((0, 0, w - 1, h - 1), outline=(122, 80, 40, 255), width=3)
    # The text is drawn in SIGN_TEXT: no board pixel may come near it.
    for px in image.getdata():
        assert max(abs(a - b) for a, b in zip(px[:3], SIGN_TEXT)) > 40, px
    return image


save("textures/mainmenu/clouds_far", cloud_band(1366, 120, 280, 46, 120, 236))
save("textures/mainmenu/clouds_near", cloud_band(1366, 160, 290, 64, 190, 250))
save("textures/mainmenu/mote", mote())
save("textures/mainmenu/sunrays", sunrays())
save("textures/mainmenu/sunglow", sunglow())
save("textures/mainmenu/sign", sign())

def game_back():
    # Transparent over the picture's view (20, 20, 1000 x 728) with a thin frame round it,
    # and a semi-opaque panel behind the controls.
    image = canvas(1366, 768)
    draw = ImageDraw.Draw(image)
    draw.rectangle([16, 16, 1023, 751], outline=(70, 70, 80, 255), width=4)
    draw.rounded_rectangle([1040, 20, 1346, 748], radius=16, fill=(235, 232, 225, 200),
                           outline=(70, 70, 80, 255), width=3)
    return image


def error_mark():
    image = canvas(16, 16)
    draw = ImageDraw.Draw(image)
    draw.line([(2, 2), (13, 13)], fill=(210, 30, 30, 255), width=4)
    draw.line([(2, 13), (13, 2)], fill=(210, 30, 30, 255), width=4)
    return image


def fill_sheet():
    # Four looks of 232 x 56: normal (a bright bar, also the charge), over, down, disabled.
    looks = [((255, 190, 40, 255), (160, 90, 10, 255)), ((255, 214, 90, 255), (160, 90, 10, 255)),
             ((220, 150, 20, 255), (120, 60, 0, 255)), ((150, 150, 150, 255), (100, 100, 100, 255))]
    image = canvas(232, 224)
    draw = ImageDraw.Draw(image)
    for i, (fill, edge) in enumerate(looks):
        draw.rounded_rectangle([0, i * 56, 231, i * 56 + 55], radius=12, fill=fill, outline=edge, width=3)
    return image


save("textures/gui/gamescreen/back", game_back())
save("textures/gui/gamescreen/errormark", error_mark())
save("textures/gui/buttons/fill", fill_sheet())


from help_pictures import help_pictures  # noqa: E402  (tools/ is the script's own folder)

for name, picture in help_pictures().items():
    save("textures/help/" + name, picture)


def star_points(cx, cy, outer, inner):
    points = []
    for i in range(10):
        r = outer if i % 2 == 0 else inner
        a = math.pi * i / 5.0 - math.pi / 2.0
        points.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return points


def draw_frame(w, h):
    image = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    d = ImageDraw.Draw(image)
    border = 12
    for i in range(border):
        # light outside, darker towards the picture: a gilded moulding
        t = i / (border - 1)
        shade = 1.0 - 0.45 * abs(t - 0.35)
        d.rectangle((i, i, w - 1 - i, h - 1 - i), outline=(int(232 * shade), int(190 * shade), int(92 * shade), 255))
    return image


def draw_star(size, fill, outline):
    def paint(d, k):
        c = size * k / 2.0
        points = star_points(c, c, size * k * 0.47, size * k * 0.2)
        if fill:
            d.polygon(points, fill=fill)
        if outline:
            d.line(points + [points[0]], fill=outline, width=2 * k, joint="curve")
    return smooth(size, size, paint)


def draw_ring(colour):
    def paint(d, k):
        d.ellipse((4 * k, 4 * k, 92 * k - 1, 92 * k - 1), outline=colour, width=3 * k)
    return smooth(96, 96, paint)


LEVEL_COMPLETE_SIZES = {"": (264, 264), "big": (344, 344), "big15": (384, 294)}


def write_level_complete():
    folder = "textures/gui/levelcomplete/"
    save(folder + "back", panel(760, 600, radius=24))
    for suffix, size in LEVEL_COMPLETE_SIZES.items():
        save(folder + "frameback" + suffix, Image.new("RGBA", size, (24, 26, 34, 255)))
        save(folder + "frame" + suffix, draw_frame(*size))
    save(folder + "starshape", draw_star(56, None, (150, 150, 176, 150)))
    save(folder + "star", draw_star(56, (255, 206, 64, 255), (255, 244, 170, 255)))
    for name, colour in (("ringyellow", (255, 220, 90, 255)), ("ringblue", (110, 170, 255, 255)),
                         ("ringgreen", (120, 230, 140, 255))):
        save("textures/rings/" + name, draw_ring(colour))


write_level_complete()


def soft_star(size):
    # A soft white four-point star: two thin crossed diamonds over a small glow.
    def paint(d, k):
        c = size * k / 2.0
        r = size * k * 0.48
        w = size * k * 0.09
        d.ellipse((c - 3 * w, c - 3 * w, c + 3 * w, c + 3 * w), fill=(255, 255, 255, 110))
        d.polygon([(c, c - r), (c + w, c), (c, c + r), (c - w, c)], fill=(255, 255, 255, 255))
        d.polygon([(c - r, c), (c, c - w), (c + r, c), (c, c + w)], fill=(255, 255, 255, 255))
    return smooth(size, size, paint).filter(ImageFilter.GaussianBlur(0.8))


def glow(size):
    # A soft round glow with a bright core.
    image = canvas(size, size)
    c = (size - 1) / 2.0
    for y in range(size):
        for x in range(size):
            t = min(1.0, math.hypot(x - c, y - c) / (size / 2.0))
            alpha = (1.0 - t) ** 2
            core = max(0.0, 1.0 - t * 4.0)
            image.putpixel((x, y), (255, 255, int(200 + 55 * core), int(255 * min(1.0, alpha + core))))
    return image


def back_arrow(size=64):
    # A fat arrow pointing left, dark outline around a light fill, readable on any scene.
    def paint(d, k):
        s = size * k / 64.0
        points = [(6, 32), (30, 8), (30, 22), (58, 22), (58, 42), (30, 42), (30, 56)]
        d.polygon([(x * s, y * s) for x, y in points], fill=FILL, outline=OUTLINE)
        d.line([(x * s, y * s) for x, y in points + [points[0]]], fill=OUTLINE, width=int(3 * s), joint="curve")
    return smooth(size, size, paint)


def write_hint_effects():
    sheet = canvas(96, 96)
    sheet.paste(soft_star(32), (32, 64))
    save("textures/effect/particles", sheet)
    save("textures/effect/single_particle", glow(32))
    save("textures/gui/backarrow", back_arrow())


write_hint_effects()


# The front screens: the menu's and the more-games screen's backgrounds (JPEG), the pause
# overlay, the nine cells of the menu's painting pictures and the studio splash.
def save_jpg(name, image):
    path = os.path.join(ROOT, name + ".jpg")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    image.convert("RGB").save(path, "JPEG", quality=90)


def gradient_back(top, bottom, grid):
    w, h = 1366, 768
    image = Image.new("RGB", (w, h))
    draw = ImageDraw.Draw(image)
    for y in range(h):
        t = y / (h - 1)
        draw.line([(0, y), (w, y)], fill=tuple(int(a + (b - a) * t) for a, b in zip(top, bottom)))
    # A faint mosaic grid over the gradient.
    for x in range(0, w, 32):
        draw.line([(x, 0), (x, h)], fill=grid)
    for y in range(0, h, 32):
        draw.line([(0, y), (w, y)], fill=grid)
    return image.filter(ImageFilter.GaussianBlur(0.6))


PAINT_COLOURS = [(222, 60, 60), (245, 150, 40), (250, 220, 60), (90, 190, 80), (40, 150, 120),
                 (70, 140, 230), (120, 80, 200), (230, 110, 180), (130, 90, 60)]


def paint_cell(colour):
    image = canvas(16, 16)
    draw = ImageDraw.Draw(image)
    light = tuple(min(255, c + 60) for c in colour) + (255,)
    dark = tuple(max(0, c - 60) for c in colour) + (255,)
    draw.rectangle([0, 0, 15, 15], fill=dark)
    draw.rectangle([0, 0, 14, 14], fill=light)
    draw.rectangle([1, 1, 14, 14], fill=tuple(colour) + (255,))
    return image


def splash():
    image = Image.new("RGB", (800, 450), (22, 26, 40))
    draw = ImageDraw.Draw(image)
    size = 22
    left, top = 400 - 8 * size, 70
    for row in range(6):
        for col in range(16):
            colour = PAINT_COLOURS[(row * 5 + col * 3) % len(PAINT_COLOURS)]
            x, y = left + col * size, top + row * size
            draw.rectangle([x, y, x + size - 3, y + size - 3], fill=colour)
    font = ImageFont.truetype(CAPTION_FONT, 64)
    text = "Korvel Games"
    box = draw.textbbox((0, 0), text, font=font)
    draw.text((400 - (box[2] - box[0]) // 2, 260), text, font=font, fill=(240, 240, 245))
    return image


def write_front_screens():
    save_jpg("textures/gui/mainmenu/back", gradient_back((52, 86, 140), (150, 190, 225), (120, 150, 190)))
    save_jpg("textures/gui/moregames/back", gradient_back((60, 50, 110), (170, 140, 200), (140, 120, 180)))
    save("textures/gui/pause", Image.new("RGBA", (1366, 768), (0, 0, 0, 150)))
    for i, colour in enumerate(PAINT_COLOURS, start=1):
        save("textures/mainmenu/pc%d" % i, paint_cell(colour))
    image = splash()
    path = os.path.join(ROOT, "branding", "splash1.png")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    image.save(path, "PNG")


write_front_screens()


# The level map: a plain dark card per level, a bright hover ring, and the backdrop with a
# faint mosaic grid and a darker band holding the two mode tabs.
MAP_TABS = ((926, 704, 200, 44), (1136, 704, 200, 44))


def map_level():
    def paint(d, k):
        d.rounded_rectangle((0, 0, 200 * k - 1, 200 * k - 1), radius=12 * k, fill=(38, 42, 56, 255))
    return smooth(200, 200, paint)


def map_frame():
    def paint(d, k):
        d.rounded_rectangle((0, 0, 200 * k - 1, 200 * k - 1), radius=12 * k, outline=(255, 236, 150, 255),
                            width=6 * k)
    return smooth(200, 200, paint)


def map_back():
    w, h = 1366, 768
    image = Image.new("RGBA", (w, h), (0, 0, 0, 255))
    d = ImageDraw.Draw(image)
    for y in range(h):
        t = y / (h - 1)
        d.line((0, y, w, y), fill=(int(52 + 30 * t), int(86 + 24 * t), int(118 - 20 * t), 255))
    grid = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    g = ImageDraw.Draw(grid)
    for x in range(0, w, 32):
        g.line((x, 0, x, h), fill=(255, 255, 255, 14))
    for y in range(0, h, 32):
        g.line((0, y, w, y), fill=(255, 255, 255, 14))
    image = Image.alpha_composite(image, grid)
    band = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    b = ImageDraw.Draw(band)
    b.rectangle((0, 690, w, h), fill=(12, 18, 30, 150))
    for x, y, tw, th in MAP_TABS:
        b.rounded_rectangle((x, y, x + tw - 1, y + th - 1), radius=10, fill=(70, 92, 132, 235),
                            outline=(190, 210, 240, 255), width=2)
    return Image.alpha_composite(image, band)


save("textures/map/level", map_level())
save("textures/map/frame", map_frame())
save("textures/gui/map/back", map_back())


def sparkle_green():
    # Fourteen 10 x 10 frames in a row: a green four-point sparkle that grows and shrinks.
    frames, side = 14, 10
    image = canvas(frames * side, side)
    for i in range(frames):
        size = 1 + 4 * math.sin(math.pi * (i + 0.5) / frames)
        frame = smooth(side, side, lambda d, k, s=size: (
            d.polygon([(5 * k, (5 - s) * k), (5.8 * k, 4.2 * k), ((5 + s) * k, 5 * k), (5.8 * k, 5.8 * k),
                       (5 * k, (5 + s) * k), (4.2 * k, 5.8 * k), ((5 - s) * k, 5 * k), (4.2 * k, 4.2 * k)],
                      fill=(120, 255, 110, 255)),
            d.ellipse((4 * k, 4 * k, 6 * k, 6 * k), fill=(230, 255, 220, 255))))
        image.paste(frame, (i * side, 0))
    return image


save("textures/effect/sparklegreen", sparkle_green())
