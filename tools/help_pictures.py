# The pictures of the help pages (textures/help/): three page illustrations and two frame
# sheets; tools/make_textures.py saves them. Tests find a page or a frame by its centre pixel,
# so every drawing below keeps a solid colour there that its neighbours do not share.
from PIL import Image, ImageDraw, ImageFont

FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"

BACK = (28, 34, 52, 255)
GRID = (70, 78, 100, 255)
UNPAINTED = (214, 218, 226, 255)
NUMBER = (60, 66, 84, 255)
HOVER = (255, 246, 176, 255)
POINTER = (250, 250, 250, 255)
POINTER_EDGE = (40, 40, 40, 255)
RING = (255, 206, 60, 255)
TICK = (40, 150, 70, 255)
STAR = (255, 200, 40, 255)
BAR_FULL = (70, 150, 235, 255)
BAR_EMPTY = (50, 56, 76, 255)
PALETTE = {1: (232, 120, 48, 255), 2: (76, 170, 96, 255), 3: (70, 120, 210, 255), 4: (200, 70, 120, 255),
           5: (240, 200, 60, 255), 6: (130, 90, 190, 255)}


def font(size):
    return ImageFont.truetype(FONT, size)


def number(draw, box, n, size):
    x0, y0, x1, y1 = box
    draw.text(((x0 + x1) / 2, (y0 + y1) / 2), str(n), fill=NUMBER, font=font(size), anchor="mm")


def cell(draw, box, n, painted, size=12, show_number=True):
    draw.rectangle(box, fill=PALETTE[n] if painted else UNPAINTED, outline=GRID)
    if not painted and show_number:
        number(draw, box, n, size)


def pointer(draw, x, y, scale=1.0):
    # An arrow whose tip is (x, y).
    points = [(0, 0), (0, 21), (5, 16), (9, 25), (12, 24), (8, 15), (15, 15)]
    draw.polygon([(x + px * scale, y + py * scale) for px, py in points], fill=POINTER, outline=POINTER_EDGE)


def star(draw, cx, cy, r, fill):
    import math
    points = []
    for i in range(10):
        radius = r if i % 2 == 0 else r * 0.45
        angle = -math.pi / 2 + i * math.pi / 5
        points.append((cx + radius * math.cos(angle), cy + radius * math.sin(angle)))
    draw.polygon(points, fill=fill, outline=POINTER_EDGE)


def tick(draw, x, y, size, width):
    draw.line([(x, y + size * 0.5), (x + size * 0.4, y + size), (x + size, y)], fill=TICK, width=width)


# A small heart of numbered cells: 1 the heart, 2 the grass, 3 the sky.
MOSAIC = [
    "3333333333333333",
    "3331133331133333",
    "3311113311113333",
    "3311111111113333",
    "3311111111113333",
    "3331111111133333",
    "3333111111333333",
    "3333311113333333",
    "3333331133333333",
    "2222222222222222",
    "2222222222222222",
    "2222222222222222",
]


def page1():
    # The board: a gridded mosaic half painted, the pointer painting the next cell.
    image = Image.new("RGBA", (400, 260), BACK)
    draw = ImageDraw.Draw(image)
    size = 20
    left, top = 30, 15
    for row, line in enumerate(MOSAIC):
        for col, ch in enumerate(line):
            painted = col + row < 14 or ch == "1"
            x, y = left + col * size, top + row * size
            cell(draw, (x, y, x + size - 1, y + size - 1), int(ch), painted, size=11)
    pointer(draw, 300, 190, 1.4)
    return image


def page2():
    # The colour table: numbered swatches, the complete colour ticked, the current one framed.
    image = Image.new("RGBA", (400, 260), BACK)
    draw = ImageDraw.Draw(image)
    for i, n in enumerate(sorted(PALETTE)):
        col, row = i % 3, i // 3
        x, y = 40 + col * 110, 40 + row * 110
        draw.rounded_rectangle((x, y, x + 99, y + 99), radius=12, fill=PALETTE[n], outline=UNPAINTED, width=3)
        number(draw, (x, y, x + 99, y + 60), n, 30)
        if n == 1:
            tick(draw, x + 30, y + 62, 36, 8)
        if n == 5:
            draw.rounded_rectangle((x - 6, y - 6, x + 105, y + 105), radius=16, outline=POINTER, width=4)
    return image


def page3():
    # A finished picture, zoomed in, under a row of three stars.
    image = Image.new("RGBA", (400, 260), BACK)
    draw = ImageDraw.Draw(image)
    size = 36
    left, top = 200 - 5 * size - size // 2, 70
    for row in range(5):
        for col in range(11):
            ch = MOSAIC[row][col + 1]
            x, y = left + col * size, top + row * size
            draw.rectangle((x, y, x + size - 1, y + size - 1), fill=PALETTE[int(ch)], outline=GRID)
    draw.rectangle((0, 0, 399, 62), fill=BACK)
    for i in range(3):
        star(draw, 140 + i * 60, 32, 26, STAR)
    return image


def block(states, hover=None, tip=None):
    # A 96 x 96 frame: a 3 x 3 block of cells numbered 1; states[i] is True when cell i is
    # painted; the hovered cell is lit; the pointer's tip at tip.
    image = Image.new("RGBA", (96, 96), BACK)
    draw = ImageDraw.Draw(image)
    for i in range(9):
        x, y = (i % 3) * 32, (i // 3) * 32
        box = (x, y, x + 31, y + 31)
        if i == hover and not states[i]:
            draw.rectangle(box, fill=HOVER, outline=GRID)
            draw.text((x + 6, y + 4), "1", fill=NUMBER, font=font(10))
        else:
            draw.rectangle(box, fill=PALETTE[1] if states[i] else UNPAINTED, outline=GRID)
            if not states[i]:
                # The number sits in the corner: the centre pixel shows the cell's state.
                draw.text((x + 6, y + 4), "1", fill=NUMBER, font=font(10))
    if tip:
        pointer(draw, tip[0], tip[1])
    return image


def paint_sheet():
    # The middle cell (the frame's centre) goes unpainted, lit under the pointer, painted
    # under the pointer's tip, painted: four different centre colours.
    painted = [[i == 3 for i in range(9)], [i == 3 for i in range(9)], [i in (3, 4) for i in range(9)],
               [i in (3, 4, 5) for i in range(9)]]
    frames = [block(painted[0], tip=(16, 48)), block(painted[1], hover=4, tip=(56, 56)),
              block(painted[2], tip=(48, 48)), block(painted[3], tip=(80, 48))]
    sheet = Image.new("RGBA", (384, 96), (0, 0, 0, 0))
    for i, frame in enumerate(frames):
        sheet.paste(frame, (96 * i, 0))
    return sheet


# The area of number 2 around the frame's centre, in 12-pixel cells of a 7 x 6 grid.
FILL_AREA = {(3, 2), (4, 2), (2, 3), (3, 3), (4, 3), (5, 3), (3, 4), (4, 4)}


def fill_frame(filled, bar, tip=None, rings=False, show_tick=False):
    image = Image.new("RGBA", (96, 96), BACK)
    draw = ImageDraw.Draw(image)
    for row in range(6):
        for col in range(7):
            # Offset by half a cell: the frame's centre is inside a cell, not on a grid line.
            x, y = 6 + col * 12, 6 + row * 12
            n = 2 if (col, row) in FILL_AREA else 3
            colour = PALETTE[n] if (n == 2 and filled) else UNPAINTED
            draw.rectangle((x, y, x + 11, y + 11), fill=colour, outline=GRID)
    # The fill bar along the bottom: charged from the left.
    draw.rectangle((4, 86, 91, 93), fill=BAR_EMPTY)
    if bar > 0:
        draw.rectangle((4, 86, 4 + int(87 * bar), 93), fill=BAR_FULL)
    if rings:
        for r in (8, 14):
            draw.ellipse((48 - r, 48 - r, 48 + r, 48 + r), outline=RING, width=3)
    if show_tick:
        draw.ellipse((38, 38, 58, 58), fill=TICK)
        draw.line([(42, 48), (46, 53), (54, 43)], fill=POINTER, width=2)
    if tip:
        pointer(draw, tip[0], tip[1])
    return image


def fill_sheet():
    # Centre pixels: the pointer, a click ring, the filled area, its tick, the area again
    # while the bar recharges, and the unfilled area with a full bar.
    frames = [fill_frame(False, 1.0, tip=(48, 48)), fill_frame(False, 1.0, tip=(52, 52), rings=True),
              fill_frame(True, 0.0), fill_frame(True, 0.33, show_tick=True), fill_frame(True, 0.66),
              fill_frame(False, 1.0)]
    sheet = Image.new("RGBA", (288, 192), (0, 0, 0, 0))
    for i, frame in enumerate(frames):
        sheet.paste(frame, (96 * (i % 3), 96 * (i // 3)))
    return sheet


def check_centres(name, pictures):
    centres = [p.getpixel((p.width // 2, p.height // 2)) for p in pictures]
    for i, c in enumerate(centres):
        for j in range(i + 1, len(centres)):
            assert c != centres[j], "%s: pictures %d and %d share the centre colour %s" % (name, i, j, c)


def frames_of(sheet, columns, rows):
    return [sheet.crop((96 * (i % columns), 96 * (i // columns), 96 * (i % columns) + 96, 96 * (i // columns) + 96))
            for i in range(columns * rows)]


def help_pictures():
    pages = [page1(), page2(), page3()]
    check_centres("pages", pages)
    paint = paint_sheet()
    fill = fill_sheet()
    for name, frames in (("paint", frames_of(paint, 4, 1)), ("fill", frames_of(fill, 3, 2))):
        for i in range(len(frames)):
            check_centres(name, [frames[i], frames[(i + 1) % len(frames)]])
    return {"page1": pages[0], "page2": pages[1], "page3": pages[2], "paint": paint, "fill": fill}
