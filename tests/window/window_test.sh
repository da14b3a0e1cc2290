#!/bin/sh
# Starts the real program on a virtual X server and checks its window: title, size, the snap
# back after a resize, a key that does nothing, and Escape ending it with status 0. Then with
# --fullscreen: the window fills the screen and shows the frame scaled, black bars around it.
set -u
program=$1
screen_w=1280
screen_h=1024

# Starts the program with the given options and waits for its window: sets pid, wid and log.
launch() {
    log=$(mktemp)
    "$program" "$@" 2>"$log" &
    pid=$!
    wid=""
    for _ in $(seq 100); do
        wid=$(xdotool search --name '^Kelvaster by zir$' 2>/dev/null | head -n1)
        [ -n "$wid" ] && break
        kill -0 $pid 2>/dev/null || break
        sleep 0.1
    done
    [ -n "$wid" ] || fail "no window titled 'Kelvaster by zir' (options: $*)"
}

# Reports a failed check with what the program said, and ends it.
fail() {
    echo "$1"
    if ! kill -0 $pid 2>/dev/null; then
        wait $pid
        echo "(the program had already ended, with status $?)"
    fi
    if [ -s "$log" ]; then
        echo "the program said:"
        cat "$log"
    fi
    kill $pid 2>/dev/null
    return 1
}

size() { xwininfo -id "$wid" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }
corner() { xwininfo -id "$wid" | awk '/Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4} END {print x "," y}'; }

# Escape ends the program with status 0.
escape_ends() {
    xdotool key --window "$wid" Escape 2>/dev/null
    for _ in $(seq 50); do
        kill -0 $pid 2>/dev/null || break
        sleep 0.1
    done
    # The program can close its window between the press and the release; a key left down on
    # the server would repeat into the next program's window.
    xdotool keyup Escape
    kill -0 $pid 2>/dev/null && { fail "Escape did not end the show$1"; return 1; }
    wait $pid
    status=$?
    [ $status -eq 0 ] || { fail "Escape ended the show$1 with status $status"; return 1; }
    rm -f "$log"
}

# Bytes of the screen's w x h rectangle at (x, y), top-left origin, that are not zero.
lit_bytes() {
    ffmpeg -loglevel error -f x11grab -video_size ${screen_w}x${screen_h} -i "$DISPLAY" \
        -frames:v 1 -vf "crop=$1:$2:$3:$4" -f rawvideo -pix_fmt rgb24 - | tr -d '\000' | wc -c
}

windowed() {
    launch || return 1
    [ "$(size)" = 800x600 ] || { fail "window is $(size), not 800x600"; return 1; }

    xdotool windowsize "$wid" 400 300
    sleep 1
    [ "$(size)" = 800x600 ] || { fail "resize was not undone: $(size)"; return 1; }

    xdotool windowfocus --sync "$wid" 2>/dev/null || xdotool windowfocus "$wid"
    xdotool key --window "$wid" a space Return
    sleep 0.5
    kill -0 $pid 2>/dev/null || { fail "an ordinary key ended the show"; return 1; }

    escape_ends "" || return 1
    echo "window ok"
}

fullscreen() {
    launch --fullscreen || return 1
    for _ in $(seq 50); do
        [ "$(size)" = ${screen_w}x${screen_h} ] && break
        sleep 0.1
    done
    [ "$(size)" = ${screen_w}x${screen_h} ] && [ "$(corner)" = 0,0 ] ||
        { fail "--fullscreen window is $(size) at $(corner), not the whole screen"; return 1; }
    sleep 2 # into the lit part of the opening scene

    # 800 x 600 scaled by 1.6 to 1280 x 960: bars of 32 rows above and below, nothing else.
    bar=$(((screen_h - 960) / 2))
    top=$(lit_bytes $screen_w $bar 0 0)
    bottom=$(lit_bytes $screen_w $bar 0 $((screen_h - bar)))
    [ "$top" -eq 0 ] && [ "$bottom" -eq 0 ] ||
        { fail "the bars are not black: $top and $bottom lit bytes"; return 1; }
    # The picture reaches every edge of its box: scaled, not drawn at 800 x 600 in a corner.
    edge=8
    for strip in "$screen_w $edge 0 $bar" "$screen_w $edge 0 $((screen_h - bar - edge))" \
        "$edge 960 0 $bar" "$edge 960 $((screen_w - edge)) $bar"; do
        # shellcheck disable=SC2086
        lit=$(lit_bytes $strip)
        [ "$lit" -gt 1000 ] || { fail "the frame does not reach its edge ($strip): $lit lit bytes"; return 1; }
    done

    escape_ends " in full screen" || return 1
    echo "full screen ok"
}

if [ "${1:-}" != "" ] && [ "${2:-}" = "--inner" ]; then
    windowed && fullscreen
    exit
fi

exec sh "$(dirname "$0")/../support/with_x.sh" ${screen_w}x${screen_h}x24 sh "$0" "$program" --inner
