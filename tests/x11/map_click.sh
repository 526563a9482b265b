#!/bin/sh
# Whole-program check under Xvfb: the probe opens the level map in the game's window for a
# player who finished one picture. Run 1 (first stage not done): the next-stage arrow shows
# the locked tip and changes nothing, the next click on a board only dismisses the tip, and
# the one after opens that level. Run 2 (first stage done): the arrow turns to stage 1, and
# Menu leaves for the main menu. The map's frame is kept beside the build.
# Usage: map_click.sh <probe executable> <screenshot file>
set -u
PROBE=$1
SHOT=$2
. "$(dirname "$0")/x_session.sh"

start_xvfb
start_openbox

fail() {
    echo "$1"
    cat "$OUT" "$WORK/probe.err"
    exit 1
}

# Starts the probe for a run and waits for the map to arrive.
start_run() {
    OUT="$WORK/probe-$1.txt"
    # The game's own cursor follows the pointer: parked away from the checked pixels.
    xdotool mousemove 1300 20
    mkdir -p "$WORK/data-$1"
    env SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null XDG_DATA_HOME="$WORK/data-$1" \
        ASAN_OPTIONS=detect_leaks=0 "$PROBE" "$1" "$2" >"$OUT" 2>"$WORK/probe.err" &
    PID=$!
    line=$(first_line "$OUT" "map " "$PID" 300) || fail "the map never arrived (run $1)"
    window=$(echo "$line" | sed 's/.*window=\([0-9]*\).*/\1/')
}
point() { echo "$line" | sed "s/.* $1=\([0-9]*\),\([0-9]*\).*/\1 \2/"; }
# Clicks (window-relative) and gives the game a second to answer; apart, so that no two
# clicks make a double click.
click() {
    xdotool mousemove --window "$window" $(point "$1") click 1
    sleep 1.5
}
finish() {
    wait "$PID"
    code=$?
    PID=""
    cat "$OUT"
    [ "$code" -eq 0 ] || fail "probe failed (exit $code)"
}

start_run 1 "$SHOT"
click nextpage
grep -q '^tip TipMapLockedCities$' "$OUT" || fail "no locked tip"
grep -q '^stage=' "$OUT" && fail "the locked arrow changed the stage"
click board1
grep -q '^tip closed$' "$OUT" || fail "the tip stayed"
grep -q '^room ' "$OUT" && fail "a click through the tip opened a level"
click board1
finish
grep -q '^room stage=0 level=1$' "$OUT" || fail "board 1 did not open level 1"

start_run 2 ""
click nextpage
grep -q '^stage=1$' "$OUT" || fail "the arrow did not turn to stage 1"
click menu
finish
grep -q '^screen id=5$' "$OUT" || fail "Menu did not reach the main menu"
