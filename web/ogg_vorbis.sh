#!/bin/sh
# Builds libogg and libvorbis as WebAssembly static libraries into <prefix>/lib (headers in
# <prefix>/include), once: the page reads the music with the engine's own reader, and
# emscripten's ports would need the internet. The sources are Debian's (tools/deps). Their own
# build systems spend minutes probing the compiler for what WebAssembly always has, so the
# sources are compiled here directly.
#
#   web/ogg_vorbis.sh <prefix>
set -eu
[ $# -eq 1 ] || { echo "usage: $0 <prefix>" >&2; exit 2; }
cd "$(dirname "$0")/.."
prefix=$(mkdir -p "$1" && cd "$1" && pwd)
[ -f "$prefix/lib/libvorbisfile.a" ] && exit 0

echo "web build: libogg and libvorbis for WebAssembly"
sources="$prefix/src"
tools/deps/debian_source.sh libogg "$sources"
tools/deps/debian_source.sh libvorbis "$sources"
ogg="$sources/libogg" vorbis="$sources/libvorbis"

rm -rf "$prefix/include" "$prefix/lib" "$prefix/obj"
mkdir -p "$prefix/include/ogg" "$prefix/include/vorbis" "$prefix/lib"
cp "$ogg"/include/ogg/ogg.h "$ogg"/include/ogg/os_types.h "$prefix/include/ogg/"
cp "$vorbis"/include/vorbis/codec.h "$vorbis"/include/vorbis/vorbisfile.h "$prefix/include/vorbis/"
# What configure would find on WebAssembly: the fixed-width types of <stdint.h>.
sed -e 's/@INCLUDE_INTTYPES_H@/0/; s/@INCLUDE_STDINT_H@/1/; s/@INCLUDE_SYS_TYPES_H@/0/' \
    -e 's/@SIZE16@/int16_t/; s/@USIZE16@/uint16_t/; s/@SIZE32@/int32_t/; s/@USIZE32@/uint32_t/' \
    -e 's/@SIZE64@/int64_t/; s/@USIZE64@/uint64_t/' \
    "$ogg/include/ogg/config_types.h.in" >"$prefix/include/ogg/config_types.h"

# archive <name> <source>...: one compiler run for all the sources, then one static library.
archive() {
    name=$1
    shift
    mkdir -p "$prefix/obj/$name"
    (cd "$prefix/obj/$name" && emcc -c -O2 -w -I"$prefix/include" -I"$vorbis/lib" "$@")
    emar rcs "$prefix/lib/lib$name.a" "$prefix/obj/$name"/*.o
}
archive ogg "$ogg/src/bitwise.c" "$ogg/src/framing.c"
archive vorbis $(for f in mdct smallft block envelope window lsp lpc analysis synthesis psy info \
                     floor1 floor0 res0 mapping0 registry codebook sharedbook lookup bitrate; do
                     echo "$vorbis/lib/$f.c"
                 done)
archive vorbisfile "$vorbis/lib/vorbisfile.c"
rm -rf "$prefix/obj" "$sources"
