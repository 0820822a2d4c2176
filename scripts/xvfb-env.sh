# Sourced: a virtual X display for runs that need a screen (screenshots, the tray), ended on exit.

# Starts Xvfb on a free display number and exports DISPLAY; the caller's EXIT trap must call
# tempivo_stop_xvfb.
tempivo_start_xvfb() {
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    TEMPIVO_XVFB_PID=$!
    read -r number <"$fifo"
    rm -f "$fifo"
    export DISPLAY=":$number"
}

tempivo_stop_xvfb() {
    [ -n "${TEMPIVO_XVFB_PID:-}" ] && kill "$TEMPIVO_XVFB_PID" 2>/dev/null
    TEMPIVO_XVFB_PID=
}
