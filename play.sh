#!/bin/sh
# Sets up, builds and plays the show in a window on this desktop; with no desktop, renders
# it to build/kelvaster.mp4 instead.
set -eu
cd "$(dirname "$0")"
./setup.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j"$(nproc)"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    # With no window to open, the show goes to a video file instead, drawn by the same code.
    video="$PWD/build/kelvaster.mp4"
    echo "play.sh: there is no display to open the show's window on;" \
        "rendering the show to $video instead (this takes some minutes)." >&2
    build/kelvaster-capture video "$video"
    echo "play.sh: the show, with its music, is in $video" >&2
    exit 0
fi
cd build
exec ./kelvaster "$@"
