#!/bin/sh
# Starts the real program on a virtual X server and checks its window: title, size, the snap
# back after a resize, a key that does nothing, and Escape ending it with status 0.
set -u
program=$1

inner() {
    "$program" 2>/dev/null &
    pid=$!
    wid=""
    for _ in $(seq 100); do
        wid=$(xdotool search --name '^Kelvaster by zir$' 2>/dev/null | head -n1)
        [ -n "$wid" ] && break
        sleep 0.1
    done
    [ -n "$wid" ] || { echo "no window titled 'Kelvaster by zir'"; kill $pid; return 1; }

    size() { xwininfo -id "$wid" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }
    [ "$(size)" = 800x600 ] || { echo "window is $(size), not 800x600"; kill $pid; return 1; }

    xdotool windowsize "$wid" 400 300
    sleep 1
    [ "$(size)" = 800x600 ] || { echo "resize was not undone: $(size)"; kill $pid; return 1; }

    xdotool windowfocus --sync "$wid" 2>/dev/null || xdotool windowfocus "$wid"
    xdotool key --window "$wid" a space Return
    sleep 0.5
    kill -0 $pid 2>/dev/null || { echo "an ordinary key ended the show"; return 1; }

    xdotool key --window "$wid" Escape
    for _ in $(seq 50); do
        kill -0 $pid 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 $pid 2>/dev/null; then
        echo "Escape did not end the show"
        kill $pid
        return 1
    fi
    wait $pid
    status=$?
    [ $status -eq 0 ] || { echo "Escape ended the show with status $status"; return 1; }
    echo "window ok"
}

if [ "${1:-}" != "" ] && [ "${2:-}" = "--inner" ]; then
    inner
else
    exec xvfb-run -a -s "-screen 0 1280x1024x24" sh "$0" "$program" --inner
fi
