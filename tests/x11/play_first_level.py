"""Plays the game as a new player would, under the X session its shell wrapper started:
Play from the main menu, a typed name, the level map, the first board, a focus loss that
pauses the game, every cell of the first picture painted by clicks, the level complete
window, Alt+F4. Then checks what the game left in the player's folder.

Usage: play_first_level.py <game> <assets folder> <work folder> <screenshot folder>
"""
import os
import shutil
import struct
import subprocess
import sys
import time
import xml.etree.ElementTree as ET

from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from save_files import crc  # noqa: E402

GAME, ASSETS, WORK, SHOTS = sys.argv[1:5]
NAME = "Ada"
DATA = os.path.join(WORK, "data")
FOLDER = os.path.join(DATA, "Korvel Games", "Brisalo5")
LOG = os.path.join(FOLDER, "log.txt")
OUT = os.path.join(WORK, "game.out")
ERR = os.path.join(WORK, "game.err")


def fail(message):
    print("FAIL:", message)
    for path in (ERR,):
        if os.path.exists(path):
            print("--- " + os.path.basename(path))
            with open(path, errors="replace") as f:
                print(f.read()[-6000:])
    if os.path.exists(LOG):
        print("--- log (end)")
        with open(LOG, errors="replace") as f:
            print("".join(f.readlines()[-40:]))
    if game.poll() is None:
        game.kill()
    for name in ("board", "pause", "level_complete"):
        keep(name)
    sys.exit(1)


def log_text():
    text = ""
    for path in (LOG, OUT):
        try:
            with open(path, errors="replace") as f:
                text += f.read()
        except OSError:
            pass
    return text


def wait_for(predicate, seconds, what):
    end = time.time() + seconds
    while time.time() < end:
        if predicate():
            return
        if game.poll() is not None:
            fail("the game ended (%s) while waiting for %s" % (game.returncode, what))
        time.sleep(0.1)
    fail("no " + what + " after %d s" % seconds)


def wait_line(line, seconds=60, count=1):
    wait_for(lambda: log_text().count(line) >= count, seconds, '"%s"' % line)


def xdo(*args):
    subprocess.run(["xdotool"] + [str(a) for a in args], check=True)


last_click = [0.0, -1000, -1000]


def click(x, y):
    # Two clicks closer than 32 px within half a second make a double click.
    now = time.time()
    if abs(x - last_click[1]) < 32 and abs(y - last_click[2]) < 32 and now - last_click[0] < 0.6:
        time.sleep(0.6 - (now - last_click[0]))
    xdo("mousemove", "--sync", int(x), int(y))
    time.sleep(0.05)
    xdo("click", 1)
    last_click[:] = [time.time(), x, y]


def screenshot(name):
    path = os.path.join(WORK, name + ".png")
    subprocess.run(["import", "-window", "root", path], check=True)
    return Image.open(path).convert("RGB")


def keep(name):
    if SHOTS and os.path.exists(os.path.join(WORK, name + ".png")):
        os.makedirs(SHOTS, exist_ok=True)
        shutil.copy(os.path.join(WORK, name + ".png"), os.path.join(SHOTS, name + ".png"))


def layout(name):
    """The named objects of a screen layout under assets/ui/."""
    return {o.get("name"): o for o in ET.parse(os.path.join(ASSETS, "ui", name)).getroot().iter("object")}


def tips_shown(text):
    return [line.split("show tutorial ", 1)[1].strip() for line in text.splitlines() if "show tutorial " in line]


def brightness(image, box):
    x0, y0, x1, y1 = box
    total = 0
    for y in range(y0, y1, 4):
        for x in range(x0, x1, 4):
            total += sum(image.getpixel((x, y)))
    return total / (((x1 - x0) // 4) * ((y1 - y0) // 4))


# --- the first level's picture, as the game numbers its cells -----------------------------
stages = ET.parse(os.path.join(ASSETS, "stages.xml")).getroot()
first = stages.find("stages").find("stage").find("level")
picture_name = stages.find("stages").get("folder", "") + first.get("filename")
picture = Image.open(os.path.join(ASSETS, "textures", picture_name))
assert picture.mode == "P", "the first level is not a paletted picture"
width, height = picture.size
palette = picture.getpalette()
numbers = set()
white = -1
cells = []  # x, y, number, visible: a cell is white by its own palette entry, before renumbering
for y in range(height):
    for x in range(width):
        n = picture.getpixel((x, y))
        numbers.add(n)
        shown = tuple(palette[3 * n:3 * n + 3]) != (255, 255, 255)
        if not shown:
            white = n
        cells.append([x, y, n, shown])
count = len(numbers)
if white >= 0:
    if count - 1 != white:
        for cell in cells:
            if cell[2] == count - 1:
                cell[2] = white
    count -= 1
visible = [cell for cell in cells if cell[3]]

# Where the board shows a cell at fit zoom: the picture centred in "paintview".
boxes = layout("interface.xml")
vx, vy, vw, vh = (int(v) for v in boxes["paintview"].get("rect").split("."))
CELL = 26
pw, ph = width * CELL, height * CELL
zoom = min(vw / pw, vh / ph)
origin_x = vx + int(vw / 2) - int(pw * zoom * 0.5)
origin_y = vy + int(vh / 2) - int(ph * zoom * 0.5)


def cell_point(cell):
    return origin_x + (cell[0] * CELL + CELL / 2) * zoom, origin_y + (cell[1] * CELL + CELL / 2) * zoom


tx, ty, tw, th = (int(v) for v in boxes["colortable"].get("rect").split("."))
swatch = Image.open(os.path.join(ASSETS, "textures", "tilesets", "color.png")).size
rows_per_page = max(1, int(th / swatch[1]))


def swatch_point(number):
    column, row = number % 4, number // 4
    assert row < rows_per_page, "the first level's colours fit one page of the table"
    return tx + (swatch[0] + 2) * column + swatch[0] / 2, ty + (swatch[1] + 2) * row + swatch[1] / 2


# --- the run -------------------------------------------------------------------------------
os.makedirs(DATA, exist_ok=True)
env = dict(os.environ, SDL_VIDEODRIVER="x11", SDL_AUDIODRIVER="dummy", ALSOFT_DRIVERS="null",
           XDG_DATA_HOME=DATA)
if os.environ.get("GAME_PRELOAD"):
    env["LD_PRELOAD"] = os.environ["GAME_PRELOAD"]
game = subprocess.Popen([GAME], stdout=open(OUT, "w"), stderr=open(ERR, "w"), env=env)
# The game's own cursor follows the pointer: parked away from what the checks read.
xdo("mousemove", 1340, 20)
wait_line("mainmenu end constructor", 120)
window = ""
for _ in range(100):
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(game.pid)],
                           capture_output=True, text=True).stdout.split()
    if found:
        window = found[0]
        break
    time.sleep(0.1)
if not window:
    fail("the game's window was not found")
xdo("windowfocus", "--sync", window)
# The menu ignores clicks while its fader runs.
time.sleep(1.5)

# Play: the name window flies in.
menu = layout("mainmenu.xml")
large = Image.open(os.path.join(ASSETS, "textures", "gui", "buttons", "large.png")).size
play = menu["main_play"]
click(int(play.get("x")) + large[0] / 2, int(play.get("y")) + large[1] / 8)
time.sleep(1.5)
xdo("type", "--delay", 120, NAME)
time.sleep(0.5)
names = layout("username.xml")
dialog = Image.open(os.path.join(ASSETS, "textures", "gui", "windows", "dlgsmall.png")).size
small = Image.open(os.path.join(ASSETS, "textures", "gui", "buttons", "small.png")).size
left = int(names["window"].get("x")) - dialog[0] // 2
top = int(names["window"].get("y")) - dialog[1] // 2
ok = names["ok"]
click(left + int(ok.get("x")) + small[0] / 2, top + int(ok.get("y")) + small[1] / 8)
wait_for(lambda: os.path.exists(os.path.join(FOLDER, "user1")), 20, "the new player's profile")

# The map: the first board of the first stage.
time.sleep(3.0)
bx, by = (int(v) for v in boxes["mapboardbox"].get("rect").split(".")[:2])
click(bx + 100, by + 100)

progress = os.path.join(FOLDER, "1", os.path.splitext(os.path.basename(picture_name))[0] + ".dat")
# Tips the map showed are the map's; the board logs the end of its own.
shown = set(tips_shown(log_text()))


def dismiss_tips():
    """Closes every tip the board has shown, with a click on the board where nothing reacts."""
    for name in tips_shown(log_text()):
        if name in shown:
            continue
        if "tutorial window done = " + name not in log_text():
            time.sleep(0.8)
            click(1345, 300)
            wait_line("tutorial window done = " + name, 20)
        shown.add(name)


# The level has started when its first tip shows.
wait_line("show tutorial ", 30)
time.sleep(1.0)
dismiss_tips()

# A focus loss covers the game with the pause window until the focus comes back. The window
# manager hands a focus left on the root window straight back to the game, so another small
# window takes it, in a corner away from the checked region.
before = screenshot("board")
other = subprocess.Popen(["xmessage", "-geometry", "+1250+700", "away"])
try:
    found = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--class", "Xmessage"],
                           capture_output=True, text=True, timeout=20).stdout.split()
    if not found:
        fail("the other window did not show")
    xdo("windowactivate", "--sync", found[0])
    wait_line("Lost Focus", 20)
    time.sleep(1.0)
    paused = screenshot("pause")
    keep("pause")
finally:
    other.kill()
    other.wait()
xdo("windowactivate", "--sync", window)
wait_line("Got Focus", 20, 2)
time.sleep(0.5)
region = (40, 40, 900, 700)
if brightness(paused, region) > 0.8 * brightness(before, region):
    fail("no pause overlay darkened the board")
dismiss_tips()

# Paint: per colour, its swatch, then each of its cells; each click reaches the progress file.
for number in range(count):
    own = [c for c in visible if c[2] == number]
    if not own:
        continue
    dismiss_tips()
    click(*swatch_point(number))
    time.sleep(0.4)
    for cell in own:
        dismiss_tips()
        click(*cell_point(cell))
        index = 4 + cell[1] * width + cell[0]

        def painted():
            try:
                with open(progress, "rb") as f:
                    data = f.read()
            except OSError:
                return False
            return len(data) > index and data[index] == number

        wait_for(painted, 10, "cell %d,%d painted %d in the progress file" % (cell[0], cell[1], number))

# The level complete window flies in over the board.
time.sleep(3.0)
done = screenshot("level_complete")
keep("level_complete")
panel = Image.open(os.path.join(ASSETS, "textures", "gui", "levelcomplete", "back.png")).convert("RGBA")
px0, py0 = 683 - panel.size[0] // 2, 384 - panel.size[1] // 2
checked = matched = 0
for y in range(10, panel.size[1] - 10, 20):
    for x in range(10, panel.size[0] - 10, 20):
        r, g, b, a = panel.getpixel((x, y))
        if a < 255:
            continue
        checked += 1
        got = done.getpixel((px0 + x, py0 + y))
        if max(abs(p - q) for p, q in zip(got, (r, g, b))) <= 30:
            matched += 1
if checked == 0 or matched < 0.5 * checked:
    fail("no level complete panel: %d of %d panel points match" % (matched, checked))

xdo("key", "--window", window, "alt+F4")
try:
    code = game.wait(60)
except subprocess.TimeoutExpired:
    fail("Alt+F4 did not end the game")
if code != 0:
    fail("the game ended with %d" % code)


# --- what the game left in the player's folder ---------------------------------------------
problems = []


def checked_file(name):
    with open(os.path.join(FOLDER, name), "rb") as f:
        data = f.read()
    if struct.unpack("<I", data[:4])[0] != crc(data[4:]):
        problems.append(name + ": bad checksum")
    return data


settings = checked_file("settings.dat")
if settings[14] != 1 or settings[16] != 1:
    problems.append("settings.dat: fullscreen %d, custom cursor %d" % (settings[14], settings[16]))
users = struct.pack("<hhhh", 0, 1, 1, 1) + struct.pack("<H", len(NAME)) + NAME.encode()
if settings[17:] != users:
    problems.append("settings.dat players: " + settings[17:].hex())


class Reader:
    def __init__(self, data, at):
        self.data, self.at = data, at

    def take(self, fmt):
        value = struct.unpack_from("<" + fmt, self.data, self.at)
        self.at += struct.calcsize("<" + fmt)
        return value if len(value) > 1 else value[0]

    def string(self):
        n = self.take("H")
        self.at += n


profile = Reader(checked_file("user1"), 8)
profile.take("iiiiBB")
for _ in range(profile.take("H")):
    profile.string()
    profile.string()
difficulty, mode = profile.take("BB")
profile.take("ii")
stage, level, level_score, total, further = profile.take("iiiii")
flag4, flag5, started, running, flag2 = profile.take("BBBBB")
entries = [profile.take("iii") for _ in range(profile.take("i"))]
if (difficulty, mode) != (0, 0):
    problems.append("user1: difficulty %d, mode %d" % (difficulty, mode))
if (started, running, total) != (1, 0, 100):
    problems.append("user1: started %d, running %d, total score %d" % (started, running, total))
if not entries or entries[0][1] != 100 or entries[0][2] < 1:
    problems.append("user1: first level entry %s" % (entries[:1],))

with open(progress, "rb") as f:
    saved = f.read()
if len(saved) != 4 + width * height:
    problems.append("%s is %d bytes" % (progress, len(saved)))
elif struct.unpack("<i", saved[:4])[0] != 0:
    problems.append("progress: %d errors" % struct.unpack("<i", saved[:4])[0])
else:
    for cell in cells:
        want = cell[2] if cell[3] else 255
        got = saved[4 + cell[1] * width + cell[0]]
        if got != want:
            problems.append("progress: cell %d,%d holds %d, not %d" % (cell[0], cell[1], got, want))
            break

if problems:
    print("\n".join(problems))
    sys.exit(1)
print("played %s: %d cells in %d colours, best score %d with %d stars; files as expected"
      % (picture_name, len(visible), count, entries[0][1], entries[0][2]))
