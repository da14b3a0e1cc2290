// The web build in Firefox (Debian's firefox-esr with its own window on the X server the test
// runs under, driven over WebDriver BiDi): the picture at common window sizes, the start where
// no sound can be had (here there is no sound server, as on a machine with no output device),
// and frames against the native renderer's by PSNR.
//
//   xvfb-run -a node firefox_test.mjs <build-web> <native build dir> <work dir>
//
// KV_FIREFOX names another Firefox.
import { spawnSync } from "node:child_process";
import { existsSync, mkdirSync } from "node:fs";
import { createRequire } from "node:module";
import { join, resolve } from "node:path";
import { Checks, checkFit, FRAME_CLOCKS, measureFit, minDb, serve, SKIP, WINDOWS } from "./harness.mjs";

const [site, native, work] = process.argv.slice(2, 5).map((d) => d && resolve(d));
if (!site || !native || !work) {
    console.log("usage: xvfb-run -a node firefox_test.mjs <build-web> <native build dir> <work dir>");
    process.exit(2);
}
const executablePath = process.env.KV_FIREFOX || "/usr/bin/firefox-esr";
if (!existsSync(executablePath) || !process.env.DISPLAY) {
    console.log(`SKIP: needs ${executablePath} and an X server (xvfb-run -a)`);
    process.exit(SKIP);
}
mkdirSync(work, { recursive: true });
const run = (cmd, args) => spawnSync(cmd, args, { encoding: "utf8" });

const puppeteer = createRequire(import.meta.url)("puppeteer-core");
let browser;
try {
    browser = await puppeteer.launch({ browser: "firefox", executablePath, headless: false,
                                       protocol: "webDriverBiDi", timeout: 60000 });
} catch (e) {
    console.log(`SKIP: ${executablePath} cannot start here: ${e.message.split("\n")[0]}`);
    process.exit(SKIP);
}
const server = await serve(site);
const t = new Checks();

async function open(path) {
    const page = await browser.newPage();
    page.errors = [];
    page.on("pageerror", (e) => page.errors.push(String(e)));
    page.on("console", (m) => m.type() === "error" && page.errors.push(m.text()));
    await page.goto(server.url + path);
    return page;
}

try {
    const page = await open("");
    for (const w of WINDOWS) {
        await page.setViewport({ width: w.width, height: w.height });
        await page.goto(server.url);
        await page.waitForFunction(() => window.kvShow.phase === "title", { timeout: 60000 });
        checkFit(t, w, await page.evaluate(measureFit));
    }

    // The click: "starting…", then the show on time whether or not sound runs.
    await page.setViewport({ width: 1024, height: 768 });
    await page.click("#stage");
    const status = await page.evaluate(() => document.getElementById("status").textContent);
    const started = await page.waitForFunction(() => window.kvShow.frames > 0, { timeout: 10000 }).then(() => true, () => false);
    t.check(started, "a click starts the show", `said "${status}" first`);
    const a = await page.evaluate(() => ({ ms: window.kvShow.playMs, at: performance.now() }));
    await new Promise((r) => setTimeout(r, 1500));
    const b = await page.evaluate(() => ({ ms: window.kvShow.playMs, at: performance.now(), audio: window.kvShow.audioState,
                                           notice: document.getElementById("notice").textContent }));
    const drift = b.ms - a.ms - (b.at - a.at);
    t.check(Math.abs(drift) < 150 && (b.audio === "running" || /^No sound: /.test(b.notice)),
            "the show runs on time, with sound or with a notice", `${a.ms} -> ${b.ms} ms in ${(b.at - a.at).toFixed(0)} ms; ` +
            `audio ${b.audio}; ${b.notice || "no notice"}`);
    await page.keyboard.press("Escape");
    t.check(await page.evaluate(() => window.kvShow.phase === "ended"), "Escape ends it");
    t.check(page.errors.length === 0, "no console errors", page.errors.join(" | "));
    await page.close();

    for (const clock of FRAME_CLOCKS) {
        const shot = join(work, `firefox-${clock}.png`);
        const frame = await open(`index.html?clock=${clock}`);
        const ready = await frame.waitForFunction(() => window.kvReady === true, { timeout: 120000 }).then(() => true, () => false);
        const k = ready ? await frame.evaluate(() => window.kvStill.frame) : -1;
        if (ready) await (await frame.$("#canvas")).screenshot({ path: shot });
        await frame.close();
        if (!t.check(ready, `t=${clock}: the page drew frame ${k}`)) continue;
        const ref = join(work, `native-${clock}.png`);
        const still = run(join(native, "kelvaster-capture"), ["still", "--quiet", "--frame", String(k), ref]);
        if (!t.check(still.status === 0, `native frame ${k}`, still.stderr.trim())) continue;
        const cmp = run(join(native, "kelvaster-psnr"), [ref, shot, String(minDb(clock))]);
        t.check(cmp.status === 0, `t=${clock} (frame ${k}): ${cmp.stdout.trim()} dB`, cmp.stderr.trim());
    }
} finally {
    await browser.close();
    await server.close();
}
t.done();
