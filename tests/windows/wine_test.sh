#!/bin/sh
# The Windows build under Wine, on a virtual X server.
#   wine_test.sh MODE WINDOWS_OUT NATIVE_BUILD
# silent:   no sound server: one line says so, and a 7 s piece plays to its end on the clock
# refusals: bad music and a missing picture end it with status 1 and the Linux program's words
# frames:   its frame tool's frames, byte for byte the Linux frame tool's, over the four scenes
# pulse:    the sound-card test of tests/sound_output through a PulseAudio null sink of its own:
#           the piece played in order, and the clock on what the sink played
set -u
mode=$1
export KV_WINDOWS_OUT=$2
native=$3
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../sound_output/common.sh"
need Xvfb xdpyinfo python3
. "$here/wine_env.sh"
make_show_folder "$native/Data"

# on_x VAR=VALUE... PROGRAM ARGS...: in $work, stderr in $work/err with Windows' line ends
# made Linux's.
on_x() {
    (cd "$work" && env "$@" 2>"$work/err.crlf" </dev/null)
    status=$?
    tr -d '\r' <"$work/err.crlf" >"$work/err"
    return $status
}
wine_exe() { on_x timeout 240 sh "$kv_tests/support/with_x.sh" 1024x768x24 wine "$@"; }
native_exe() {
    on_x SDL_AUDIODRIVER=dummy timeout 60 sh "$kv_tests/support/with_x.sh" 1024x768x24 "$@"
}
# The lines the programs themselves print, without Wine's, freeglut's and ALSA's.
own_lines() { grep -v -e '^ALSA' -e '^freeglut' -e '^This is quite' -e '^X connection' \
    -e '^wine' -e '^sound: no audio device' "$work/err"; }

case $mode in
silent)
    "$native/tests/sound_output/sound_check" timecode-wave "$work/Data/tech.ogg" 7 || exit 1
    started=$(date +%s.%N)
    # No sound server, and no sound card for ALSA: DirectSoundCreate8 fails.
    on_x PULSE_SERVER=unix:/nonexistent KELVASTER_CLOCK_FILE=clock.log timeout 60 \
        sh "$kv_tests/support/with_x.sh" 1024x768x24 wine "$KV_WINDOWS_OUT/kelvaster.exe"
    status=$?
    elapsed=$(awk "BEGIN { printf \"%.2f\", $(date +%s.%N) - $started }")
    echo "status $status after $elapsed s; the show ends at 6.906 s of the piece"
    said="sound: no audio device (DirectSoundCreate8 failed: 0x80070057);"
    said="$said the show plays without sound"
    lines=$(grep -c -x -F "$said" "$work/err")
    if [ "$lines" -ne 1 ]; then
        echo "FAIL: $lines lines saying there is no sound; stderr:"
        cat "$work/err"
        exit 1
    fi
    [ "$status" -eq 0 ] || { echo "FAIL: status $status"; cat "$work/err"; exit 1; }
    "$native/tests/sound_output/sound_check" clock-pace "$work/clock.log"
    ;;
refusals)
    cp "$native/Data/tech.ogg" "$work/good.ogg"
    head -c 4096 "$native/Data/tech.ogg" | tail -c 2048 >"$work/Data/tech.ogg"
    for case in "bad music" "missing picture"; do
        if [ "$case" = "missing picture" ]; then
            mv "$work/good.ogg" "$work/Data/tech.ogg"
            rm "$work/Data/r.bmp"
        fi
        native_exe "$native/kelvaster"
        native_status=$?
        own_lines >"$work/native.txt"
        wine_exe "$KV_WINDOWS_OUT/kelvaster.exe"
        status=$?
        own_lines >"$work/windows.txt"
        echo "$case: status $status (Linux $native_status), saying:"
        cat "$work/windows.txt"
        if [ "$status" -ne 1 ] || [ "$native_status" -ne 1 ] || [ ! -s "$work/native.txt" ] ||
            ! cmp -s "$work/native.txt" "$work/windows.txt"; then
            echo "FAIL: not as the Linux program, which said:"
            cat "$work/native.txt"
            exit 1
        fi
    done
    ;;
frames)
    # Cold frames from each scene's start to past the show's end, twice as dense in scene three.
    clocks="0.002 0.03 0.06 0.09 0.1002 0.13 0.17 0.21 0.25 0.2996 0.32 0.36 0.41 0.47 0.53
0.6 0.68 0.75 0.83 0.8992 0.92 0.95 0.97 0.985"
    set --
    for t in $clocks; do set -- "$@" "$t" "$t.ppm"; done
    wine_exe "$KV_WINDOWS_OUT/kelvaster-frame.exe" "$@" || { cat "$work/err"; exit 1; }
    same=0 count=0
    for t in $clocks; do
        count=$((count + 1))
        (cd "$native" && ./kelvaster-frame "$t" "$work/$t.png") || exit 1
        for f in "$t.png" "$t.ppm"; do
            ffmpeg -loglevel error -y -i "$work/$f" -f rawvideo -pix_fmt rgb24 "$work/$f.rgb"
        done
        if cmp -s "$work/$t.png.rgb" "$work/$t.ppm.rgb"; then
            same=$((same + 1))
        else
            differ=$(cmp -l "$work/$t.png.rgb" "$work/$t.ppm.rgb" | wc -l)
            echo "t = $t: the frames differ in $differ bytes"
        fi
    done
    echo "$same of $count frames byte-identical"
    [ "$same" -eq "$count" ] && [ "$(stat -c %s "$work/$t.png.rgb")" -eq 1440000 ]
    ;;
pulse)
    # Wine's default latency underran under load; its DirectSound counts what the server holds
    # as played, so the show leads the sink by about that latency.
    export PULSE_LATENCY_MSEC=100 KV_CLOCK_LEAD_MS=100 KV_CLOCK_TOLERANCE_MS=50
    sh "$kv_tests/sound_output/sound_server_test.sh" "$here/wine_program.sh" \
        "$native/tests/sound_output/sound_check" "$native/Data" \
        "$native/tests/sound_output/sound_monitor" 10 pulse
    ;;
esac
