#!/bin/sh
# The real program playing through a PulseAudio server of its own, with a null sink: the show
# plays to its end and exits 0, and its clock stays within 30 ms of what the server says it has
# played, read from a recording of the sink in timecode. Given LOSE_AT, the server is stopped
# that many seconds after the music starts: the clock must agree until then, and then keep to
# real time so that the show still ends on time.
#   sound_server_test.sh PROGRAM SOUND_CHECK DATA SOUND_MONITOR SECONDS [LOSE_AT]
set -u
program=$1 check=$2 data=$3 monitor=$4 seconds=$5 lose_at=${6:-}
. "$(dirname "$0")/common.sh"

need Xvfb pulseaudio pactl
"$check" driver pulseaudio || skip "SDL cannot play through PulseAudio"
make_show_folder "$data"
frames=$(awk "BEGIN { printf \"%d\", $seconds * 44100 }")
"$check" timecode-wave "$work/Data/tech.ogg" "$seconds" || exit 1

# A user-mode server in a runtime folder of its own, reachable only through its socket.
runtime="$work/runtime"
mkdir -m 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime" PULSE_RUNTIME_PATH="$runtime" HOME="$work"
export PULSE_SERVER="unix:$runtime/native"
unset PULSE_SINK PULSE_SOURCE
sink=kelvaster_test
pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --realtime=no \
    --high-priority=no --disable-shm=yes --log-target=stderr \
    -L "module-native-protocol-unix socket=$runtime/native auth-anonymous=1" \
    -L "module-null-sink sink_name=$sink rate=44100 format=s16le channels=2" \
    2>"$work/pulse.log" &
server=$!
recorder=""
stopper=""
cleanup() {
    for pid in $stopper $recorder $server; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
}
for _ in $(seq 50); do
    pactl info >/dev/null 2>&1 && break
    kill -0 "$server" 2>/dev/null || break
    sleep 0.1
done
pactl info >/dev/null 2>&1 || skip "PulseAudio would not start here: $(tail -n 3 "$work/pulse.log")"

"$monitor" "$sink.monitor" "$work/recording.raw" "$work/positions.txt" "$work/ready" \
    2>"$work/monitor.log" &
recorder=$!
for _ in $(seq 50); do
    [ -e "$work/ready" ] && break
    sleep 0.1
done
if [ ! -e "$work/ready" ]; then
    echo "FAIL: the sink's monitor could not be recorded:"
    cat "$work/monitor.log"
    exit 1
fi

if [ -n "$lose_at" ]; then
    (
        until awk '$2 > 0 { playing = 1 } END { exit !playing }' "$work/clock.log" 2>/dev/null; do
            sleep 0.05
        done
        sleep "$lose_at"
        kill "$server"
    ) &
    stopper=$!
fi
run_show "$program" "$seconds" SDL_AUDIODRIVER=pulseaudio KELVASTER_CLOCK_FD=3 3>"$work/clock.log"
report_end "$seconds"
if [ -z "$lose_at" ]; then
    sleep 0.2 # what the server still has in hand reaches the sink
    kill "$recorder"
    if ! wait "$recorder"; then
        echo "FAIL: the recording of the sink failed:"
        cat "$work/monitor.log"
        exit 1
    fi
    lost=""
else
    wait "$recorder" # it ends with the server
    echo "the server was stopped ${lose_at} s into the music"
    lost=lost
fi
recorder=""
[ -n "$lose_at" ] && { "$check" clock-pace "$work/clock.log" || exit 1; }
# shellcheck disable=SC2086
"$check" match-clock "$work/clock.log" "$work/positions.txt" "$work/recording.raw" "$frames" $lost
