#!/bin/sh
# Whole-program check under Xvfb: the game started as a new user would shows the main menu's
# live scene. Two screenshots a second apart: the sails' hub sits in its colour, the sails
# round it, the clock tower's hand, the waterfall (drawn whole from its lip down in each of the
# four shots below), the easel's canvas, the trembling sun, the
# pennant and the right-hand butterfly have moved, the sign shows its lettering, the butterfly,
# the lock plate and the puzzle corner's pictures show, the scales' beam is tilted, the farm's
# hatch is open over its dark loft with the bale dropped below, a box where nothing moves stays
# the same, and the log names no missing file. Two more, C a second after B and D half a second
# after C: the pond's water has changed between two of A, B and C, the ring of light between C
# and D, and in none of the four does the ring's box show the black surround of an opaque
# movie. Screenshot A is kept. A piece that repeats itself is judged over every pair of shots.
# The scene is one landscape around the menu: nothing moves inside the title's box or a
# button's box between two shots a second apart. Then a player is made through Play and the
# game started again: with the player's name showing, the name and "Not you?" read against the
# median of what lies behind them (contrast ratio at least 4.5), and the boxes stay still again.
# Usage: main_menu_scene.sh <game executable> <screenshot>
set -u
GAME=$1
SHOT=$2
. "$(dirname "$0")/x_session.sh"

start_xvfb
start_openbox

ASSETS="$(dirname "$0")/../../assets"
FOLDER="$WORK/data/Korvel Games/Brisalo5"
LOG="$FOLDER/log.txt"
mkdir -p "$WORK/data"
# Starts the game and waits for its main menu.
start_game() {
    rm -f "$LOG"
    env SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null XDG_DATA_HOME="$WORK/data" \
        ASAN_OPTIONS=detect_leaks=0 "$GAME" >"$WORK/game.out" 2>"$WORK/game.err" &
    PID=$!
    # A sanitizer build on a busy machine may take a while to start.
    for _ in $(seq 900); do
        came && break
        kill -0 "$PID" 2>/dev/null || break
        sleep 0.1
    done
    came || { echo "the main menu never came"; cat "$WORK/game.err"; exit 1; }
    # The game's own cursor follows the pointer: parked in a corner away from the checked boxes.
    xdotool mousemove 1300 740
}
# The log file may be written late: the console copy of the log says it first.
came() { cat "$LOG" "$WORK/game.out" "$WORK/game.err" 2>/dev/null | grep -q "mainmenu end constructor"; }
# Ends the game through its normal shutdown; fails when it does not end cleanly.
stop_game() {
    kill -TERM "$PID"
    wait "$PID"
    code=$?
    PID=""
    [ "$code" -eq 0 ] || { echo "the game ended with $code"; cat "$WORK/game.err"; exit 1; }
}

start_game
sleep 2.5
import -window root "$WORK/a.png" || { echo "no screenshot A"; exit 1; }
sleep 1.0
import -window root "$WORK/b.png" || { echo "no screenshot B"; exit 1; }
sleep 1.0
import -window root "$WORK/c.png" || { echo "no screenshot C"; exit 1; }
# Half a pass of the ring later.
sleep 0.5
import -window root "$WORK/d.png" || { echo "no screenshot D"; exit 1; }
cp "$WORK/a.png" "$SHOT" || echo "screenshot not kept"
if grep -q "File not found" "$LOG"; then
    echo "a file is missing:"
    grep "File not found" "$LOG"
    exit 1
fi

# A new player through Play: the name window takes a typed name and its OK button.
WINDOW=$(xdotool search --onlyvisible --pid "$PID" | head -n 1)
[ -n "$WINDOW" ] && xdotool windowfocus --sync "$WINDOW"
click() { xdotool mousemove --sync "$1" "$2"; sleep 0.1; xdotool click 1; }
point() {
    /usr/bin/python3 - "$ASSETS" "$1" <<'PY'
import os
import sys
import xml.etree.ElementTree as ET
from PIL import Image
assets, what = sys.argv[1:3]
def layout(name):
    return {o.get("name"): o for o in ET.parse(os.path.join(assets, "ui", name)).getroot().iter("object")}
def size(path):
    return Image.open(os.path.join(assets, "textures", path)).size
if what == "play":
    play, large = layout("mainmenu.xml")["main_play"], size("gui/buttons/large.png")
    print(int(play.get("x")) + large[0] // 2, int(play.get("y")) + large[1] // 8)
else:
    names, dialog, small = layout("username.xml"), size("gui/windows/dlgsmall.png"), size("gui/buttons/small.png")
    ok = names["ok"]
    print(int(names["window"].get("x")) - dialog[0] // 2 + int(ok.get("x")) + small[0] // 2,
          int(names["window"].get("y")) - dialog[1] // 2 + int(ok.get("y")) + small[1] // 8)
PY
}
click $(point play)
sleep 1.5
xdotool type --delay 120 Ada
sleep 0.5
click $(point ok)
for _ in $(seq 200); do [ -e "$FOLDER/user1" ] && break; sleep 0.1; done
[ -e "$FOLDER/user1" ] || { echo "no player was made"; exit 1; }
sleep 0.5
stop_game

start_game
sleep 2.5
import -window root "$WORK/e.png" || { echo "no screenshot E"; exit 1; }
sleep 1.0
import -window root "$WORK/f.png" || { echo "no screenshot F"; exit 1; }
stop_game

/usr/bin/python3 - "$ASSETS" "$WORK/a.png" "$WORK/b.png" "$WORK/c.png" "$WORK/d.png" "$WORK/e.png" "$WORK/f.png" <<'PY'
import os
import sys
import xml.etree.ElementTree as ET
from PIL import Image
assets = sys.argv[1]
a, b, c, d, e, f = (Image.open(path).convert("RGB") for path in sys.argv[2:8])
ok = True
def distance(got, colour):
    return max(abs(p - q) for p, q in zip(got, colour))
def shows(shot, point, colour, limit, what):
    """Whether a shot holds about that colour at the point; says so when it does not."""
    got = shot.getpixel(point)
    if distance(got, colour) <= limit:
        return True
    print(what, "at", point, "is", got, "not", colour)
    return False
def count_near(shot, box, colour, limit):
    x0, y0, w, h = box
    return sum(1 for y in range(y0, y0 + h) for x in range(x0, x0 + w)
               if distance(shot.getpixel((x, y)), colour) <= limit)
ok = shows(a, (420, 572), (92, 52, 24), 12, "the hub") and ok
def changed(box, limit, first=a, second=b):
    x0, y0, w, h = box
    n = 0
    for y in range(y0, y0 + h):
        for x in range(x0, x0 + w):
            if distance(first.getpixel((x, y)), second.getpixel((x, y))) > limit:
                n += 1
    return n
def moved(box, limit):
    """The most a box changed between any two shots: a piece that repeats itself can look the
    same in two of them."""
    shots = (a, b, c, d)
    return max(changed(box, limit, shots[i], shots[j]) for i in range(4) for j in range(i + 1, 4))
turned = changed((340, 492, 160, 160), 24)
print("sails changed in", turned, "pixels")
if turned < 300:
    print("the sails did not turn")
    ok = False
fell = moved((1240, 610, 64, 38), 24)
print("waterfall changed in", fell, "pixels")
if fell < 300:
    print("the water did not fall")
    ok = False
# The strip is drawn whole in every shot: each row between the lip and the mist shows water.
for name, shot in (("A", a), ("B", b), ("C", c), ("D", d)):
    dry = [y for y in range(612, 672)
           if not any(shot.getpixel((x, y))[2] > 150 and shot.getpixel((x, y))[2] > shot.getpixel((x, y))[0] + 40
                      for x in range(1244, 1300, 4))]
    if dry:
        print("shot", name, "shows no water in", len(dry), "rows of the strip, the first at", dry[0])
        ok = False
letters = count_near(a, (230, 700, 140, 36), (70, 45, 20), 24)
print("sign has", letters, "pixels of its lettering colour")
if letters < 20:
    print("the sign shows no lettering")
    ok = False
orange = count_near(a, (30, 500, 32, 24), (242, 138, 24), 24)
print("flutter box has", orange, "pixels of the wings' orange")
if orange < 40:
    print("the butterfly does not show")
    ok = False
# The pond cross-fades over 4 s: at three instants a second apart it cannot look the same.
pond = max(changed((560, 716, 140, 40), 8), changed((560, 716, 140, 40), 8, b, c))
print("pond changed in", pond, "pixels")
if pond < 100:
    print("the pond did not shimmer")
    ok = False
canvas = changed((170, 496, 160, 128), 24)
print("canvas changed in", canvas, "pixels")
if canvas < 300:
    print("the easel's canvas did not play")
    ok = False
ring = changed((318, 134, 128, 128), 24, c, d)
print("ring changed in", ring, "pixels between C and D")
if ring < 200:
    print("the ring of light did not pulse")
    ok = False
for name, shot in (("A", a), ("B", b), ("C", c), ("D", d)):
    dark = count_near(shot, (318, 134, 128, 128), (0, 0, 0), 16)
    if dark >= 1000:
        print("the ring's box in", name, "shows", dark, "black pixels: its movie is drawn opaque")
        ok = False
trembled = moved((20, 260, 80, 75), 24)
print("the trembling sun changed", trembled, "pixels")
if trembled < 30:
    print("the sun by the left picture did not tremble")
    ok = False
ok = shows(a, (935, 510), (178, 140, 58), 16, "the lock plate") and ok
# The puzzle corner at rest: the moon on the reel and its echo, the bucket, both flames.
for point, colour, what in (((1052, 582), (24, 32, 84), "the reel's moon"),
                            ((1134, 582), (24, 32, 84), "the echo's moon"),
                            ((1167, 660), (150, 96, 52), "the bucket"),
                            ((1030, 540), (255, 184, 48), "the lamp's flame"),
                            ((1090, 540), (255, 184, 48), "the lantern's flame")):
    ok = shows(b, point, colour, 12, what) and ok
dial = changed((458, 312, 56, 56), 24)
print("clock dial changed in", dial, "pixels")
if dial < 40:
    print("the clock hand did not tick")
    ok = False
ok = shows(a, (892, 617), (120, 72, 36), 12, "the opened hatch") and ok
ok = shows(a, (926, 617), (24, 18, 14), 12, "the loft behind it") and ok
ok = shows(a, (925, 698), (226, 196, 96), 12, "the dropped bale") and ok
waved = moved((925, 558, 48, 32), 24)
print("pennant changed in", waved, "pixels")
if waved < 150:
    print("the pennant did not wave")
    ok = False
flown = moved((1290, 488, 72, 110), 24)
print("butterfly box changed in", flown, "pixels")
if flown < 150:
    print("the butterfly did not fly")
    ok = False
still = changed((700, 720, 120, 40), 2)
if still:
    print("the still box changed in", still, "pixels")
    ok = False
beam = (110, 62, 28)
for point in ((65, 579), (135, 571)):
    ok = shows(a, point, beam, 16, "the tilted beam") and ok
for point in ((65, 573), (135, 577)):
    if distance(a.getpixel(point), beam) <= 40:
        print("the beam lies level at", point)
        ok = False
menu = {o.get("name"): o for o in ET.parse(os.path.join(assets, "ui", "mainmenu.xml")).getroot().iter("object")}
def rect(name):
    return tuple(int(v) for v in menu[name].get("rect").split("."))
# Nothing of the scene moves behind or over the title or a button, with or without a player.
button = Image.open(os.path.join(assets, "textures", "gui", "buttons", "large.png")).size
boxes = [("the title", rect("title"))]
for name in ("main_play", "main_profiles", "main_options", "main_help", "main_moregames", "main_exit"):
    boxes.append((name, (int(menu[name].get("x")), int(menu[name].get("y")), button[0], button[1] // 4)))
for what, box in boxes:
    for first, second, when in ((a, b, "without a player"), (e, f, "with a player")):
        moving = changed(box, 0, first, second)
        if moving:
            print(what, "changed in", moving, "pixels within a second", when)
            ok = False
def linear(channel):
    channel /= 255.0
    return channel / 12.92 if channel <= 0.04045 else ((channel + 0.055) / 1.055) ** 2.4
def luminance(colour):
    r, g, b = (linear(v) for v in colour[:3])
    return 0.2126 * r + 0.7152 * g + 0.0722 * b
def contrast(one, other):
    light, dark = max(one, other), min(one, other)
    return (light + 0.05) / (dark + 0.05)
# The labels read against what lies behind them: the median of their box, the letters included.
for name in ("namelbl", "notyoulbl"):
    x0, y0, w, h = rect(name)
    behind = sorted(luminance(e.getpixel((x, y))) for y in range(y0, y0 + h) for x in range(x0, x0 + w))
    colour = tuple(int(v) for v in menu[name].get("color").split("."))
    ratio = contrast(luminance(colour), behind[len(behind) // 2])
    print(name, "contrast", round(ratio, 2))
    if ratio < 4.5:
        print(name, "reads poorly:", round(ratio, 2), "against its box")
        ok = False
    letters = count_near(e, (x0, y0, w, h), colour, 24)
    if letters < 20:
        print(name, "shows no letters in its colour with a player")
        ok = False
sys.exit(0 if ok else 1)
PY
