# Sourced by the X checks: a private Xvfb (and openbox where asked) that ends with the script.
# Sets WORK, a temporary folder removed at exit, and DISPLAY; a script that keeps the game or
# probe it started in PID has it killed at exit as well.
WORK=$(mktemp -d)
XPID=""
WMPID=""
PID=""
x_session_cleanup() {
    [ -n "$PID" ] && kill "$PID" 2>/dev/null
    [ -n "$WMPID" ] && kill "$WMPID" 2>/dev/null
    [ -n "$XPID" ] && kill "$XPID" 2>/dev/null
    rm -rf "$WORK"
}
trap x_session_cleanup EXIT

# Xvfb picks a free display and writes its number.
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 1366x768x24 -nolisten tcp 3>"$WORK/display" 2>"$WORK/xvfb.log" &
    XPID=$!
    for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.1; done
    [ -s "$WORK/display" ] || { echo "Xvfb did not start"; cat "$WORK/xvfb.log"; exit 1; }
    DISPLAY=":$(head -n 1 "$WORK/display")"
    export DISPLAY
}

# A window manager, as on a desktop: without one the full-screen window keeps its first size
# (1024 x 600) and what lies right of or below it is off the window.
start_openbox() {
    openbox >"$WORK/openbox.log" 2>&1 &
    WMPID=$!
    for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done
}
