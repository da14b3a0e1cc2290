# Shared by the Windows tests: Wine on the prefix windows/build.sh made beside the program
# (made here if missing), quiet, and a persistent server so that each start is quick.
command -v wine >/dev/null 2>&1 || skip "wine is not installed"
export WINEPREFIX="$KV_WINDOWS_OUT/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >"$KV_WINDOWS_OUT/wineboot.log" 2>&1 ||
        skip "Wine cannot start here: $(tail -n 3 "$KV_WINDOWS_OUT/wineboot.log")"
fi
# One already running for the prefix answers with an error, and serves.
wineserver -p10 >/dev/null 2>&1 </dev/null || :
