// The page on a stand-in module as windows and browsers meet it: the picture in the largest
// 4:3 area with the keys in view at common window sizes, sharp at a whole-number scale; what
// it says from the click to the first frame; and the show in silence, on time, when the
// audio context never starts or goes away mid-show.
import { rmSync } from "node:fs";
import { Checks, checkFit, measureFit, openPage, serve, standinSite, startBrowser, WINDOWS } from "./harness.mjs";

const { site, totalMs } = standinSite();

// The context's own state, or what the test makes it: "suspended" with a resume() that never
// settles (Firefox with no output device), or "closed" once the device goes away.
function fakeSound(mode) {
    const real = Object.getOwnPropertyDescriptor(BaseAudioContext.prototype, "state").get;
    Object.defineProperty(BaseAudioContext.prototype, "state", {
        get() {
            if (mode === "never") return "suspended";
            return window.kvLoseSound ? "closed" : real.call(this);
        },
    });
    if (mode === "never") AudioContext.prototype.resume = () => new Promise(() => {});
}

const server = await serve(site);
const browser = await startBrowser();
const t = new Checks();
try {
    const page = await openPage(browser.context);
    for (const w of WINDOWS) {
        await page.setViewportSize({ width: w.width, height: w.height });
        await page.goto(server.url);
        await page.waitForFunction(() => window.kvShow.phase === "title", null, { timeout: 20000 });
        checkFit(t, w, await page.evaluate(measureFit));
    }
    await page.close();

    // No sound to be had: "starting…" while the page waits for it, then the show on
    // performance.now() with a notice, no pointer over it, ending on time.
    const silent = await openPage(browser.context);
    await silent.addInitScript(fakeSound, "never");
    await silent.goto(server.url);
    await silent.waitForFunction(() => window.kvShow.phase === "title", null, { timeout: 20000 });
    t.check((await silent.textContent("#hint")).startsWith("Click or press a key"), "the hint before the click");
    await silent.click("#stage");
    const starting = await silent.evaluate(() => ({ phase: window.kvShow.phase, status: document.getElementById("status").textContent }));
    t.check(starting.phase === "starting" && starting.status === "starting…", "'starting…' after the click", JSON.stringify(starting));
    await silent.waitForFunction(() => window.kvShow.phase === "playing", null, { timeout: 5000 });
    const playing = await silent.evaluate(() => ({ waited: performance.now() - window.kvShow.startedAt,
        notice: document.getElementById("notice").textContent, hint: document.getElementById("hint").textContent,
        cursor: getComputedStyle(document.getElementById("stage")).cursor }));
    t.check(playing.waited >= 1900 && playing.waited < 3000 && /^No sound: /.test(playing.notice),
            "no running audio 2 s after the click: a notice, the show in silence", JSON.stringify(playing));
    t.check(playing.hint === "Esc ends the show" && playing.cursor === "none", "while playing: its hint, no pointer", JSON.stringify(playing));
    await silent.waitForFunction(() => window.kvShow.phase === "ended", null, { timeout: 8000 });
    const ended = await silent.evaluate(() => performance.now() - window.kvShow.startedAt);
    // The stand-in ends at the end threshold: 98.65% of the music, after the 2 s wait.
    t.check(Math.abs(ended - 2000 - 0.9865 * totalMs) < 400, "the silent show ends on time", `${ended.toFixed(0)} ms after the click`);
    await silent.close();

    // The device goes away mid-show: silence from where the music was, still ending on time.
    const lost = await openPage(browser.context);
    await lost.addInitScript(fakeSound, "lose");
    await lost.goto(server.url);
    await lost.waitForFunction(() => window.kvShow.phase === "title", null, { timeout: 20000 });
    await lost.click("#stage");
    await lost.waitForFunction(() => window.kvShow.playMs > 1500, null, { timeout: 8000 });
    const before = await lost.evaluate(() => { window.kvLoseSound = true; return { ms: window.kvShow.playMs, at: performance.now() }; });
    await lost.waitForTimeout(300);
    const after = await lost.evaluate(() => ({ ms: window.kvShow.playMs, at: performance.now(), notice: document.getElementById("notice").textContent }));
    const drift = after.ms - before.ms - (after.at - before.at);
    t.check(/^No sound: /.test(after.notice) && Math.abs(drift) < 100, "a lost device: the show goes on from where it was",
            `${before.ms} -> ${after.ms} ms in ${(after.at - before.at).toFixed(0)} ms; ${after.notice}`);
    const endedLost = await lost.waitForFunction(() => window.kvShow.phase === "ended", null, { timeout: 6000 })
        .then(() => true, () => false);
    t.check(endedLost, "the show ends by itself after the device went away");
    t.check(lost.errors.length === 0, "no console errors", lost.errors.join(" | "));
    await lost.close();
} finally {
    await browser.close();
    await server.close();
    rmSync(site, { recursive: true, force: true });
}
t.done();
