#!/bin/sh
# The real program with music files it must refuse, and short ones it must play to their end:
# each refusal names its reason and ends with status 1 before any drawing; each good piece ends
# the show by itself with status 0.
set -u
program=$1
if [ "${2:-}" != "--inner" ]; then
    exec sh "$(dirname "$0")/../support/with_x.sh" 1024x768x24 sh "$0" "$program" --inner
fi

# Little-endian bytes as printf escapes.
le16() { printf '\\%03o\\%03o' $(($1 & 255)) $(($1 >> 8 & 255)); }
le32() { le16 $(($1 & 65535)); le16 $(($1 >> 16 & 65535)); }

# wave FILE TAG CHANNELS RATE BYTERATE ALIGN BITS DATABYTES: a plain WAVE of zeros.
wave() {
    head=$(printf 'RIFF%sWAVEfmt %s%s%s%s%s%s%sdata%s' "$(le32 $((36 + $8)))" "$(le32 16)" \
        "$(le16 "$2")" "$(le16 "$3")" "$(le32 "$4")" "$(le32 "$5")" "$(le16 "$6")" "$(le16 "$7")" \
        "$(le32 "$8")")
    printf "$head" >"$1"
    head -c "$8" /dev/zero >>"$1"
}

pictures=$(dirname "$program")/Data # the build's own, beside the program
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# run FILE: plays FILE as Data/tech.ogg; sets status and said (stderr).
run() {
    rm -rf "$work/show"
    mkdir -p "$work/show/Data"
    ln -s "$pictures"/*.bmp "$work/show/Data/"
    cp "$1" "$work/show/Data/tech.ogg"
    (cd "$work/show" && timeout 30 "$program" 2>"$work/said" >/dev/null)
    status=$?
    said=$(cat "$work/said")
}

refused() { # NAME FILE MESSAGE
    run "$2"
    case $said in
    *"$3"*) ;;
    *) echo "$1: no '$3' in: $said"; failures=$((failures + 1)) ;;
    esac
    [ $status -eq 1 ] || { echo "$1: status $status, not 1"; failures=$((failures + 1)); }
}

played() { # NAME FILE
    run "$2"
    [ $status -eq 0 ] || { echo "$1: status $status, not 0: $said"; failures=$((failures + 1)); }
}

wave "$work/empty.wav" 1 2 44100 176400 4 16 0
refused empty "$work/empty.wav" "Error: The sound holds no samples. : CdSound::Open()"
wave "$work/blip.wav" 1 2 44100 176400 4 16 176
refused "under 1 ms" "$work/blip.wav" "System Error.: The music is too short to show: it lasts under 1 ms."
wave "$work/wide.wav" 1 2 44100 352800 8 32 800
refused "32 bits" "$work/wide.wav" "Error: Cannot play Data/tech.ogg: 32 bits per sample (8, 16 and 24 play)."
wave "$work/odd.wav" 1 2 44100 264600 6 16 600
refused "frame size" "$work/odd.wav" "Cannot play Data/tech.ogg: frames of 6 bytes for 2 channels of 16 bits."
wave "$work/still.wav" 1 2 0 0 4 16 400
refused "rate 0" "$work/still.wav" "Cannot play Data/tech.ogg: a rate of 0 Hz"

# A byte rate and frame size of 0 are worked out: 0.3 s plays and ends the show.
wave "$work/zeros.wav" 1 2 44100 0 0 16 52920
played "rates of 0" "$work/zeros.wav"
sox -r 44100 -n -c 2 -b 24 -e signed-integer "$work/extensible.wav" synth 0.4 sine 440
played "extensible" "$work/extensible.wav"
sox -r 22050 -n -c 1 -b 16 "$work/short.wav" synth 1.3 sine 300
oggenc -Q "$work/short.wav" -o "$work/short.ogg"
played "ogg of 1.3 s" "$work/short.ogg"

[ $failures -eq 0 ] && echo "music files ok"
exit $((failures > 0))
