#!/bin/sh
# Sets up, builds and plays the show in a window on this desktop.
set -eu
cd "$(dirname "$0")"
./setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "play.sh: there is no display to open the show's window on." >&2
    exit 1
fi
cd build
exec ./kelvaster "$@"
