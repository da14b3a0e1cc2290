#!/bin/sh
# The real program interrupted as desktops interrupt it, on a virtual X server. With no sound
# device, its window hidden 4 s and then the process stopped 3 s: the clock must stay with the
# music (real time) within one frame. With stderr closed: it must still play to its end. Playing
# through SDL (whose signal handlers would swallow them), SIGINT, SIGTERM and SIGHUP must end
# it within 0.5 s with status 128 + the signal's number.
#   interrupted_test.sh PROGRAM SOUND_CHECK DATA
set -u
program=$1 check=$2 data=$3
. "$(dirname "$0")/common.sh"
if [ "${4:-}" != --inner ]; then
    need Xvfb xdotool
    exec sh "$kv_tests/support/with_x.sh" 1024x768x24 sh "$0" "$program" "$check" "$data" --inner
fi
make_show_folder "$data"
failures=0
fail() { echo "FAIL: $*" && failures=$((failures + 1)); }
# show SECONDS VAR=VALUE...: a piece that long played in the background, until its clock has
# passed 1 s (false if it never does); sets pid.
show() {
    "$check" timecode-wave "$work/Data/tech.ogg" "$1" || exit 1
    shift
    (cd "$work" && exec env KELVASTER_CLOCK_FD=3 "$@" "$program" 2>"$work/show.err" \
        3>"$work/clock.log") &
    pid=$!
    for _ in $(seq 200); do
        awk '$2 > 1000 { ok = 1 } END { exit !ok }' "$work/clock.log" && return 0
        sleep 0.1
    done
    return 1
}

if show 14 SDL_AUDIODRIVER=dummy; then
    window=$(xdotool search --name "Kelvaster by zir" | head -n 1)
    xdotool windowunmap "$window" && sleep 4 && xdotool windowmap "$window" && sleep 1
    kill -STOP "$pid" && sleep 3 && kill -CONT "$pid"
fi
wait "$pid" || fail "hidden and stopped, the show ended with status $?"
"$check" clock-steady "$work/clock.log" 2 || fail "the clock left the music"

"$check" timecode-wave "$work/Data/tech.ogg" 3 || exit 1
(cd "$work" && SDL_AUDIODRIVER=dummy timeout 30 "$program" 2>&-) || fail "stderr closed: $?"

for signal in INT:130 TERM:143 HUP:129; do
    name=${signal%:*} expected=${signal#*:}
    show 60 SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null || fail "SIG$name: no clock"
    (sleep 5 && kill -KILL "$pid") 2>/dev/null &
    guard=$!
    sent=$(date +%s.%N)
    kill -"$name" "$pid"
    wait "$pid"
    status=$?
    took=$(awk "BEGIN { printf \"%.2f\", $(date +%s.%N) - $sent }")
    kill "$guard" 2>/dev/null
    echo "SIG$name during play: status $status after $took s"
    [ $status -eq "$expected" ] || fail "SIG$name: status $status, not $expected"
    awk "BEGIN { exit !($took < 1.0) }" || fail "SIG$name: the show took $took s to end"
done
[ $failures -eq 0 ]
