#!/bin/sh
# Whole-program check under Xvfb: the probe shows the quit question in the game's window; a
# click beside the box must reach nothing, then OK must answer 1 and, in a second run,
# Cancel 2. Usage: message_box_click.sh <probe executable>
set -u
PROBE=$1
. "$(dirname "$0")/x_session.sh"

start_xvfb

# One run: answers with the named button and expects the result.
answer() {
    button=$1
    expected=$2
    out="$WORK/probe-$button.txt"
    # The game's own cursor follows the pointer: parked away from the checked pixels.
    xdotool mousemove 1300 700
    mkdir -p "$WORK/data-$button"
    env SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null XDG_DATA_HOME="$WORK/data-$button" \
        ASAN_OPTIONS=detect_leaks=0 "$PROBE" >"$out" 2>"$WORK/probe-$button.err" &
    pid=$!
    line=""
    line=$(first_line "$out" "shown " "$pid" 300)
    if [ -z "$line" ]; then
        echo "the box never arrived ($button)"; cat "$out" "$WORK/probe-$button.err"; kill "$pid" 2>/dev/null; return 1
    fi
    window=$(echo "$line" | sed 's/.*window=\([0-9]*\).*/\1/')
    point=$(echo "$line" | sed "s/.* $button=\([0-9]*\),\([0-9]*\).*/\1 \2/")
    # Window-relative: without a window manager the window need not sit at 0, 0.
    xdotool mousemove --window "$window" 100 100 click 1
    sleep 1
    xdotool mousemove --window "$window" $point click 1
    wait "$pid"
    code=$?
    cat "$out"
    if [ "$code" -ne 0 ]; then
        echo "probe failed ($button, exit $code)"; cat "$WORK/probe-$button.err"; return 1
    fi
    grep -q "^closed id=20 result=$expected\$" "$out" || { echo "wrong answer for $button"; return 1; }
}

answer ok 1 && answer cancel 2
