#!/bin/sh
# Start-up measure: the release game against a floor (brisalo_startup_floor: a full-screen SDL
# window, an accelerated renderer and an OpenAL context presenting one frame), run alternately
# in one Xvfb with openbox, 10 pairs, either first in turn, as a new player would start the
# game (a fresh user folder each time, the shipped assets, the machine's own audio). Both are
# started through brisalo_startup_launch, which prints the monotonic clock just before the
# start; each prints the same clock at its first presented frame ("first frame at <t> ms
# ..."), and the game is then ended with SIGTERM. Start-up waits on the X server and the
# loader as well as on its own work, so it is timed on the wall clock, and a pair's ratio is
# what a change of the machine's load falls on alike. Prints every pair with its ratio, both
# medians and the median of the pairs' ratios, and fails when that is more than 2.0.
# Usage: startup_bench.sh <game executable> (the launcher and the floor lie beside it)
set -u
GAME=$1
BIN=$(dirname "$GAME")
LAUNCH="$BIN/brisalo_startup_launch"
FLOOR="$BIN/brisalo_startup_floor"
PAIRS=10
BOUND=2.0
. "$(dirname "$0")/../tests/x11/x_session.sh"

start_xvfb
start_openbox

# Runs one program through the launcher and prints its milliseconds from launch to first frame.
# Usage: time_start NAME PROGRAM RUN
time_start() {
    data="$WORK/data-$1-$3"
    mkdir -p "$data"
    log="$data/Korvel Games/Brisalo5/log.txt"
    out="$WORK/out-$1-$3"
    env -u ALSOFT_DRIVERS SDL_VIDEODRIVER=x11 XDG_DATA_HOME="$data" "$LAUNCH" "$2" >"$out" 2>&1 &
    PID=$!
    at=""
    for _ in $(seq 600); do
        at=$(sed -n 's/.*first frame at \([0-9.]*\) ms.*/\1/p' "$log" "$out" 2>/dev/null | head -n 1)
        [ -n "$at" ] && break
        kill -0 "$PID" 2>/dev/null || break
        sleep 0.05
    done
    kill -TERM "$PID" 2>/dev/null
    wait "$PID"
    PID=""
    launched=$(sed -n 's/^launch at \([0-9.]*\) ms.*/\1/p' "$out" | head -n 1)
    if [ -z "$at" ] || [ -z "$launched" ]; then
        echo "$1 run $3: no first frame reported" >&2
        cat "$out" >&2
        return 1
    fi
    awk -v a="$at" -v l="$launched" 'BEGIN { printf "%.1f\n", a - l }'
}

median() {
    for t in "$@"; do echo "$t"; done | sort -n |
        awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

games=""
floors=""
ratios=""
for run in $(seq "$PAIRS"); do
    # Either goes first in turn: neither always starts where the other has just warmed up.
    if [ $((run % 2)) -eq 1 ]; then
        game_ms=$(time_start game "$GAME" "$run") || exit 1
        floor_ms=$(time_start floor "$FLOOR" "$run") || exit 1
    else
        floor_ms=$(time_start floor "$FLOOR" "$run") || exit 1
        game_ms=$(time_start game "$GAME" "$run") || exit 1
    fi
    ratio=$(awk -v g="$game_ms" -v f="$floor_ms" 'BEGIN { printf "%.3f\n", (f > 0 ? g / f : -1) }')
    echo "pair $run: game $game_ms ms, floor $floor_ms ms, $ratio x"
    games="$games $game_ms"
    floors="$floors $floor_ms"
    ratios="$ratios $ratio"
done
# shellcheck disable=SC2086
game_median=$(median $games)
# shellcheck disable=SC2086
floor_median=$(median $floors)
# shellcheck disable=SC2086
ratio_median=$(median $ratios)
# A pair whose floor gave no time fails the run whatever the median.
failed=$(for r in $ratios; do echo "$r"; done | awk '$1 < 0 { n++ } END { print n + 0 }')
awk -v g="$game_median" -v f="$floor_median" -v r="$ratio_median" -v b="$BOUND" -v failed="$failed" 'BEGIN {
    ok = failed == 0 && r <= b
    printf "start-up: game %.1f ms, floor (SDL window, renderer and OpenAL context, one frame) %.1f ms (medians); median of the pairs: %.2f x floor (bound %.1f x) %s\n", g, f, r, b, ok ? "ok" : "OVER"
    exit !ok
}'
