// Where the music is by the audio context's clock, the one piece of arithmetic the page keeps.
//
//   node --test clock_test.mjs
import { createRequire } from "node:module";
import { dirname, join } from "node:path";
import { describe, test } from "node:test";
import assert from "node:assert/strict";
import { fileURLToPath } from "node:url";

const here = dirname(fileURLToPath(import.meta.url));
const clock = createRequire(import.meta.url)(join(here, "../../web/clock.js"));

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
