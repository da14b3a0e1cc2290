#!/bin/sh
# The real program through SDL's disk audio driver: what it writes must be the music, decoded,
# frame for frame from the first audible one to the show's end, within 2 LSB.
#   disk_driver_test.sh PROGRAM SOUND_CHECK DATA SECONDS
set -u
program=$1 check=$2 data=$3 seconds=$4
. "$(dirname "$0")/common.sh"

need Xvfb sox oggenc oggdec
"$check" driver disk || skip "SDL cannot write sound to a file"
make_show_folder "$data"

# A sweep on the left, noise on the right: any block out of place shows.
sox -n -r 44100 -c 2 -b 16 "$work/music.wav" synth "$seconds" sine 100-3000 pinknoise gain -4
oggenc -Q -s 1 "$work/music.wav" -o "$work/Data/tech.ogg"
oggdec -Q -R -o "$work/piece.raw" "$work/Data/tech.ogg"

run_show "$program" "$seconds" SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/written.raw"
report_end "$seconds"
"$check" match-pcm "$work/piece.raw" "$work/written.raw"
