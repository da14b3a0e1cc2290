#!/bin/sh
# Cross-builds the show for 64-bit Windows into build-windows/: kelvaster.exe (static, real
# DirectSound), the frame tool kelvaster-frame.exe for the tests, and kelvaster-windows.zip
# (the program, Data/ and a README for Windows users). libogg, libvorbis and freeglut are built
# once from Debian's source packages into build-windows/deps. Data/ comes from the native
# build, which this builds first if needed: the music encoder's floating point differs under
# another compiler, and the show is meant to play the same bytes everywhere.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
out="$root/build-windows"
deps="$out/deps"
jobs=$(nproc)
[ "$jobs" -gt 2 ] && jobs=2

# The toolchain, and Wine for the tests.
"$root/setup.sh" g++-mingw-w64-x86-64-posix wine wine64 zip

toolchain="$root/windows/mingw64.cmake"
# build_dep NAME [CMAKE OPTIONS...]: configures, builds and installs one library into $deps.
build_dep() {
    name=$1
    shift
    [ -f "$deps/.$name.built" ] && return 0
    echo "windows build: $name"
    tools/deps/debian_source.sh "$name" "$out/src"
    rm -rf "$out/src/$name.build"
    cmake -S "$out/src/$name" -B "$out/src/$name.build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$deps" \
        -DCMAKE_PREFIX_PATH="$deps" -DBUILD_SHARED_LIBS=OFF -DBUILD_TESTING=OFF "$@" >/dev/null
    cmake --build "$out/src/$name.build" -j"$jobs" --target install >/dev/null
    touch "$deps/.$name.built"
}
mkdir -p "$deps"
build_dep libogg -DINSTALL_DOCS=OFF
build_dep libvorbis
build_dep freeglut -DFREEGLUT_BUILD_SHARED_LIBS=OFF -DFREEGLUT_BUILD_STATIC_LIBS=ON \
    -DFREEGLUT_BUILD_DEMOS=OFF -DFREEGLUT_GLES=OFF

echo "windows build: the pictures and the music, from the native generators"
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j"$jobs" --target kv_data

echo "windows build: kelvaster.exe"
# The libraries' pkg-config files, not the build machine's.
PKG_CONFIG_LIBDIR="$deps/lib/pkgconfig" cmake -S . -B "$out/cmake" -G Ninja \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_PREFIX_PATH="$deps" \
    -DKV_WINDOWS_OUT="$out" >/dev/null
cmake --build "$out/cmake" -j"$jobs"

rm -rf "$out/Data" "$out/package"
cp -r build/Data "$out/Data"
mkdir -p "$out/package/kelvaster"
cp -r "$out/kelvaster.exe" "$out/Data" "$out/package/kelvaster/"
cp windows/README.txt "$out/package/kelvaster/README.txt"
rm -f "$out/kelvaster-windows.zip"
(cd "$out/package" && zip -qr -X "$out/kelvaster-windows.zip" kelvaster)
# The tests' Wine prefix, made once here rather than by the first test to run.
if [ ! -f "$out/wine/system.reg" ]; then
    echo "windows build: a Wine prefix for the tests"
    WINEPREFIX="$out/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i \
        >"$out/wineboot.log" 2>&1 ||
        echo "windows build: Wine would not start (see $out/wineboot.log)" >&2
fi
echo "windows build: $out/kelvaster.exe and $out/kelvaster-windows.zip"
