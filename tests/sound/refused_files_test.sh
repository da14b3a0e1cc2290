#!/bin/sh
# The real program given music or a picture it must refuse: a FIFO, a directory, a device, a
# crafted Ogg file, a chain whose links differ in format, sound of kinds it does not play. Each
# must end start-up at once with the file's message and status 1, never block or crash; for
# the music, that message names the file and the reason, and the general line follows.
# Arguments: the program, the built Data folder, the crafted Ogg file, the mixed chain.
set -u
program=$1 data=$2 crafted=$3 mixed=$4

inner() {
    scratch=$(mktemp -d /tmp/kv-refused-XXXXXX)
    trap 'rm -rf "$scratch"' EXIT
    failures=0

    # run NAME FILE SETUP MESSAGE: Data/FILE made by SETUP (run in Data/), then the program.
    run() {
        rm -rf "$scratch/Data"
        mkdir "$scratch/Data"
        for f in "$data"/*.bmp "$data"/tech.ogg; do ln -s "$f" "$scratch/Data/"; done
        rm -f "$scratch/Data/$2"
        (cd "$scratch/Data" && sh -c "$3") || { echo "FAIL $1: cannot set up"; return 1; }
        started=$(date +%s)
        (cd "$scratch" && timeout 20 "$program" >"$scratch/out.txt" 2>&1)
        status=$?
        took=$(($(date +%s) - started))
        if [ $status -eq 124 ]; then
            echo "FAIL $1: still running after 20 s"
        elif [ $status -ne 1 ]; then
            echo "FAIL $1: status $status, not 1"; cat "$scratch/out.txt"
        elif ! grep -qF "$4" "$scratch/out.txt"; then
            echo "FAIL $1: no '$4' in:"; cat "$scratch/out.txt"
        elif [ "$2" = tech.ogg ] && ! grep -A1 -F "$4" "$scratch/out.txt" | tail -n 1 |
            grep -qFx "System Error.: We cannot find sound file."; then
            echo "FAIL $1: the reason is not followed by the general line:"; cat "$scratch/out.txt"
        elif [ "$took" -gt 5 ]; then
            echo "FAIL $1: took $took s"
        else
            echo "ok   $1 (status 1, '$4')"
            return 0
        fi
        failures=$((failures + 1))
    }

    open_error="Error: File open error : Data/tech.ogg"
    run "music is a FIFO" tech.ogg "mkfifo tech.ogg" "$open_error"
    run "music is a directory" tech.ogg "mkdir tech.ogg" "$open_error"
    run "music is a device" tech.ogg "ln -s /dev/zero tech.ogg" "$open_error"
    run "music is the crafted Ogg file" tech.ogg "cp '$crafted' tech.ogg" \
        "Ogg file refused : Data/tech.ogg : a page fails its checksum (the page at byte 4400)"
    run "music is a chain of two formats" tech.ogg "cp '$mixed' tech.ogg" \
        "Ogg file refused : Data/tech.ogg : its chained streams differ in format"
    kinds="(Ogg Vorbis and PCM WAVE play)."
    tone="-v error -f lavfi -i sine=d=1"
    run "music is an MP3 file" tech.ogg "ffmpeg $tone tech.mp3 && mv tech.mp3 tech.ogg" \
        "Error: Cannot play Data/tech.ogg: an MP3 file $kinds"
    run "music is an Ogg Theora video" tech.ogg \
        "ffmpeg -v error -f lavfi -i testsrc=d=1:s=64x48 -c:v libtheora -f ogg tech.ogg" \
        "Error: Cannot play Data/tech.ogg: an Ogg Theora video, not Vorbis sound $kinds"
    run "music is a tracker module" tech.ogg \
        "head -c 1080 /dev/zero >tech.ogg && printf M.K. >>tech.ogg && head -c 999 /dev/zero >>tech.ogg" \
        "Error: Cannot play Data/tech.ogg: a tracker module (MOD) $kinds"
    run "music is a float WAVE file" tech.ogg \
        "sox -n -r 44100 -c 2 -e floating-point -b 32 f.wav synth 1 sine 500 && mv f.wav tech.ogg" \
        "Error: Cannot play Data/tech.ogg: a WAVE file of floating-point samples, not PCM."
    run "music is Opus renamed" tech.ogg "ffmpeg $tone -c:a libopus -f ogg tech.ogg" \
        "Error: Cannot play Data/tech.ogg: Ogg Opus sound, not Vorbis $kinds"
    run "music is 9-channel Vorbis" tech.ogg \
        "sox -n -r 44100 -c 9 -b 16 n.wav synth 1 sine 300 && oggenc -Q n.wav -o tech.ogg" \
        "Error: Cannot play Data/tech.ogg: 9 channels (1 to 8 play)."
    run "a picture is a FIFO" aba2.bmp "mkfifo aba2.bmp" "file open error."
    run "a picture is a directory" aba2.bmp "mkdir aba2.bmp" "file open error."
    run "a picture is a device" aba2.bmp "ln -s /dev/zero aba2.bmp" "file open error."
    [ $failures -eq 0 ]
}

if [ "${5:-}" = "--inner" ]; then
    inner
else
    exec sh "$(dirname "$0")/../support/with_x.sh" 1024x768x24 sh "$0" "$program" "$data" \
        "$crafted" "$mixed" --inner
fi
