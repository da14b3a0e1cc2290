// Where the music is by the audio context's clock; the show clock and the music's length are the
// module's. No browser APIs here, so the same file loads in the page and in Node's tests.
(function (root) {
    "use strict";

    // Where the music is, in whole milliseconds, from the audio context's clock: what has been
    // heard since the start, never before it and never past the end.
    function heardMs(contextTime, startTime, latency, totalMs) {
        const ms = Math.floor((contextTime - startTime - latency) * 1000);
        if (!(ms > 0)) return 0;
        return Math.min(ms, totalMs);
    }

    const api = { heardMs };
    if (typeof module === "object" && module.exports) module.exports = api;
    else root.kvClock = api;
})(this);
