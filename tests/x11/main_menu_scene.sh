#!/bin/sh
# Whole-program check under Xvfb: the game started as a new user would shows the main menu's
# live scene. Two screenshots a second apart: the sails' hub sits in its colour, the sails
# round it and the waterfall have moved, the sign shows its lettering, the farm's hatch is open
# over its dark loft with the bale dropped below, the pennant and the butterfly have moved, a
# box where nothing moves stays the same, and the log names no missing file. Screenshot A is kept.
# Usage: main_menu_scene.sh <game executable> <screenshot>
set -u
GAME=$1
SHOT=$2
. "$(dirname "$0")/x_session.sh"

start_xvfb
start_openbox

LOG="$WORK/data/Korvel Games/Brisalo5/log.txt"
mkdir -p "$WORK/data"
env SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null XDG_DATA_HOME="$WORK/data" \
    ASAN_OPTIONS=detect_leaks=0 "$GAME" >"$WORK/game.out" 2>"$WORK/game.err" &
PID=$!
# The log file may be written late: the console copy of the log says it first.
came() { cat "$LOG" "$WORK/game.out" "$WORK/game.err" 2>/dev/null | grep -q "mainmenu end constructor"; }
# A sanitizer build on a busy machine may take a while to start.
for _ in $(seq 900); do
    came && break
    kill -0 "$PID" 2>/dev/null || break
    sleep 0.1
done
came || { echo "the main menu never came"; cat "$WORK/game.err"; exit 1; }
# The game's own cursor follows the pointer: parked in a corner away from the checked boxes.
xdotool mousemove 1300 740
sleep 2.5
import -window root "$WORK/a.png" || { echo "no screenshot A"; exit 1; }
sleep 1.0
import -window root "$WORK/b.png" || { echo "no screenshot B"; exit 1; }
cp "$WORK/a.png" "$SHOT" || echo "screenshot not kept"
kill -TERM "$PID"
wait "$PID"
code=$?
PID=""
[ "$code" -eq 0 ] || { echo "the game ended with $code"; cat "$WORK/game.err"; exit 1; }
if grep -q "File not found" "$LOG"; then
    echo "a file is missing:"
    grep "File not found" "$LOG"
    exit 1
fi
/usr/bin/python3 - "$WORK/a.png" "$WORK/b.png" <<'PY'
import sys
from PIL import Image
a = Image.open(sys.argv[1]).convert("RGB")
b = Image.open(sys.argv[2]).convert("RGB")
hub = (92, 52, 24)
got = a.getpixel((420, 572))
ok = True
if max(abs(g - h) for g, h in zip(got, hub)) > 12:
    print("hub pixel is", got, "not", hub)
    ok = False
def changed(box, limit):
    x0, y0, w, h = box
    n = 0
    for y in range(y0, y0 + h):
        for x in range(x0, x0 + w):
            if max(abs(p - q) for p, q in zip(a.getpixel((x, y)), b.getpixel((x, y)))) > limit:
                n += 1
    return n
turned = changed((340, 492, 160, 160), 24)
print("sails changed in", turned, "pixels")
if turned < 300:
    print("the sails did not turn")
    ok = False
fell = changed((1240, 610, 64, 38), 24)
print("waterfall changed in", fell, "pixels")
if fell < 300:
    print("the water did not fall")
    ok = False
sign = (70, 45, 20)
letters = sum(1 for y in range(700, 736) for x in range(230, 370)
              if max(abs(p - q) for p, q in zip(a.getpixel((x, y)), sign)) <= 24)
print("sign has", letters, "pixels of its lettering colour")
if letters < 20:
    print("the sign shows no lettering")
    ok = False
def within(point, colour, limit=12):
    got = a.getpixel(point)
    near = max(abs(g - c) for g, c in zip(got, colour)) <= limit
    if not near:
        print("pixel", point, "is", got, "not", colour)
    return near
ok = within((892, 617), (120, 72, 36)) and ok  # the opened hatch
ok = within((926, 617), (24, 18, 14)) and ok  # the loft behind it
ok = within((925, 698), (226, 196, 96)) and ok  # the dropped bale
waved = changed((925, 558, 48, 32), 24)
print("pennant changed in", waved, "pixels")
if waved < 150:
    print("the pennant did not wave")
    ok = False
flown = changed((1290, 300, 72, 252), 24)
print("butterfly box changed in", flown, "pixels")
if flown < 150:
    print("the butterfly did not fly")
    ok = False
still = changed((700, 720, 120, 40), 2)
if still:
    print("the still box changed in", still, "pixels")
    ok = False
sys.exit(0 if ok else 1)
PY
