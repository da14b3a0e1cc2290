// The page's own behaviour on a stand-in module and four seconds of music: the title and
// "click to start", the clock following the audio context, the show ending by itself and
// playing again, Escape's closing frame, full screen, and the test-only stills.
import { rmSync } from "node:fs";
import { Checks, openPage, sampleClock, serve, standinSite, startBrowser } from "./harness.mjs";

const { site, totalMs } = standinSite();

const server = await serve(site);
const browser = await startBrowser();
const t = new Checks();
try {
    const page = await openPage(browser.context);
    await page.goto(server.url);
    await page.waitForFunction(() => window.kvShow.phase === "title", null, { timeout: 20000 });
    const shown = await page.textContent("#title");
    t.check(/Kelvaster by zir/.test(shown) && /click to start/.test(shown), "title and 'click to start'", shown.trim());
    t.check(await page.isVisible("#keys"), "the keys are listed", await page.textContent("#keys"));
    t.check((await page.evaluate(() => window.kvShow.totalMs)) === totalMs, "music length in ms");
    t.check((await page.evaluate(() => window.kvStandin.frame)) === 0, "no frame drawn before the click");

    // A real click starts the show; the clock follows what the audio context says is heard.
    await page.click("#stage");
    await page.waitForFunction(() => window.kvShow.phase === "playing", null, { timeout: 10000 });
    const samples = await sampleClock(page, 1.5);
    const a = samples[0];
    const b = samples[samples.length - 1];
    const heard = (b.audioTime - a.audioTime) * 1000;
    t.check(b.playMs > a.playMs && heard > 800, "the clock runs with the audio context",
        `play ${a.playMs} -> ${b.playMs} ms, audio context +${heard.toFixed(0)} ms`);
    const worst = Math.max(...samples.map((s) => Math.abs(s.playMs - Math.max(0, (s.audioTime - s.latency) * 1000))));
    // Whole milliseconds, truncated: under 1 ms apart, give or take rounding.
    t.check(worst < 1.01, "play position = audio time less output latency", `worst gap ${worst.toFixed(2)} ms`);

    // At the end threshold the page stops by itself and offers the show again.
    await page.waitForFunction(() => window.kvShow.phase === "ended", null, { timeout: 8000 });
    const last = await page.evaluate(() => window.kvStandin.lastClock);
    t.check(last >= 0.986539, "the show ended at the end threshold", `last clock ${last}`);
    t.check(/play it again/.test(await page.textContent("#title")), "offers to play again");
    t.check((await page.evaluate(() => window.kvShow.audioState)) === "suspended", "sound stopped at the end");

    await page.keyboard.press("Space");
    await page.waitForFunction(() => window.kvShow.phase === "playing", null, { timeout: 10000 });
    await page.waitForTimeout(500);
    const again = await page.evaluate(() => ({ ...window.kvShow, reset: window.kvStandin.reset }));
    t.check(again.reset === 1 && again.playMs < 1500, "a key plays it again from the start",
        `reset ${again.reset}, play ${again.playMs} ms`);

    // Escape: the audio stops, no more frames, the last frame stays under a quiet note.
    await page.keyboard.press("Escape");
    const frames = await page.evaluate(() => window.kvStandin.frame);
    await page.waitForTimeout(400);
    const after = await page.evaluate(() => ({ ...window.kvShow, frames: window.kvStandin.frame }));
    t.check(after.phase === "ended" && after.frames === frames, "Escape stops the frames",
        `${frames} -> ${after.frames}`);
    t.check(after.audioState === "suspended", "Escape stops the sound", after.audioState);
    t.check(/ended/.test(await page.textContent("#title")), "Escape leaves a closing note");

    // Full screen scales the canvas, not its pixels.
    await page.click("#fullscreen");
    await page.waitForFunction(() => document.fullscreenElement !== null, null, { timeout: 5000 }).catch(() => {});
    const fit = await page.evaluate(() => {
        const c = document.getElementById("canvas");
        const r = c.getBoundingClientRect();
        return { full: document.fullscreenElement && document.fullscreenElement.id, w: c.width, h: c.height,
            boxW: r.width, boxH: r.height, vw: innerWidth, vh: innerHeight, fit: getComputedStyle(c).objectFit };
    });
    t.check(fit.full === "stage" && fit.w === 800 && fit.h === 600 && fit.fit === "contain" &&
        fit.boxW === fit.vw && fit.boxH === fit.vh, "full screen: the 800 x 600 canvas fills the screen, contained",
        JSON.stringify(fit));
    await page.keyboard.press("f");
    await page.waitForFunction(() => document.fullscreenElement === null, null, { timeout: 5000 }).catch(() => {});
    t.check(await page.evaluate(() => document.fullscreenElement === null), "f leaves full screen");
    t.check(page.errors.length === 0, "no console errors", page.errors.join(" | "));

    // A click while the page still loads is kept: the show starts once it can.
    const early = await openPage(browser.context);
    await early.route("**/Data/tech.ogg", async (route) => {
        await new Promise((r) => setTimeout(r, 1500));
        await route.continue();
    });
    await early.goto(server.url);
    await early.click("#stage");
    const waiting = (await early.textContent("#status")).trim();
    await early.waitForFunction(() => window.kvShow.phase === "playing", null, { timeout: 10000 });
    t.check(/^loading… music/.test(waiting), "a click during loading waits, then starts the show", waiting);
    await early.keyboard.press("Escape");
    await early.close();

    // A busy audio thread moves currentTime on between two reads in one task; the position a
    // frame reports must still come from one reading (here every read is 11 ms later).
    const busy = await openPage(browser.context);
    await busy.addInitScript(() => {
        const real = Object.getOwnPropertyDescriptor(BaseAudioContext.prototype, "currentTime").get;
        let reads = 0;
        Object.defineProperty(BaseAudioContext.prototype, "currentTime", {
            get() {
                return real.call(this) + 0.011 * ++reads;
            },
        });
    });
    await busy.goto(server.url);
    await busy.waitForFunction(() => window.kvShow.phase === "title", null, { timeout: 20000 });
    await busy.click("#stage");
    await busy.waitForFunction(() => window.kvShow.frames > 2, null, { timeout: 10000 });
    const moving = (await sampleClock(busy, 0.5, 100)).filter((s) => s.playMs > 0 && s.playMs < totalMs);
    const gap = Math.max(...moving.map((s) => Math.abs(s.playMs - (s.audioTime - s.latency) * 1000)));
    t.check(moving.length > 0 && gap < 1.01, "one reading of the audio clock per frame",
        `worst gap ${gap.toFixed(2)} ms over ${moving.length} samples`);
    await busy.keyboard.press("Escape");
    await busy.close();

    // The test-only still: the module is asked for the moment, on the length given or read.
    const still = await openPage(browser.context);
    const asked = async (query) => {
        await still.goto(server.url + query);
        await still.waitForFunction(() => window.kvReady === true, null, { timeout: 10000 });
        return still.evaluate(() => ({ ...window.kvStandin.still, music: window.kvStandin.music }));
    };
    const byMs = await asked("?ms=1000&len=5000");
    t.check(byMs.by === 1 && byMs.value === 1000 && byMs.totalMs === 5000 && byMs.music === null,
        "?ms=1000&len=5000: that moment of a 5000 ms music, nothing fetched", JSON.stringify(byMs));
    const byClock = await asked("?clock=0.5");
    t.check(byClock.by === 2 && byClock.value === 0.5 && byClock.totalMs === totalMs && byClock.music > 0,
        "?clock=0.5 of the length the module read from the music", JSON.stringify(byClock));
    await still.goto(server.url + "?clock=banana");
    await still.waitForFunction(() => window.kvShow.phase === "failed", null, { timeout: 10000 });
    t.check(/bad \?clock=banana/.test(await still.textContent("#status")), "a bad still request is refused");
    await still.goto(server.url);
    await still.waitForFunction(() => window.kvShow.phase === "title", null, { timeout: 10000 });
    t.check(await still.evaluate(() => window.kvReady === undefined && window.kvStill === undefined &&
        window.kvStandin.frame === 0), "the default page draws no still");
} finally {
    await browser.close();
    await server.close();
    rmSync(site, { recursive: true, force: true });
}
t.done();
