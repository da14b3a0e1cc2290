#!/bin/sh
# The real program playing through a sound server of its own (PulseAudio, or PipeWire with its
# Pulse front for the recording), with a null sink: the show plays to its end and exits 0, and
# its clock stays within 30 ms of what the server says it has played, read from a recording of
# the sink in timecode. Given LOSE, the server is lost that many seconds after the music starts
# ("kill:S", or "stop:S:D" held stopped for D s): the clock must agree until then, and then
# keep to real time so that the show still ends on time.
#   sound_server_test.sh PROGRAM SOUND_CHECK DATA SOUND_MONITOR SECONDS SERVER [LOSE]
set -u
program=$1 check=$2 data=$3 monitor=$4 seconds=$5 kind=$6 lose=${7:-}
. "$(dirname "$0")/common.sh"

case $kind in
pulse) need Xvfb pulseaudio pactl ;;
pipewire) need Xvfb pipewire wireplumber pipewire-pulse pactl dbus-daemon ;;
esac
driver=$kind
[ "$kind" = pulse ] && driver=pulseaudio
"$check" driver "$driver" || skip "SDL cannot play through $driver"
make_show_folder "$data"
frames=$(awk "BEGIN { printf \"%d\", $seconds * 44100 }")
"$check" timecode-wave "$work/Data/tech.ogg" "$seconds" || exit 1

sink=kelvaster_test
recorder="" stopper=""
cleanup() {
    for pid in $stopper $recorder; do kill "$pid" 2>/dev/null; done
    stop_sound_server
    wait 2>/dev/null
}
start_sound_server "$kind" "$sink"

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

lose_at=$(echo "$lose" | cut -s -d: -f2) held=$(echo "$lose" | cut -s -d: -f3)
if [ -n "$lose" ]; then
    (
        until awk '$2 > 0 { playing = 1 } END { exit !playing }' "$work/clock.log" 2>/dev/null; do
            sleep 0.05
        done
        sleep "$lose_at"
        if [ -n "$held" ]; then
            kill -STOP "$server"
            sleep "$held"
            kill -CONT "$server"
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
else
    # It ends with a server that is gone; one held stopped or half gone keeps it waiting.
    for _ in $(seq 50); do
        kill -0 "$recorder" 2>/dev/null || break
        sleep 0.1
    done
    kill "$recorder" 2>/dev/null
    wait "$recorder"
    echo "the server was lost ($lose) ${lose_at} s into the music"
    lost=lost
fi
recorder=""
[ -n "$lose" ] && { "$check" clock-pace "$work/clock.log" || exit 1; }
# shellcheck disable=SC2086
"$check" match-clock "$work/clock.log" "$work/positions.txt" "$work/recording.raw" "$frames" $lost
