#!/bin/sh
# with_x.sh WxHxD COMMAND...: runs COMMAND with DISPLAY on a virtual X server of its own.
# A number is taken only when neither its lock file nor its abstract socket exists (X servers
# of other containers can share the abstract namespace without sharing /tmp), and kept only
# when the lock file names our own server once it answers: xvfb-run -a's look-then-start
# lets two servers started side by side pick the same number. No reset: after the probe below
# leaves, a server resetting refuses the next client.
set -u
geometry=$1
shift
n=$((100 + $$ % 500))
display=""
for _ in $(seq 60); do
    n=$((n + 1))
    [ -e "/tmp/.X$n-lock" ] && continue
    grep -q "@/tmp/.X11-unix/X$n\$" /proc/net/unix 2>/dev/null && continue
    Xvfb ":$n" -screen 0 "$geometry" -nolisten tcp -noreset >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do
        kill -0 $xvfb 2>/dev/null || break
        xdpyinfo -display ":$n" >/dev/null 2>&1 && break
        sleep 0.1
    done
    if kill -0 $xvfb 2>/dev/null && [ "$(tr -d ' \n' <"/tmp/.X$n-lock" 2>/dev/null)" = "$xvfb" ]; then
        display=":$n"
        break
    fi
    kill $xvfb 2>/dev/null
    wait $xvfb 2>/dev/null
done
[ -n "$display" ] || { echo "with_x: no virtual X server would start" >&2; exit 1; }
DISPLAY=$display "$@"
status=$?
kill $xvfb 2>/dev/null
wait $xvfb 2>/dev/null
exit $status
