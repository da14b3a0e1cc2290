// The web build in headless Chromium, as a viewer meets it: the page loads without console
// errors and says "click to start"; a real click starts the music and the show; the clock
// follows the audio context and the frames are drawn; Escape leaves a closing frame.
//
//   node show_test.mjs <build-web>
import { existsSync } from "node:fs";
import { resolve } from "node:path";
import { Checks, openPage, sampleClock, serve, startBrowser } from "./harness.mjs";

const site = resolve(process.argv[2] || "build-web");
for (const f of ["index.html", "show.js", "clock.js", "kelvaster.js", "kelvaster.wasm", "kelvaster.data", "Data/tech.ogg"]) {
    if (!existsSync(resolve(site, f))) {
        console.log(`FAIL ${site}/${f} is missing: build it with web/build.sh`);
        process.exit(1);
    }
}

// The share of the canvas's pixels that are not black, read right after the page draws a frame.
function litShare() {
    return new Promise((done) =>
        requestAnimationFrame(() => {
            const c = document.getElementById("canvas");
            const copy = document.createElement("canvas");
            copy.width = c.width;
            copy.height = c.height;
            const g = copy.getContext("2d", { willReadFrequently: true });
            g.drawImage(c, 0, 0);
            const px = g.getImageData(0, 0, c.width, c.height).data;
            let lit = 0;
            for (let i = 0; i < px.length; i += 4) if (px[i] + px[i + 1] + px[i + 2] > 24) ++lit;
            done(lit / (px.length / 4));
        }),
    );
}

const server = await serve(site);
const browser = await startBrowser();
const t = new Checks();
try {
    const page = await openPage(browser.context);
    await page.goto(server.url);
    await page.waitForFunction(() => ["title", "failed"].includes(window.kvShow.phase), null, { timeout: 60000 });
    const title = (await page.textContent("#title")).replace(/\s+/g, " ").trim();
    t.check(/Kelvaster by zir/.test(title) && /click to start/.test(title), "title and 'click to start'", title);
    const readyAt = await page.evaluate(() => window.kvShow.readyAt);
    console.log(`     ready for the click ${readyAt === null ? "never" : readyAt.toFixed(0) + " ms"} after the page opened`);

    await page.click("#stage");
    await page.waitForFunction(() => window.kvShow.frames > 0 || window.kvShow.phase === "failed", null, { timeout: 20000 });
    const first = await page.evaluate(() => ({ ...window.kvShow }));
    t.check(first.phase === "playing", "a click starts the show", first.phase);
    if (first.phase === "playing")
        console.log(`     first frame ${(first.firstFrameAt - first.startedAt).toFixed(0)} ms after the click:` +
            ` ${(readyAt + first.firstFrameAt - first.startedAt).toFixed(0)} ms from opening the page to the` +
            ` first frame for a viewer who clicks at once`);

    // Until the first sound has come through the output, the position is held at 0. A busy
    // machine draws the first frames slowly (shaders compile on first use): sample on, up to
    // 10 s, until 2 s of heard music are covered.
    let samples = [];
    for (let tries = 0; tries < 4; ++tries) {
        samples = samples.concat(await sampleClock(page, 2.5)).filter((s) => s.audioTime - s.latency > 0.05);
        if (samples.length && samples[samples.length - 1].audioTime - samples[0].audioTime > 2) break;
    }
    const a = samples[0];
    const b = samples[samples.length - 1];
    const heard = (b.audioTime - a.audioTime) * 1000;
    const played = b.playMs - a.playMs;
    t.check(heard > 1500 && Math.abs(played - heard) <= 5, "the clock advances with the audio context",
        `play position +${played} ms, audio context +${heard.toFixed(1)} ms over ${samples.length} samples`);
    const worst = Math.max(...samples.map((s) => Math.abs(s.playMs - Math.max(0, (s.audioTime - s.latency) * 1000))));
    // Whole milliseconds, truncated: under 1 ms apart, give or take rounding.
    t.check(worst < 1.01, "play position = audio time less output latency",
        `worst gap ${worst.toFixed(2)} ms, output latency ${(b.latency * 1000).toFixed(1)} ms`);
    const fps = (b.frames - a.frames) / (heard / 1000);
    t.check(b.frames - a.frames >= 2, "frames keep coming", `${fps.toFixed(1)} frames a second in scene one`);
    const lit = await page.evaluate(litShare);
    t.check(lit > 0.2, "the frame is drawn", `${(lit * 100).toFixed(0)}% of its pixels lit`);

    // Escape: sound off, no more frames, the last frame kept under a quiet note.
    await page.keyboard.press("Escape");
    const atEscape = await page.evaluate(() => window.kvShow.frames);
    await page.waitForTimeout(500);
    const closed = await page.evaluate(() => ({ ...window.kvShow }));
    t.check(closed.phase === "ended" && closed.frames === atEscape, "Escape stops the frames", closed.phase);
    t.check(closed.audioState === "suspended", "Escape stops the sound", closed.audioState);
    const note = (await page.textContent("#title")).replace(/\s+/g, " ").trim();
    t.check(/ended/.test(note) && /play it again/.test(note), "Escape leaves a closing note", note);
    const shot = await page.locator("#stage").screenshot();
    t.check(shot.length > 100000, "the closing frame still shows the show, not a plain page",
        `${shot.length} bytes of screenshot`);
    t.check(page.errors.length === 0, "no console errors", page.errors.join(" | "));

    // Music the engine refuses: the engine's own words on the page, and no show.
    const refused = await openPage(browser.context);
    await refused.route("**/Data/tech.ogg", (route) => route.fulfill({ body: "OggS, and then no music" }));
    await refused.goto(server.url);
    await refused.waitForFunction(() => ["title", "failed"].includes(window.kvShow.phase), null, { timeout: 60000 });
    const said = (await refused.textContent("#status")).trim();
    t.check(said === "Cannot play Data/tech.ogg: an Ogg file cut short (Ogg Vorbis and PCM WAVE play).",
            "refused music: the engine's message", said);
} finally {
    await browser.close();
    await server.close();
}
t.done();
