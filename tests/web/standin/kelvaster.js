// A stand-in for the show's WebAssembly module with the same entry points: each frame only
// clears the canvas to a colour made from the show clock, and it ends the show at the same
// threshold. It lets the page's own behaviour be tested on short music in a few seconds.
function createKelvaster(options) {
    "use strict";
    // The four-second tone of harness.mjs's standinSite(), as the module would read it.
    const MUSIC = { totalMs: 4000, rate: 44100 };
    const canvas = options.canvas;
    const gl = canvas.getContext("webgl");
    const calls = { init: 0, frame: 0, reset: 0, lastClock: null, music: null, still: null };
    window.kvStandin = calls;
    const files = {};
    const entries = {
        kv_init() {
            ++calls.init;
            canvas.width = 800;
            canvas.height = 600;
            return gl ? 0 : 1;
        },
        kv_music_length: () => (files["Data/tech.ogg"] ? MUSIC.totalMs : 0),
        kv_music_rate: () => MUSIC.rate,
        kv_music_error: () => "no music",
        kv_frame(playMs, totalMs) {
            ++calls.frame;
            const t = Math.fround((playMs >>> 0) / totalMs);
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
    const FS = {
        writeFile(path, bytes) {
            files[path] = bytes;
            calls.music = bytes.length;
        },
        unlink(path) {
            delete files[path];
        },
    };
    return Promise.resolve({ cwrap: (name) => entries[name], FS });
}
