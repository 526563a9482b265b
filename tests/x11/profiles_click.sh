#!/bin/sh
# Whole-program check under Xvfb: the probe's profile window in the game's window. Run 1, on
# an empty user folder, creates a player by typing into the name dialog, where a space, a
# hyphen and an eleventh character must be refused; the settings file is then checked byte
# by byte. Run 2, on the same folder, must find the name again.
# Usage: profiles_click.sh <probe executable> <folder for the screenshot>
set -u
PROBE=$1
SHOTS=$2
. "$(dirname "$0")/x_session.sh"

start_xvfb
DATA="$WORK/data"
mkdir -p "$DATA"
OUT=""

fail() {
    echo "$1"
    cat "$OUT" "$OUT.err" 2>/dev/null
    exit 1
}

start() {
    OUT="$WORK/probe-$1.txt"
    xdotool mousemove 1300 700
    env SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null XDG_DATA_HOME="$DATA" \
        ASAN_OPTIONS=detect_leaks=0 "$PROBE" >"$OUT" 2>"$OUT.err" &
    PID=$!
}

# Waits for a whole line; answers the first line that starts with the prefix, when given.
expect() {
    for _ in $(seq 300); do
        grep -qx -- "$1" "$OUT" 2>/dev/null && return 0
        kill -0 "$PID" 2>/dev/null || break
        sleep 0.1
    done
    fail "expected: $1"
}
line_of() { first_line "$OUT" "$1" "$PID" 300; }
point() { echo "$1" | sed "s/.* $2=\([0-9]*\),\([0-9]*\).*/\1 \2/"; }
finish() {
    wait "$PID"
    code=$?
    PID=""
    [ "$code" -eq 0 ] || fail "probe failed (exit $code)"
}

# Run 1: create a player.
start 1
shown=$(line_of "shown ") || fail "the profile window never showed"
window=$(echo "$shown" | sed 's/.*window=\([0-9]*\).*/\1/')
expect "users=0 lines=||||| selected=-1"
xdotool windowfocus --sync "$window"
xdotool mousemove --window "$window" $(point "$shown" create) click 1
name=$(line_of "name shown ") || fail "the name dialog never showed"
echo "$name" | grep -q " field=Player$" || fail "the name dialog did not start on the default name"
xdotool type --delay 40 'Ann a-2345678'
expect "field=Anna234567"
import -window root "$SHOTS/profiles_name_entry.png" 2>/dev/null || echo "no screenshot taken"
xdotool mousemove --window "$window" $(point "$name" confirm) click 1
expect "users=1 lines=Anna234567||||| selected=0"
xdotool mousemove --window "$window" $(point "$shown" ok) click 1
expect "closed id=305 result=0 choice=1 selected=0"
finish
cat "$OUT"

# The files, read by a parser of our own.
/usr/bin/python3 - "$DATA/Korvel Games/Brisalo5" "$(dirname "$0")" <<'PY' || exit 1
import os, struct, sys
sys.path.insert(0, sys.argv[2])
from save_files import crc

folder = sys.argv[1]
data = open(os.path.join(folder, "settings.dat"), "rb").read()
problems = []
if len(data) != 37:
    problems.append("settings.dat is %d bytes" % len(data))
if struct.unpack("<I", data[:4])[0] != crc(data[4:]):
    problems.append("bad checksum")
if data[4:8] != bytes.fromhex("E8030000"):
    problems.append("bytes 4-7: " + data[4:8].hex())
if data[17:] != bytes.fromhex("0000010001000100 0A00".replace(" ", "")) + b"Anna234567":
    problems.append("from offset 17: " + data[17:].hex())
for name in ("user1", "1"):
    if not os.path.exists(os.path.join(folder, name)):
        problems.append(name + " is missing")
if problems:
    print("\n".join(problems))
    sys.exit(1)
PY

# Run 2: the name is back after the restart.
start 2
shown=$(line_of "shown ") || fail "the profile window never showed (run 2)"
window=$(echo "$shown" | sed 's/.*window=\([0-9]*\).*/\1/')
first=$(line_of "users=") || fail "no players line (run 2)"
[ "$first" = "users=1 lines=Anna234567||||| selected=0" ] || fail "run 2 started with: $first"
xdotool windowfocus --sync "$window"
xdotool mousemove --window "$window" $(point "$shown" ok) click 1
expect "closed id=305 result=0 choice=0 selected=0"
finish
cat "$OUT"
