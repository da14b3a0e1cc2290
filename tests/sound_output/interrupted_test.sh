#!/bin/sh
# The real program interrupted as desktops interrupt it, on a virtual X server:
# - with no sound device, its window hidden for 4 s and then the process stopped for 3 s: the
#   clock must stay with real time (that is, with the music) within one frame;
# - started with stderr closed, as some launchers start it: it must still play to its end;
# - playing through a PulseAudio server (SDL has signal handlers of its own there), SIGINT,
#   SIGTERM and SIGHUP: each must end it within 0.5 s with status 128 + the signal's number.
#   interrupted_test.sh PROGRAM SOUND_CHECK DATA
set -u
program=$1 check=$2 data=$3
. "$(dirname "$0")/common.sh"

if [ "${4:-}" != --inner ]; then
    need Xvfb xdotool pulseaudio pactl
    exec sh "$kv_tests/support/with_x.sh" 1024x768x24 sh "$0" "$program" "$check" "$data" --inner
fi
make_show_folder "$data"
cleanup() { stop_sound_server; }

# show SECONDS [VAR=VALUE...]: the show of a SECONDS long piece in the background; sets pid.
show() {
    "$check" timecode-wave "$work/Data/tech.ogg" "$1" || exit 1
    shift
    rm -f "$work/clock.log"
    (cd "$work" && exec env "$@" "$program" >"$work/show.out" 2>"$work/show.err" \
        3>"$work/clock.log") &
    pid=$!
}
# Until the clock has passed MS; false if the show ended or 20 s went by first.
played() {
    for _ in $(seq 200); do
        awk -v ms="$1" '$2 > ms { found = 1 } END { exit !found }' "$work/clock.log" && return 0
        kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

show 14 SDL_AUDIODRIVER=dummy KELVASTER_CLOCK_FD=3
if played 1000; then
    window=$(xdotool search --name "Kelvaster by zir" | head -n 1)
    xdotool windowunmap "$window"
    sleep 4
    xdotool windowmap "$window"
    sleep 1
    kill -STOP "$pid"
    sleep 3
    kill -CONT "$pid"
fi
wait "$pid"
status=$?
echo "hidden 4 s, then stopped 3 s: status $status"
[ $status -eq 0 ] || { fail "status $status"; cat "$work/show.err"; }
"$check" clock-steady "$work/clock.log" 2 || failures=$((failures + 1))

"$check" timecode-wave "$work/Data/tech.ogg" 3 || exit 1
(cd "$work" && SDL_AUDIODRIVER=dummy timeout 30 "$program" >/dev/null 2>&-)
status=$?
echo "stderr closed: status $status"
[ $status -eq 0 ] || fail "with stderr closed the show ended with status $status"

start_sound_server pulse kelvaster_test
for signal in INT:130 TERM:143 HUP:129; do
    name=${signal%:*} expected=${signal#*:}
    show 60 SDL_AUDIODRIVER=pulseaudio KELVASTER_CLOCK_FD=3
    if ! played 500; then
        fail "SIG$name: the show did not play"; cat "$work/show.err"
        kill -KILL "$pid" 2>/dev/null
        continue
    fi
    sent=$(date +%s.%N)
    kill -"$name" "$pid"
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.02
    done
    took=$(awk "BEGIN { printf \"%.2f\", $(date +%s.%N) - $sent }")
    kill -KILL "$pid" 2>/dev/null
    wait "$pid"
    status=$?
    echo "SIG$name during play: status $status after $took s"
    [ $status -eq "$expected" ] || fail "SIG$name: status $status, not $expected"
    awk "BEGIN { exit !($took < 0.5) }" || fail "SIG$name: the show took $took s to end"
done
[ $failures -eq 0 ]
