#!/bin/sh
# Sets up, builds and runs every test (the web build's in headless Chromium too, the Windows
# build's under Wine); then the unit tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, the sound engine's tests under ThreadSanitizer, and the fuzz
# targets (clang, libFuzzer) for a fixed number of runs each.
set -eu
cd "$(dirname "$0")"
./setup.sh
jobs=$(nproc)

# The Windows build first: the tests labelled windows are registered only where it exists.
windows/build.sh >/dev/null
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j"$jobs"
# The web build and the browser tests' Node packages, for the tests labelled web.
web/build.sh >/dev/null
npm ci --prefix tests/web --no-audit --no-fund --loglevel=error >/dev/null
ctest --test-dir build -j"$jobs" --output-on-failure

cmake -S . -B build-asan -G Ninja -DKV_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan -L unit -j"$jobs" --output-on-failure

cmake -S . -B build-tsan -G Ninja -DKV_TSAN=ON >/dev/null
cmake --build build-tsan -j"$jobs" --target sound_loader_tests sound_platform_tests \
    sound_engine_tests sound_stream_tests
ctest --test-dir build-tsan -L sound -LE data -j"$jobs" --output-on-failure

cmake -S tests/fuzz -B build-fuzz -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    >/dev/null
cmake --build build-fuzz -j"$jobs"
ctest --test-dir build-fuzz -j"$jobs" --output-on-failure
