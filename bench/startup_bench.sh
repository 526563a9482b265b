#!/bin/sh
# Start-up measure: the release game started 10 times as a new player would (a fresh user
# folder each time, the shipped assets, one Xvfb with openbox, the machine's own audio). Each
# run's time from process start to the first presented frame of the first screen comes from
# the game's "first frame <n> ms" log line; the game is then ended with SIGTERM. Prints every
# run and the median, and fails at a median of 300 ms or more.
# Usage: startup_bench.sh <game executable>
set -u
GAME=$1
RUNS=10
LIMIT_MS=300
. "$(dirname "$0")/../tests/x11/x_session.sh"

start_xvfb
start_openbox

times=""
for run in $(seq "$RUNS"); do
    data="$WORK/data$run"
    mkdir -p "$data"
    log="$data/Korvel Games/Brisalo5/log.txt"
    env -u ALSOFT_DRIVERS SDL_VIDEODRIVER=x11 XDG_DATA_HOME="$data" "$GAME" >"$WORK/out$run" 2>&1 &
    PID=$!
    ms=""
    for _ in $(seq 300); do
        ms=$(sed -n 's/.*first frame \(-\{0,1\}[0-9]*\) ms.*/\1/p' "$log" "$WORK/out$run" 2>/dev/null | head -n 1)
        [ -n "$ms" ] && break
        kill -0 "$PID" 2>/dev/null || break
        sleep 0.05
    done
    kill -TERM "$PID" 2>/dev/null
    wait "$PID"
    PID=""
    if [ -z "$ms" ] || [ "$ms" -lt 0 ]; then
        echo "run $run: no first frame reported"
        cat "$WORK/out$run"
        exit 1
    fi
    echo "run $run: first frame after $ms ms"
    times="$times $ms"
done
median=$(for t in $times; do echo "$t"; done | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }')
echo "start-up median: $median ms (limit $LIMIT_MS ms)"
awk -v m="$median" -v l="$LIMIT_MS" 'BEGIN { exit !(m < l) }'
