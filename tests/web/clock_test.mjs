// The page's arithmetic: the music's length read from the Ogg file must be the native engine's
// to the millisecond (the clock is a fraction of it), and the clock and still schedule must
// keep their contracts.
//
//   node --test clock_test.mjs   with KV_MUSIC_LENGTH=<the native length printer>
//                                and optionally KV_MUSIC=<the show's Data/tech.ogg>
import { execFileSync } from "node:child_process";
import { mkdtempSync, readFileSync, rmSync } from "node:fs";
import { createRequire } from "node:module";
import { tmpdir } from "node:os";
import { dirname, join } from "node:path";
import { after, describe, test } from "node:test";
import assert from "node:assert/strict";
import { fileURLToPath } from "node:url";

const here = dirname(fileURLToPath(import.meta.url));
const clock = createRequire(import.meta.url)(join(here, "../../web/clock.js"));
const work = mkdtempSync(join(tmpdir(), "kv-clock-"));
after(() => rmSync(work, { recursive: true, force: true }));

function makeOgg(name, rate, channels, seconds) {
    const wav = join(work, name + ".wav");
    const ogg = join(work, name + ".ogg");
    execFileSync("sox", ["-n", "-r", String(rate), "-c", String(channels), "-b", "16", wav,
        "synth", String(seconds), "sine", "300-900", "vol", "0.2"]);
    execFileSync("oggenc", ["-Q", "-o", ogg, wav]);
    return ogg;
}

describe("music length", () => {
    const nativeLength = process.env.KV_MUSIC_LENGTH;
    test("agrees with the native engine to the millisecond", { skip: !nativeLength && "KV_MUSIC_LENGTH not set" }, () => {
        const files = [
            makeOgg("stereo44", 44100, 2, 4),
            makeOgg("mono22", 22050, 1, 1.2345),
            makeOgg("stereo48", 48000, 2, 0.7777),
            makeOgg("mono8", 8000, 1, 3.0001),
        ];
        if (process.env.KV_MUSIC) files.push(process.env.KV_MUSIC);
        const native = execFileSync(nativeLength, files, { encoding: "utf8" }).trim().split("\n").map(Number);
        const page = files.map((f) => clock.musicLengthMs(clock.readOggVorbis(readFileSync(f))));
        assert.deepEqual(page, native);
        assert.ok(page.every((ms) => ms > 0));
    });

    test("reads channels and rate from the stream's header", () => {
        const info = clock.readOggVorbis(readFileSync(makeOgg("mono22b", 22050, 1, 0.5)));
        assert.equal(info.channels, 1);
        assert.equal(info.rate, 22050);
        assert.equal(info.samples, 11025);
    });

    test("refuses what is not Ogg Vorbis, saying what is wrong", () => {
        const good = readFileSync(makeOgg("short", 44100, 2, 1));
        assert.throws(() => clock.readOggVorbis(new Uint8Array(200)), /not an Ogg file/);
        assert.throws(() => clock.readOggVorbis(good.subarray(0, 20)), /not an Ogg file/);
        const renamed = Uint8Array.from(good);
        renamed[28 + 1] ^= 0x20; // "vorbis" -> "Vorbis" in the first packet
        assert.throws(() => clock.readOggVorbis(renamed), /not an Ogg Vorbis file/);
        // Only the header pages: no audio, no length (the page refuses a length of 0).
        const firstPage = good.indexOf("OggS", 4);
        const headers = clock.readOggVorbis(good.subarray(0, firstPage));
        assert.equal(clock.musicLengthMs(headers), 0);
    });

    test("a length the engine would refuse is 0", () => {
        assert.equal(clock.musicLengthMs({ channels: 2, rate: 44100, samples: 2 ** 29 }), 0);
        assert.equal(clock.musicLengthMs({ channels: 2, rate: 44100, samples: 44100 * 150 }), 150000);
    });
});

describe("show clock", () => {
    test("play position from the audio context: after the latency, never past the end", () => {
        // 2.5 s of context time, started at 1 s, 20 ms of output latency
        assert.equal(clock.heardMs(2.5, 1, 0.02, 150000), 1480);
        assert.equal(clock.heardMs(1.01, 1, 0.02, 150000), 0);
        assert.equal(clock.heardMs(0.5, 1, 0, 150000), 0);
        assert.equal(clock.heardMs(400, 1, 0.02, 150000), 150000);
        assert.equal(clock.heardMs(NaN, 1, 0, 150000), 0);
    });
});
