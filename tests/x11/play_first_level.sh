#!/bin/sh
# Whole-program check under Xvfb: a new player starts the game, types a name, opens the first
# level from the map, loses and regains the focus, paints the picture by clicks and closes the
# game with Alt+F4 (see play_first_level.py). The pause and level complete screenshots stay in
# the given folder.
# Usage: play_first_level.sh <game executable> <assets folder> <screenshot folder>
set -u
GAME=$1
ASSETS=$2
SHOTS=$3
. "$(dirname "$0")/x_session.sh"

start_xvfb
start_openbox

# Leaks inside the X, GL, D-Bus and audio libraries are theirs; ours are never suppressed.
export LSAN_OPTIONS="suppressions=$(dirname "$0")/system_leaks.supp:print_suppressions=0"
# Mesa unloads its software driver before the leak check runs, which then cannot name the
# driver's frames (they show as the game's). Loaded up front, the driver stays to the end and
# its memory is recognised as its own. The sanitizer's runtime must come first in the list.
DRIVER=$(find /usr/lib -path '*/dri/swrast_dri.so' 2>/dev/null | head -n 1)
if [ -n "$DRIVER" ]; then
    ASAN_RUNTIME=$(ldd "$GAME" | sed -n 's/.*\(libasan[^ ]*\) => \([^ ]*\).*/\2/p' | head -n 1)
    export GAME_PRELOAD="${ASAN_RUNTIME:+$ASAN_RUNTIME:}$DRIVER"
fi
/usr/bin/python3 "$(dirname "$0")/play_first_level.py" "$GAME" "$ASSETS" "$WORK" "$SHOTS"
