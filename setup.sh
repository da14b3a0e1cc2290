#!/bin/sh
# Installs every Debian package the show, its tools and its tests need (or those named).
# Idempotent: says nothing and changes nothing when all are present.
set -eu

PACKAGES="build-essential cmake pkg-config clang-format clang libclang-rt-14-dev
freeglut3-dev libglu1-mesa-dev libgl1-mesa-dri libegl-dev
libvorbis-dev libsdl2-dev libpng-dev
libgtest-dev libgmock-dev libbenchmark-dev
xvfb xauth x11-utils xdotool ffmpeg sox vorbis-tools
pulseaudio pulseaudio-utils libpulse-dev pipewire pipewire-pulse wireplumber
emscripten chromium firefox-esr python3"
# The browser tests' Node and npm: Debian's, unless the machine has its own on the PATH.
command -v npm >/dev/null 2>&1 || PACKAGES="$PACKAGES nodejs npm"
# Other builds name their own packages: setup.sh PACKAGE...
[ $# -gt 0 ] && PACKAGES="$*"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "setup: installing$missing" >&2
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq >/dev/null
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
