# Writes the main menu's puzzle corner as RGBA PNGs under assets/textures/mainmenu/: the
# timber wall the puzzles hang on, the lock plate with its digit strip, the sliding-tile frame and its fifteen tiles, the maze board and
# its ball, and the item slot with its two gems and the ring.
# Run: /usr/bin/python3 tools/make_scene_puzzles.py   (from anywhere)
import math

from PIL import ImageDraw, ImageFont
from scene_pictures import canvas, save

BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"

# The maze's rows as the scene lists them; 1 is a wall. Start bottom left, exit top right.
MAZE = ["0 0 0 1 0 0", "0 1 0 1 0 1", "0 1 0 0 0 0", "0 0 1 1 1 0", "1 0 0 0 1 0", "0 0 1 0 0 0"]
MAZE_EXIT = (0, 5)


def puzzlewall():
    # 278 x 300: a planked board on two posts; the tile frame and the maze hang side by side on
    # its upper half, the lock plate below them, and the posts stand in the grass behind the barn.
    w, h = 278, 300
    image = canvas(w, h)
    d = ImageDraw.Draw(image)
    post, post_dark = (110, 72, 38, 255), (72, 46, 22, 255)
    for x in (36, w - 50):
        d.rectangle([x, 200, x + 13, h - 1], fill=post, outline=post_dark)
    d.rectangle([0, 0, w - 1, 243], fill=(86, 58, 34, 255))
    for y in range(6, 238, 29):
        d.rectangle([6, y, w - 7, y + 26], fill=(132, 92, 54, 255))
        d.line([(6, y + 27), (w - 7, y + 27)], fill=(70, 46, 26, 255))
    d.rectangle([0, 0, w - 1, 243], outline=(58, 38, 20, 255), width=3)
    d.polygon([(-4, 0), (w / 2, -1), (w + 3, 0), (w - 1, 6), (0, 6)], fill=(72, 46, 22, 255))
    for x, y in ((14, 14), (w - 15, 14), (14, 229), (w - 15, 229)):
        d.ellipse([x - 3, y - 3, x + 3, y + 3], fill=(40, 30, 22, 255))
    return image


def lockplate():
    image = canvas(156, 72)
    d = ImageDraw.Draw(image)
    d.rounded_rectangle([0, 0, 155, 71], radius=8, fill=(178, 140, 58, 255), outline=(112, 82, 30, 255), width=2)
    d.rounded_rectangle([4, 4, 151, 67], radius=6, outline=(214, 182, 98, 255), width=1)
    for x in (12, 60, 108):
        d.rectangle([x - 2, 10, x + 37, 61], fill=(96, 70, 26, 255))
        d.rectangle([x, 12, x + 35, 59], fill=(28, 22, 16, 255))
    for x, y in ((6, 36), (150, 36)):
        d.ellipse([x - 2, y - 2, x + 2, y + 2], fill=(90, 66, 24, 255))
    return image


def digits():
    image = canvas(36, 480, (236, 226, 198, 255))
    d = ImageDraw.Draw(image)
    font = ImageFont.truetype(BOLD, 34)
    for digit in range(10):
        top = digit * 48
        d.line([(0, top), (35, top)], fill=(200, 188, 156, 255))
        d.text((18, top + 24), str(digit), font=font, fill=(40, 32, 24, 255), anchor="mm")
    return image


def tileboard():
    image = canvas(120, 120, (58, 36, 20, 255))
    d = ImageDraw.Draw(image)
    for i in range(4):
        d.rectangle([i, i, 119 - i, 119 - i], outline=(150 - 14 * i, 98 - 9 * i, 52 - 5 * i, 255))
    return image


def tile_picture():
    # Our own little seascape: sky, sun, a boat with a sail, waves.
    image = canvas(112, 112, (150, 200, 240, 255))
    d = ImageDraw.Draw(image)
    for y in range(60):
        shade = 240 - y
        d.line([(0, y), (111, y)], fill=(120 + y // 2, 180 + y // 3, shade, 255))
    d.ellipse([70, 8, 100, 38], fill=(250, 206, 70, 255))
    d.rectangle([0, 62, 111, 111], fill=(40, 96, 170, 255))
    for row in range(6):
        y = 66 + row * 8
        for x in range(-8, 112, 16):
            d.arc([x + (row % 2) * 8, y, x + 16 + (row % 2) * 8, y + 8], 180, 360, fill=(180, 220, 250, 255), width=2)
    d.polygon([(22, 62), (70, 62), (62, 74), (30, 74)], fill=(120, 62, 30, 255))
    d.line([(46, 62), (46, 22)], fill=(80, 50, 30, 255), width=2)
    d.polygon([(48, 24), (48, 58), (72, 58)], fill=(246, 242, 230, 255))
    d.polygon([(44, 30), (44, 58), (26, 58)], fill=(230, 90, 70, 255))
    return image


def tiles():
    picture = tile_picture()
    for value in range(1, 16):
        row, col = (value - 1) // 4, (value - 1) % 4
        tile = picture.crop((col * 28, row * 28, col * 28 + 28, row * 28 + 28))
        edge = ImageDraw.Draw(tile)
        for x in range(28):
            for y in (0, 27):
                r, g, b, _ = tile.getpixel((x, y))
                edge.point((x, y), fill=(r * 3 // 5, g * 3 // 5, b * 3 // 5, 255))
        for y in range(1, 27):
            for x in (0, 27):
                r, g, b, _ = tile.getpixel((x, y))
                edge.point((x, y), fill=(r * 3 // 5, g * 3 // 5, b * 3 // 5, 255))
        save("tile%02d" % value, tile)


def maze():
    image = canvas(120, 120)
    d = ImageDraw.Draw(image)
    for i, row in enumerate(MAZE):
        for j, value in enumerate(row.split()):
            box = [j * 20, i * 20, j * 20 + 19, i * 20 + 19]
            if value == "1":
                d.rectangle(box, fill=(60, 58, 70, 255))
                d.line([(box[0], box[1]), (box[2], box[1])], fill=(96, 94, 108, 255))
            else:
                d.rectangle(box, fill=(226, 218, 190, 255), outline=(206, 196, 166, 255))
    i, j = MAZE_EXIT
    d.rectangle([j * 20 + 3, i * 20 + 3, j * 20 + 16, i * 20 + 16], outline=(40, 150, 60, 255), width=2)
    d.line([(j * 20 + 6, i * 20 + 10), (j * 20 + 13, i * 20 + 10)], fill=(40, 150, 60, 255), width=2)
    return image


def ball():
    image = canvas(14, 14)
    d = ImageDraw.Draw(image)
    d.ellipse([0, 0, 13, 13], fill=(196, 30, 36, 255), outline=(120, 14, 20, 255))
    d.ellipse([3, 3, 6, 6], fill=(250, 170, 170, 255))
    return image


def slot():
    image = canvas(48, 48)
    d = ImageDraw.Draw(image)
    d.rounded_rectangle([0, 0, 47, 47], radius=6, fill=(128, 124, 116, 255), outline=(80, 76, 70, 255), width=2)
    d.ellipse([8, 8, 39, 39], fill=(92, 88, 82, 255), outline=(150, 146, 138, 255))
    return image


def gem(light, dark):
    image = canvas(48, 48)
    d = ImageDraw.Draw(image)
    outline = [(24, 8), (38, 20), (24, 40), (10, 20)]
    d.polygon(outline, fill=dark)
    d.polygon([(24, 8), (38, 20), (24, 24), (10, 20)], fill=light)
    d.line(outline + [outline[0]], fill=(30, 30, 30, 255))
    return image


def ring():
    image = canvas(48, 48)
    d = ImageDraw.Draw(image)
    d.ellipse([2, 2, 45, 45], outline=(212, 170, 40, 255), width=4)
    d.ellipse([5, 5, 42, 42], outline=(250, 220, 110, 255), width=1)
    for k in range(8):
        a = k * math.pi / 4
        x, y = 24 + 21 * math.cos(a), 24 + 21 * math.sin(a)
        d.ellipse([x - 1.5, y - 1.5, x + 1.5, y + 1.5], fill=(255, 244, 190, 255))
    return image


save("puzzlewall", puzzlewall())
save("lockplate", lockplate())
save("digits", digits())
save("tileboard", tileboard())
tiles()
save("maze", maze())
save("ball", ball())
save("slot", slot())
save("gem_red", gem((236, 84, 84, 255), (164, 24, 30, 255)))
save("gem_blue", gem((96, 150, 240, 255), (28, 60, 160, 255)))
save("ring", ring())
