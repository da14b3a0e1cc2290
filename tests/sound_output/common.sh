# Shared by the sound-card tests: skipping, a scratch show folder, running the show.

kv_tests=$(cd "$(dirname "$0")/.." && pwd)

skip() {
    echo "SKIP: $*"
    exit 77
}

need() {
    for tool in "$@"; do
        command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
    done
}

# A scratch folder with the show's pictures and no music yet; removed on exit.
make_show_folder() {
    work=$(mktemp -d)
    trap 'cleanup; rm -rf "$work"' EXIT
    mkdir "$work/Data"
    cp "$1"/*.bmp "$work/Data/"
}

cleanup() { :; }

# run_show PROGRAM SECONDS [VAR=VALUE...]: the show of a SECONDS long piece in $work under a
# virtual X server, given 30 s more than the piece to end by itself. Sets elapsed (seconds).
run_show() {
    show=$1
    limit=$(awk "BEGIN { printf \"%d\", $2 + 30 }")
    shift 2
    started=$(date +%s.%N)
    (cd "$work" && env "$@" timeout "$limit" \
        sh "$kv_tests/support/with_x.sh" 1024x768x24 "$show" \
        >"$work/show.out" 2>"$work/show.err")
    status=$?
    elapsed=$(awk "BEGIN { printf \"%.2f\", $(date +%s.%N) - $started }")
    if grep -q "no audio device" "$work/show.err"; then
        echo "FAIL: the show found no audio device:"
        cat "$work/show.err"
        exit 1
    fi
    if [ "$status" -eq 124 ]; then
        echo "FAIL: the show did not end by itself within $limit s"
        exit 1
    fi
    if [ "$status" -ne 0 ]; then
        echo "FAIL: the show ended with status $status:"
        cat "$work/show.err"
        exit 1
    fi
}

# report_end SECONDS: the run's length against the show's end in the music.
report_end() {
    awk "BEGIN { printf \"a %s s piece: the show ended with status 0 after %s s, \" \
        \"its end being at %.3f s of music\\n\", $1, $elapsed, 0.986539 * $1 }"
}

# start_sound_server KIND SINK: a user-mode server (pulse, or pipewire with its session manager
# and Pulse front) in a runtime folder of its own under $work, reachable only through its
# socket, its default sink a null sink named SINK. Sets server (the pid to kill or stop) and
# exports what SDL and pactl need to find it. Skips when it will not start here.
start_sound_server() {
    runtime="$work/runtime"
    mkdir -m 700 "$runtime"
    export XDG_RUNTIME_DIR="$runtime" PULSE_RUNTIME_PATH="$runtime" PIPEWIRE_RUNTIME_DIR="$runtime"
    export HOME="$work"
    unset PULSE_SINK PULSE_SOURCE DBUS_SESSION_BUS_ADDRESS PIPEWIRE_REMOTE
    server_helpers=""
    if [ "$1" = pulse ]; then
        export PULSE_SERVER="unix:$runtime/native"
        pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --realtime=no \
            --high-priority=no --disable-shm=yes --log-target=stderr \
            -L "module-native-protocol-unix socket=$runtime/native auth-anonymous=1" \
            -L "module-null-sink sink_name=$2 rate=44100 format=s16le channels=2" \
            2>"$work/server.log" &
        server=$!
    else
        export PULSE_SERVER="unix:$runtime/native" # PULSE_RUNTIME_PATH puts it there
        # The session manager does not stay up without a session bus: one of its own.
        export DBUS_SESSION_BUS_ADDRESS="unix:path=$runtime/bus"
        dbus-daemon --session --nofork --address="$DBUS_SESSION_BUS_ADDRESS" 2>/dev/null &
        server_helpers=$!
        # The graph at the show's rate: nothing between the stream and the sink resamples.
        mkdir -p "$HOME/.config/pipewire/pipewire.conf.d"
        echo "context.properties = { default.clock.rate = 44100 }" \
            >"$HOME/.config/pipewire/pipewire.conf.d/rate.conf"
        pipewire 2>"$work/server.log" &
        server=$!
        for _ in $(seq 50); do
            [ -S "$runtime/pipewire-0" ] && break
            sleep 0.1
        done
        wireplumber 2>"$work/session.log" &
        server_helpers="$! $server_helpers"
        pipewire-pulse 2>"$work/pulse.log" &
        server_helpers="$! $server_helpers"
    fi
    for _ in $(seq 50); do
        timeout 5 pactl info >/dev/null 2>&1 && break
        kill -0 "$server" 2>/dev/null || break
        sleep 0.1
    done
    pactl info >/dev/null 2>&1 ||
        skip "$1 would not start here: $(tail -n 3 "$work"/server.log "$work"/pulse.log 2>&1)"
    [ "$1" = pulse ] && return 0
    pactl load-module module-null-sink "sink_name=$2" rate=44100 format=s16le channels=2 \
        >/dev/null && pactl set-default-sink "$2" && return 0
    echo "FAIL: PipeWire would not make a null sink"
    exit 1
}

# Ends what start_sound_server started, stopped or not.
stop_sound_server() {
    for pid in $server_helpers $server; do
        kill -CONT "$pid" 2>/dev/null
        kill "$pid" 2>/dev/null
    done
}
server="" server_helpers=""
