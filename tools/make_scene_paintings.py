# Writes what the main menu's two self-painting pictures (assets/mainleft.xml,
# assets/mainright.xml) hang on, as RGBA PNGs under assets/textures/mainmenu/: on the left a tall
# easel that holds the picture's framed canvas above the board where the easel's movie plays
# (with the board's empty grid behind the movie), on the right a framed canvas on a post planted
# on the waterfall's rock.
# Run: /usr/bin/python3 tools/make_scene_paintings.py   (from anywhere)
import os
import xml.etree.ElementTree as ET

from PIL import ImageDraw
from scene_pictures import canvas, save, smooth

ASSETS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "assets")

WOOD = (150, 100, 52, 255)
WOOD_DARK = (104, 66, 30, 255)
GILT = (184, 136, 60, 255)
GILT_LIGHT = (226, 190, 112, 255)
GILT_DARK = (110, 74, 30, 255)
CANVAS = (238, 230, 212, 255)

FRAME = 10  # the frame's width round the canvas
MAT = 3     # bare canvas round the picture's cells

# Where the pictures stand in the scene (assets/mainmenu.xml).
EASEL_AT = (116, 224)
EASEL_SIZE = (268, 452)
STAND_AT = (1100, 220)
STAND_SIZE = (256, 360)
# The easel's movie plays in this window of its lower board, drawn before the easel.
MOVIE = (170, 496, 160, 128)


def picture_box(name):
    # The cells' box of a menu picture: 16-pixel cells with the file's spacing, twelve a side.
    root = ET.parse(os.path.join(ASSETS, name)).getroot()
    x, y = int(root.get("x")), int(root.get("y"))
    step_x, step_y = 16 + int(root.get("spacex", "0")), 16 + int(root.get("spacey", "0"))
    return x, y, x + 11 * step_x + 16, y + 11 * step_y + 16


def rect(d, k, at, box, **style):
    x0, y0, x1, y1 = box
    d.rectangle(((x0 - at[0]) * k, (y0 - at[1]) * k, (x1 - at[0]) * k - 1, (y1 - at[1]) * k - 1), **style)


def polygon(d, k, at, points, **style):
    d.polygon([((x - at[0]) * k, (y - at[1]) * k) for x, y in points], **style)


def framed_canvas(d, k, at, cells):
    # A gilt frame with a bevel, round a bare canvas just larger than the picture's cells.
    x0, y0, x1, y1 = cells[0] - MAT - FRAME, cells[1] - MAT - FRAME, cells[2] + MAT + FRAME, cells[3] + MAT + FRAME
    rect(d, k, at, (x0, y0, x1, y1), fill=GILT_DARK)
    rect(d, k, at, (x0 + 1, y0 + 1, x1 - 1, y1 - 1), fill=GILT)
    polygon(d, k, at, [(x0 + 1, y0 + 1), (x1 - 1, y0 + 1), (x1 - FRAME, y0 + FRAME), (x0 + FRAME, y0 + FRAME),
                       (x0 + FRAME, y1 - FRAME), (x0 + 1, y1 - 1)], fill=GILT_LIGHT)
    rect(d, k, at, (x0 + 4, y0 + 4, x1 - 4, y1 - 4), outline=GILT_DARK, width=k)
    rect(d, k, at, (x0 + FRAME - 1, y0 + FRAME - 1, x1 - FRAME + 1, y1 - FRAME + 1), fill=GILT_DARK)
    rect(d, k, at, (x0 + FRAME, y0 + FRAME, x1 - FRAME, y1 - FRAME), fill=CANVAS)
    return x0, y0, x1, y1


def easel():
    cells = picture_box("mainleft.xml")
    at = EASEL_AT
    mx, my, mw, mh = MOVIE
    mast = 250

    def paint(d, k):
        # Two splayed legs and the mast, which stands behind both boards down to the grass.
        polygon(d, k, at, [(224, 560), (236, 560), (172, 676), (158, 676)], fill=WOOD, outline=WOOD_DARK)
        polygon(d, k, at, [(264, 560), (276, 560), (342, 676), (328, 676)], fill=WOOD, outline=WOOD_DARK)
        rect(d, k, at, (mast - 6, at[1], mast + 6, 664), fill=WOOD, outline=WOOD_DARK)
        # The lower board round the movie, on a ledge.
        rect(d, k, at, (mx - 10, my - 10, mx + mw + 10, my + mh + 10), fill=WOOD, outline=WOOD_DARK)
        rect(d, k, at, (mx - 1, my - 1, mx + mw + 1, my + mh + 1), outline=WOOD_DARK)
        rect(d, k, at, (mx - 18, my + mh + 8, mx + mw + 18, my + mh + 16), fill=WOOD, outline=WOOD_DARK)
        # The framed canvas above it, held at its top by a clamp on the mast.
        _, top, _, _ = framed_canvas(d, k, at, cells)
        rect(d, k, at, (mast - 14, top - 8, mast + 14, top + 6), fill=WOOD, outline=WOOD_DARK)
        rect(d, k, at, (mx, my, mx + mw, my + mh), fill=(0, 0, 0, 0))

    return smooth(EASEL_SIZE[0], EASEL_SIZE[1], paint)


def easel_canvas():
    # What the board shows while its movie is not drawn (before its first frame, between its
    # passes): the movie's own empty grid of 16-pixel cells on its dark ground.
    image = canvas(MOVIE[2], MOVIE[3], (24, 28, 40, 255))
    d = ImageDraw.Draw(image)
    for top in range(0, MOVIE[3], 16):
        for left in range(0, MOVIE[2], 16):
            d.rectangle((left + 1, top + 1, left + 14, top + 14), outline=(70, 74, 90, 255))
    return image


def stand():
    cells = picture_box("mainright.xml")
    at = STAND_AT
    post = (cells[0] + cells[2]) // 2

    def paint(d, k):
        # One post, capped above the frame, with a crossbar and two struts under it; its foot
        # goes behind the rock's shoulder, which the scene draws later.
        x0, top, x1, bottom = (cells[0] - MAT - FRAME, cells[1] - MAT - FRAME,
                               cells[2] + MAT + FRAME, cells[3] + MAT + FRAME)
        rect(d, k, at, (post - 6, top - 14, post + 6, STAND_AT[1] + STAND_SIZE[1]), fill=WOOD, outline=WOOD_DARK)
        polygon(d, k, at, [(post - 9, top - 14), (post + 9, top - 14), (post, top - 22)], fill=WOOD_DARK)
        for end in (x0 + 40, x1 - 40):
            polygon(d, k, at, [(post, bottom + 40), (post, bottom + 50), (end, bottom + 6), (end, bottom - 4)],
                    fill=WOOD, outline=WOOD_DARK)
        rect(d, k, at, (x0 + 24, bottom - 6, x1 - 24, bottom + 6), fill=WOOD, outline=WOOD_DARK)
        framed_canvas(d, k, at, cells)

    return smooth(STAND_SIZE[0], STAND_SIZE[1], paint)


save("easel", easel())
save("easelcanvas", easel_canvas())
save("stand", stand())
