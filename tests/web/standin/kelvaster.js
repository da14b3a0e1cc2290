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
        kv_advance() {
            ++calls.advance;
        },
        kv_reset() {
            ++calls.reset;
        },
    };
    return Promise.resolve({ cwrap: (name) => entries[name] });
}
