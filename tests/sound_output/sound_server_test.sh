#!/bin/sh
# The real program playing through a sound server of its own (PulseAudio, or PipeWire with its
# Pulse front for the recording), with a null sink: the show plays to its end and exits 0, and
# its clock stays within 30 ms of what the server says it has played, read from a recording of
# the sink in timecode. Given LOSE ("kill:S", or "stop:S:D" for D s), the server is lost S s
# after the music starts: the clock must agree until then, and then keep to real time so that
# the show still ends on time.
#   sound_server_test.sh PROGRAM SOUND_CHECK DATA SOUND_MONITOR SECONDS SERVER [LOSE]
set -u
program=$1 check=$2 data=$3 monitor=$4 seconds=$5 kind=$6 lose=${7:-}
lose_at=$(echo "$lose" | cut -s -d: -f2) held=$(echo "$lose" | cut -s -d: -f3)
. "$(dirname "$0")/common.sh"

driver=pulseaudio
[ "$kind" = pipewire ] && driver=pipewire
need Xvfb pactl "$driver"
"$check" driver "$driver" || skip "SDL cannot play through $driver"
make_show_folder "$data"
frames=$(awk "BEGIN { printf \"%d\", $seconds * 44100 }")
"$check" timecode-wave "$work/Data/tech.ogg" "$seconds" || exit 1

# A user-mode server in a runtime folder of its own, reachable only through its socket.
runtime="$work/runtime"
mkdir -m 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime" PULSE_RUNTIME_PATH="$runtime" HOME="$work"
export PULSE_SERVER="unix:$runtime/native" PIPEWIRE_RUNTIME_DIR="$runtime"
unset PULSE_SINK PULSE_SOURCE PIPEWIRE_REMOTE
sink=kelvaster_test
helpers=""
if [ "$kind" = pipewire ]; then
    need wireplumber pipewire-pulse dbus-daemon
    # The session manager does not stay up without a session bus: one of its own. The graph
    # runs at the show's rate, so that nothing resamples between the stream and the sink.
    export DBUS_SESSION_BUS_ADDRESS="unix:path=$runtime/bus"
    dbus-daemon --session --nofork --address="$DBUS_SESSION_BUS_ADDRESS" 2>/dev/null &
    helpers=$!
    mkdir -p "$HOME/.config/pipewire/pipewire.conf.d"
    echo "context.properties = { default.clock.rate = 44100 }" \
        >"$HOME/.config/pipewire/pipewire.conf.d/rate.conf"
    pipewire 2>"$work/pulse.log" &
    server=$!
    for _ in $(seq 50); do [ -S "$runtime/pipewire-0" ] && break || sleep 0.1; done
    wireplumber 2>/dev/null &
    helpers="$! $helpers"
    pipewire-pulse 2>/dev/null & # its socket: $PULSE_SERVER, by PULSE_RUNTIME_PATH
    helpers="$! $helpers"
else
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --realtime=no \
        --high-priority=no --disable-shm=yes --log-target=stderr \
        -L "module-native-protocol-unix socket=$runtime/native auth-anonymous=1" \
        -L "module-null-sink sink_name=$sink rate=44100 format=s16le channels=2" \
        2>"$work/pulse.log" &
    server=$!
fi
recorder=""
stopper=""
cleanup() {
    for pid in $stopper $recorder $helpers $server; do
        kill -CONT "$pid" 2>/dev/null
        kill "$pid" 2>/dev/null
    done
    wait 2>/dev/null
}
for _ in $(seq 50); do
    timeout 5 pactl info >/dev/null 2>&1 && break
    kill -0 "$server" 2>/dev/null || break
    sleep 0.1
done
pactl info >/dev/null 2>&1 || skip "$kind would not start here: $(tail -n 3 "$work/pulse.log")"
if [ "$kind" = pipewire ]; then
    pactl load-module module-null-sink "sink_name=$sink" rate=44100 format=s16le channels=2 \
        >/dev/null || { echo "FAIL: no null sink"; exit 1; }
    for _ in $(seq 50); do # the sink appears a moment after
        pactl set-default-sink "$sink" 2>/dev/null && break
        sleep 0.1
    done
fi

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

if [ -n "$lose" ]; then
    (
        until awk '$2 > 0 { playing = 1 } END { exit !playing }' "$work/clock.log" 2>/dev/null; do
            sleep 0.05
        done
        sleep "$lose_at"
        if [ -n "$held" ]; then
            kill -STOP "$server" && sleep "$held" && kill -CONT "$server"
        else
            kill "$server"
        fi
    ) &
    stopper=$!
fi
run_show "$program" "$seconds" SDL_AUDIODRIVER="$driver" KELVASTER_CLOCK_FD=3 3>"$work/clock.log"
report_end "$seconds"
if [ -z "$lose" ]; then
    sleep 0.2 # what the server still has in hand reaches the sink
    kill "$recorder"
    if ! wait "$recorder"; then
        echo "FAIL: the recording of the sink failed:"
        cat "$work/monitor.log"
        exit 1
    fi
    lost=""
    [ "$kind" = pipewire ] && lost=replays
else
    # It ends with a server that is gone; one held stopped or half gone keeps it waiting.
    for _ in $(seq 50); do kill -0 "$recorder" 2>/dev/null && sleep 0.1; done
    kill "$recorder" 2>/dev/null
    wait "$recorder"
    echo "the server was lost ($lose) ${lose_at} s into the music"
    lost=lost
fi
recorder=""
[ -n "$lose" ] && { "$check" clock-pace "$work/clock.log" || exit 1; }
# shellcheck disable=SC2086
"$check" match-clock "$work/clock.log" "$work/positions.txt" "$work/recording.raw" "$frames" $lost
