#!/bin/sh
# with_x.sh WxHxD COMMAND...: runs COMMAND with DISPLAY on a virtual X server of its own.
# Xvfb picks the number itself (-displayfd): it binds the first free socket, so servers
# started side by side never share one, as xvfb-run -a's look-then-start can.
set -u
geometry=$1
shift
numfile=$(mktemp)
Xvfb -displayfd 1 -screen 0 "$geometry" -nolisten tcp >"$numfile" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do
    grep -q '^[0-9][0-9]*$' "$numfile" 2>/dev/null && break
    kill -0 $xvfb 2>/dev/null || break
    sleep 0.1
done
number=$(head -n1 "$numfile")
rm -f "$numfile"
case "$number" in
'' | *[!0-9]*)
    echo "with_x: no virtual X server would start" >&2
    kill $xvfb 2>/dev/null
    exit 1
    ;;
esac
DISPLAY=":$number" "$@"
status=$?
kill $xvfb 2>/dev/null
wait $xvfb 2>/dev/null
exit $status
