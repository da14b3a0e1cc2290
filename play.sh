#!/bin/sh
# Sets up, builds and plays the show in a window on this desktop; with no desktop, renders
# it to build/kelvaster.mp4 instead. With --web, builds the web page instead and serves it
# on this machine for a browser. With --windows, cross-builds the Windows program and plays it
# under Wine.
set -eu
cd "$(dirname "$0")"
./setup.sh
if [ "${1:-}" = "--web" ]; then
    port=${KV_WEB_PORT:-8000}
    # Before a build of a minute or more, not after it.
    if ! python3 -c "import socket; socket.socket().bind(('127.0.0.1', $port))" 2>/dev/null; then
        echo "play.sh: port $port is taken; choose another with KV_WEB_PORT=..." >&2
        exit 1
    fi
    echo "play.sh: building the web page into build-web/ (a minute or two the first time)" >&2
    web/build.sh >&2
    echo "play.sh: the show is at http://localhost:$port/ - open it in a browser (Ctrl-C stops)" >&2
    exec python3 -m http.server --bind 127.0.0.1 --directory build-web "$port" >/dev/null 2>&1
fi
if [ "${1:-}" = "--windows" ]; then
    shift
    echo "play.sh: building the Windows program into build-windows/ (minutes the first time)" >&2
    windows/build.sh >&2
    if [ -z "${DISPLAY:-}" ]; then
        echo "play.sh: no display to play it on under Wine; for Windows, unpack" \
            "build-windows/kelvaster-windows.zip" >&2
        exit 0
    fi
    cd build-windows
    WINEPREFIX="$PWD/wine" WINEDEBUG=-all exec wine kelvaster.exe "$@"
fi
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
