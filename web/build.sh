#!/bin/sh
# Builds the show for a web page into build-web/: kelvaster.js, kelvaster.wasm, kelvaster.data
# (the pictures), Data/tech.ogg (the music) and the page itself. The pictures and the music
# come from the native build's generators, which this builds first if needed; libogg and
# libvorbis, which the module reads the music with, are built once into build-web/ogg-vorbis.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"
jobs=$(nproc)

echo "web build: the pictures and the music, from the native generators"
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j"$jobs" --target kv_data
echo "web build: the show as WebAssembly"

mkdir -p build-web/Data
web/ogg_vorbis.sh build-web/ogg-vorbis
emcmake cmake -S . -B build-web/.cmake -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DKV_WEB_DATA="$root/build/Data" -DKV_WEB_OUT="$root/build-web" \
    -DKV_WEB_OGG_VORBIS="$root/build-web/ogg-vorbis" >/dev/null
cmake --build build-web/.cmake -j"$jobs" --target kelvaster
cp build/Data/tech.ogg build-web/Data/tech.ogg
for f in web/index.html web/*.js web/*.css; do
    [ -e "$f" ] && cp "$f" build-web/
done
echo "web build: $root/build-web"
