// A stand-in for the show's WebAssembly module with the same entry points: each frame only
// clears the canvas to a colour made from the show clock, and it ends the show at the same
// threshold. It lets the page's own behaviour be tested on short music in a few seconds.
function createKelvaster(options) {
    "use strict";
    const gl = options.canvas.getContext("webgl");
    const calls = { init: 0, frame: 0, reset: 0, lastClock: null, music: null, still: null };
    window.kvStandin = calls;
    const clockOf = (playMs, totalMs) => Math.fround(playMs / totalMs);
    const entries = {
        kv_init() {
            ++calls.init;
            options.canvas.width = 800;
            options.canvas.height = 600;
            return gl ? 0 : 1;
        },
        // The four-second tone of standinSite() (harness.mjs), once the page has written it.
        kv_music_length: () => (calls.music ? 4000 : 0),
        kv_music_rate: () => 44100,
        kv_music_error: () => "no music",
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
        // Keeps what the page asked for; draws the first frame for the page to show.
        kv_still(by, value, totalMs) {
            calls.still = { by, value, totalMs };
            entries.kv_frame(0, totalMs);
            return 0;
        },
    };
    const FS = { writeFile: (path, bytes) => (calls.music = bytes.length), unlink() {} };
    return Promise.resolve({ cwrap: (name) => entries[name], FS });
}
