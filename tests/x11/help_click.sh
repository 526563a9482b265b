#!/bin/sh
# Whole-program check under Xvfb: the probe shows the help dialog in the game's window; the
# clicks next, next, prev must turn to the pages 1, 2, 1 (the probe checks each page's
# picture on the screen), and close must close it with the result 0. A screenshot of the
# last page is kept. Usage: help_click.sh <probe executable> <screenshot file>
set -u
PROBE=$1
SHOT=$2
. "$(dirname "$0")/x_session.sh"

start_xvfb
start_openbox

OUT="$WORK/probe.txt"
fail() {
    echo "$1"
    cat "$OUT" "$WORK/probe.err"
    exit 1
}

# The game's own cursor follows the pointer: parked away from the checked pixels.
xdotool mousemove 1300 700
mkdir -p "$WORK/data"
env SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null XDG_DATA_HOME="$WORK/data" \
    ASAN_OPTIONS=detect_leaks=0 "$PROBE" >"$OUT" 2>"$WORK/probe.err" &
PID=$!

line=""
line=$(first_line "$OUT" "shown " "$PID" 300) || fail "the dialog never arrived"
window=$(echo "$line" | sed 's/.*window=\([0-9]*\).*/\1/')
point() { echo "$line" | sed "s/.* $1=\([0-9]*\),\([0-9]*\).*/\1 \2/"; }

# Clicks the button (window-relative: without a window manager the window need not sit at
# 0, 0) and waits for the probe's n-th page line, which must name the expected page.
turn() {
    xdotool mousemove --window "$window" $(point "$1") click 1
    for _ in $(seq 50); do
        [ "$(grep -c '^page=' "$OUT")" -ge "$2" ] && break
        kill -0 "$PID" 2>/dev/null || break
        sleep 0.1
    done
    got=$(grep '^page=' "$OUT" | sed -n "$2p")
    [ "$got" = "page=$3" ] || fail "after $1: '$got', not page=$3"
    # Apart, so that no two clicks make a double click.
    sleep 1
}

# Beside the dialog: the screen beneath must not hear it (the probe fails if it does).
xdotool mousemove --window "$window" 100 100 click 1
sleep 1
turn next 1 1
turn next 2 2
turn prev 3 1
import -window root "$SHOT" || echo "no screenshot"
xdotool mousemove --window "$window" $(point close) click 1
wait "$PID"
code=$?
PID=""
cat "$OUT"
[ "$code" -eq 0 ] || fail "probe failed (exit $code)"
grep -q '^closed id=333 result=0$' "$OUT" || fail "closed wrongly"
[ "$(grep -c '^page=' "$OUT")" -eq 3 ] || fail "an unexpected page change"
