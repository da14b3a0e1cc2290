// What the browser tests share: a static file server on localhost, headless Chromium from
// Debian (software WebGL), console errors gathered, and the skip status for ctest.
import { execFileSync } from "node:child_process";
import { createServer } from "node:http";
import { copyFileSync, mkdirSync, mkdtempSync, readdirSync, readFileSync, rmSync, statSync } from "node:fs";
import { tmpdir } from "node:os";
import { dirname, extname, join, normalize, sep } from "node:path";
import { createRequire } from "node:module";
import { fileURLToPath } from "node:url";

let chromium;
try {
    ({ chromium } = createRequire(import.meta.url)("playwright-core"));
} catch (e) {
    console.log("FAIL playwright-core is not installed: run `npm ci` in tests/web");
    process.exit(1);
}

// ctest's SKIP_RETURN_CODE: only for a browser that cannot start on this machine.
export const SKIP = 77;

const TYPES = {
    ".html": "text/html",
    ".js": "text/javascript",
    ".mjs": "text/javascript",
    ".css": "text/css",
    ".wasm": "application/wasm",
    ".data": "application/octet-stream",
    ".ogg": "audio/ogg",
};

// The page's files beside the stand-in module and a four-second tone as the music, in a
// fresh folder: { site, totalMs }.
export function standinSite() {
    const here = dirname(fileURLToPath(import.meta.url));
    const web = join(here, "../../web");
    const site = mkdtempSync(join(tmpdir(), "kv-page-"));
    for (const f of readdirSync(web).filter((f) => /\.(html|js|css)$/.test(f))) copyFileSync(join(web, f), join(site, f));
    copyFileSync(join(here, "standin/kelvaster.js"), join(site, "kelvaster.js"));
    mkdirSync(join(site, "Data"));
    const wav = join(site, "tone.wav");
    execFileSync("sox", ["-n", "-r", "44100", "-c", "2", "-b", "16", wav, "synth", "4", "sine", "440", "vol", "0.1"]);
    execFileSync("oggenc", ["-Q", "-o", join(site, "Data/tech.ogg"), wav]);
    return { site, totalMs: 4000 };
}

// Serves dir read-only on 127.0.0.1 at a free port; resolves to { url, close }.
export function serve(dir) {
    const root = normalize(dir + sep);
    const server = createServer((req, res) => {
        const path = normalize(join(root, decodeURIComponent(new URL(req.url, "http://x").pathname)));
        let file = path;
        try {
            if (!path.startsWith(root)) throw new Error("outside");
            if (statSync(file).isDirectory()) file = join(file, "index.html");
            const body = readFileSync(file);
            res.writeHead(200, { "Content-Type": TYPES[extname(file)] || "application/octet-stream" });
            res.end(body);
        } catch (e) {
            res.writeHead(404);
            res.end();
        }
    });
    return new Promise((resolve) => {
        server.listen(0, "127.0.0.1", () => {
            resolve({
                url: `http://127.0.0.1:${server.address().port}/`,
                close: () => new Promise((done) => server.close(done)),
            });
        });
    });
}

const FLAGS = [
    "--headless",
    "--no-sandbox",
    "--use-angle=swiftshader",
    "--enable-unsafe-swiftshader",
    "--disable-background-networking",
    "--disable-component-update",
    "--disable-sync",
    "--no-first-run",
];

// Starts Chromium with a fresh profile; exits with SKIP, saying why, if it cannot start.
export async function startBrowser() {
    const executablePath = process.env.KV_CHROMIUM || "/usr/bin/chromium";
    const profile = mkdtempSync(join(tmpdir(), "kv-chromium-"));
    let context;
    try {
        context = await chromium.launchPersistentContext(profile, {
            executablePath,
            headless: true,
            args: FLAGS,
            ignoreDefaultArgs: ["--mute-audio"],
            viewport: { width: 1024, height: 768 },
            timeout: 60000,
        });
    } catch (e) {
        rmSync(profile, { recursive: true, force: true });
        console.log(`SKIP: the browser ${executablePath} cannot start here: ${e.message.split("\n")[0]}`);
        process.exit(SKIP);
    }
    const close = async () => {
        await context.close();
        rmSync(profile, { recursive: true, force: true });
    };
    return { context, close };
}

// Opens a page that records every console error and uncaught exception into page.errors.
export async function openPage(context) {
    const page = await context.newPage();
    page.errors = [];
    page.on("console", (m) => {
        if (m.type() === "error") page.errors.push(m.text());
    });
    page.on("pageerror", (e) => page.errors.push(String(e)));
    return page;
}

// Collects failed checks and prints them; the process fails if any did.
export class Checks {
    constructor() {
        this.failed = 0;
    }
    check(ok, what, detail = "") {
        console.log(`${ok ? "ok  " : "FAIL"} ${what}${detail ? ": " + detail : ""}`);
        if (!ok) ++this.failed;
        return ok;
    }
    done() {
        console.log(this.failed ? `${this.failed} check(s) failed` : "all checks passed");
        process.exit(this.failed ? 1 : 0);
    }
}

// Pairs of (the page's play position, the audio context's time) sampled over a while.
export async function sampleClock(page, seconds, everyMs = 250) {
    const samples = [];
    const until = Date.now() + seconds * 1000;
    while (Date.now() < until) {
        samples.push(await page.evaluate(() => ({ ...window.kvShow })));
        await page.waitForTimeout(everyMs);
    }
    return samples;
}

// Window sizes people have: a 1280 x 720 screen's browser, 1366 x 768's, a small window, a
// phone; and one where the picture is exactly twice its size.
export const WINDOWS = [
    { width: 1280, height: 590, whole: false },
    { width: 1366, height: 657, whole: false },
    { width: 700, height: 500, whole: false },
    { width: 390, height: 844, whole: false },
    { width: 1600, height: 1400, whole: true },
];

// Runs in the page: where the stage, the keys and the button are, and how the canvas is drawn.
export function measureFit() {
    const box = (id) => document.getElementById(id).getBoundingClientRect().toJSON();
    const canvas = document.getElementById("canvas");
    return { stage: box("stage"), keys: box("keys"), button: box("fullscreen"),
             scroll: document.scrollingElement.scrollHeight, fit: getComputedStyle(canvas).objectFit,
             whole: canvas.classList.contains("whole") };
}

// The picture is contained in the stage, the stage is the window less the keys' line, and the
// keys and the button are in view with nothing to scroll.
export function checkFit(t, w, m) {
    const size = `${w.width} x ${w.height}`;
    const picture = Math.min(m.stage.width, (m.stage.height * 4) / 3);
    const inView = (r) => r.left >= 0 && r.top >= 0 && r.right <= w.width && r.bottom <= w.height;
    const largest = m.fit === "contain" && m.stage.top === 0 && m.stage.width === w.width &&
                    m.stage.bottom <= m.keys.top && w.height - m.stage.bottom <= m.keys.height + 24;
    t.check(largest && inView(m.stage), `${size}: the picture is the largest 4:3 area`,
            `${picture.toFixed(0)} x ${(picture * 0.75).toFixed(0)} in ${JSON.stringify(m.stage)}`);
    t.check(inView(m.keys) && inView(m.button) && m.scroll <= w.height, `${size}: keys and button in view, no scrolling`,
            JSON.stringify({ keys: m.keys, button: m.button, scroll: m.scroll }));
    t.check(m.whole === w.whole, `${size}: ${w.whole ? "unsmoothed at a whole scale" : "smoothed"}`);
}

// The least PSNR a frame must reach in either browser, by scene from about where each begins
// (FRAME_CLOCKS keep well away from the cuts). Scene one's outlines fight their faces at equal
// depth: a quad split other than the native one costs it 8 dB.
export const MIN_DB = [[0, 41], [0.1, 41], [0.3, 39], [0.9, 50]];
export const minDb = (t) => MIN_DB.filter(([from]) => t >= from).pop()[1];
// The frame tests' moments: scenes start at 0.100144, 0.299523 and 0.899144.
export const FRAME_CLOCKS = [0.02, 0.05, 0.09, 0.15, 0.25, 0.35, 0.5, 0.65, 0.8, 0.93, 0.98];

export const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
