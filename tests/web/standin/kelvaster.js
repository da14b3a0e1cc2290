// A stand-in for the show's WebAssembly module with the same entry points: each frame only
// clears the canvas to a colour made from the show clock, and it ends the show at the same
// threshold. It lets the page's own behaviour be tested on short music in a few seconds.
function createKelvaster(options) {
    "use strict";
    const gl = options.canvas.getContext("webgl");
    const calls = { init: 0, frame: 0, advance: 0, reset: 0, lastClock: null };
    window.kvStandin = calls;
    const clockOf = (playMs, totalMs) => Math.fround(playMs / totalMs);
    const entries = {
        kv_init() {
            ++calls.init;
            return gl ? 0 : 1;
        },
        kv_frame(playMs, totalMs) {
            ++calls.frame;
            const t = clockOf(playMs >>> 0, totalMs);
            calls.lastClock = t;
            gl.clearColor(t, 0.5, 1 - t, 1);
            gl.clear(gl.COLOR_BUFFER_BIT);
            return t >= 0.986539 ? 1 : 0;
        },
        kv_reset() {
            ++calls.reset;
        },
        // The clock and the still's run-up at 60 frames a second, counted as the module runs
        // them: every frame before the last only advanced, the last drawn.
        kv_show_clock: clockOf,
        kv_play_ms_at_clock(t, totalMs) {
            let lo = 0;
            let hi = totalMs;
            while (lo < hi) {
                const mid = Math.floor((lo + hi) / 2);
                if (clockOf(mid, totalMs) >= t) hi = mid;
                else lo = mid + 1;
            }
            return lo;
        },
        kv_frame_play_ms: (k) => Math.floor((k * 1000) / 60),
        kv_frames_before: (playMs) => Math.ceil((playMs * 60) / 1000),
        kv_run_up_to(before, totalMs) {
            if (before <= 0) return;
            calls.advance += before - 1;
            entries.kv_frame(entries.kv_frame_play_ms(before - 1), totalMs);
        },
    };
    return Promise.resolve({ cwrap: (name) => entries[name] });
}
