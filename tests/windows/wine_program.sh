#!/bin/sh
# Stands in for the Linux program in the sound-card tests (tests/sound_output): runs
# $KV_WINDOWS_OUT/kelvaster.exe under Wine. Wine hands on no descriptor but the standard
# three, so the clock log goes through a file, written onto descriptor 3 once the show has
# ended, its times moved from Wine's clock (the host's CLOCK_MONOTONIC_RAW) to CLOCK_MONOTONIC.
set -u
skip() {
    echo "SKIP: $*" >&2
    exit 77
}
. "$(dirname "$0")/wine_env.sh"
log=$(mktemp)
offset=$(python3 -c 'from time import *
print(clock_gettime_ns(CLOCK_MONOTONIC) - clock_gettime_ns(CLOCK_MONOTONIC_RAW))')
env -u KELVASTER_CLOCK_FD KELVASTER_CLOCK_FILE="$log" wine "$KV_WINDOWS_OUT/kelvaster.exe" "$@"
status=$?
if [ -n "${KELVASTER_CLOCK_FD:-}" ]; then
    awk -v offset="$offset" '{ printf "%.0f %s\n", $1 + offset, $2 }' "$log" >&3
fi
rm -f "$log"
exit $status
