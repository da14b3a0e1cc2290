// The page's arithmetic: the music's length as the native engine counts it and the position
// heard from the audio context's clock; the show clock itself is the module's. No browser APIs
// here, so the same file loads in the page and in Node's tests.
(function (root) {
    "use strict";

    // Reads what an Ogg Vorbis file says about itself: channels, sample rate and the sample
    // count (the granule position of the stream's last page; our encoder starts streams at 0).
    // Throws an Error naming what is wrong with the bytes.
    function readOggVorbis(bytes) {
        const data = bytes instanceof Uint8Array ? bytes : new Uint8Array(bytes);
        const view = new DataView(data.buffer, data.byteOffset, data.byteLength);
        const pageAt = (pos) => {
            if (pos < 0 || pos + 27 > data.length) return null;
            if (data[pos] !== 0x4f || data[pos + 1] !== 0x67 || data[pos + 2] !== 0x67 ||
                data[pos + 3] !== 0x53 || data[pos + 4] !== 0)
                return null;
            const segments = data[pos + 26];
            if (pos + 27 + segments > data.length) return null;
            let body = 0;
            for (let i = 0; i < segments; ++i) body += data[pos + 27 + i];
            const end = pos + 27 + segments + body;
            if (end > data.length) return null;
            return {
                granule: view.getBigInt64(pos + 6, true),
                serial: view.getUint32(pos + 14, true),
                body: pos + 27 + segments,
                end,
            };
        };

        const first = pageAt(0);
        if (!first) throw new Error("not an Ogg file");
        const id = first.body;
        const vorbis = [0x01, 0x76, 0x6f, 0x72, 0x62, 0x69, 0x73]; // packet type 1, "vorbis"
        if (first.end - id < 16 || vorbis.some((b, i) => data[id + i] !== b))
            throw new Error("not an Ogg Vorbis file");
        const channels = data[id + 11];
        const rate = view.getUint32(id + 12, true);
        if (channels < 1 || rate < 1) throw new Error("Ogg Vorbis header without channels or rate");

        // The last page of this stream that ends a packet carries the total sample count.
        for (let pos = data.length - 27; pos >= 0; --pos) {
            const page = pageAt(pos);
            if (!page || page.serial !== first.serial || page.granule < 0n) continue;
            if (page.granule > BigInt(Number.MAX_SAFE_INTEGER)) break;
            return { channels, rate, samples: Number(page.granule) };
        }
        throw new Error("Ogg Vorbis file without a length");
    }

    // The length in whole milliseconds with the engine's own arithmetic: 16-bit frames in
    // bytes over bytes per second, in double, times 1000, truncated. 0 for what the engine
    // refuses (more bytes than an int holds).
    function musicLengthMs(info) {
        const blockAlign = info.channels * 2;
        const bytes = info.samples * blockAlign;
        if (bytes > 0x7fffffff) return 0;
        return Math.floor((bytes / (blockAlign * info.rate)) * 1000);
    }

    // Where the music is, in whole milliseconds, from the audio context's clock: what has been
    // heard since the start, never before it and never past the end.
    function heardMs(contextTime, startTime, latency, totalMs) {
        const ms = Math.floor((contextTime - startTime - latency) * 1000);
        if (!(ms > 0)) return 0;
        return Math.min(ms, totalMs);
    }

    const api = {
        readOggVorbis,
        musicLengthMs,
        heardMs,
    };
    if (typeof module === "object" && module.exports) module.exports = api;
    else root.kvClock = api;
})(this);
