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
# Openbox names itself on the root window before it handles map requests: a window mapped in
# between stays unmanaged, and SDL_CreateWindow then waits forever for its MapNotify. The
# start-up command runs once openbox has finished starting, so the game waits for that.
start_openbox() {
    openbox --startup "touch $WORK/openbox.ready" >"$WORK/openbox.log" 2>&1 &
    WMPID=$!
    for _ in $(seq 100); do [ -e "$WORK/openbox.ready" ] && break; sleep 0.1; done
    [ -e "$WORK/openbox.ready" ] || { echo "openbox did not start"; cat "$WORK/openbox.log"; exit 1; }
}

# Prints the first line of FILE that starts with PREFIX, waiting for it up to TENTHS tenths of a
# second while process PID lives; fails when none came.
# Usage: first_line FILE PREFIX PID TENTHS
first_line() {
    for _ in $(seq "$4"); do
        found=$(grep -m 1 "^$2" "$1" 2>/dev/null)
        [ -n "$found" ] && { echo "$found"; return 0; }
        kill -0 "$3" 2>/dev/null || break
        sleep 0.1
    done
    return 1
}
