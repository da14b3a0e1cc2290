// The web build's frames against the native offscreen renderer's: for moments across all four
// scenes, the page's test-only still (?clock=t: the first frame K of a 60 fps run at or past t,
// what the scenes carry from frame to frame moved on as a run moves it) is compared with
// `kelvaster-capture still --frame K` by PSNR; each must reach its scene's least, be more
// than one flat colour and sit in place. The page's reading of the music's length must be the native one's.
//
//   node frames.mjs <build-web> <native build dir> <work dir> [clock ...]
//
// KV_MUSIC_LENGTH names the native engine's music-length tool.
import { spawnSync } from "node:child_process";
import { existsSync, mkdirSync, writeFileSync } from "node:fs";
import { join, resolve } from "node:path";
import { Checks, FRAME_CLOCKS, minDb, openPage, serve, startBrowser } from "./harness.mjs";

const [site, native, work] = process.argv.slice(2, 5).map((d) => d && resolve(d));
if (!site || !native || !work) {
    console.log("usage: node frames.mjs <build-web> <native build dir> <work dir> [clock ...]");
    process.exit(2);
}
const clocks = process.argv.length > 5 ? process.argv.slice(5).map(Number) : FRAME_CLOCKS;

for (const f of ["index.html", "kelvaster.js", "kelvaster.wasm", "kelvaster.data", "Data/tech.ogg"]) {
    if (!existsSync(join(site, f))) {
        console.log(`FAIL ${site}/${f} is missing: build it with web/build.sh`);
        process.exit(1);
    }
}
for (const tool of ["kelvaster-capture", "kelvaster-psnr"]) {
    if (!existsSync(join(native, tool))) {
        console.log(`FAIL ${native}/${tool} is missing: build the native tools first`);
        process.exit(1);
    }
}
mkdirSync(work, { recursive: true });

function run(cmd, args, options = {}) {
    const r = spawnSync(cmd, args, { encoding: "utf8", ...options });
    if (r.error) throw r.error;
    return r;
}

const lengthTool = process.env.KV_MUSIC_LENGTH;
const measured = lengthTool && run(lengthTool, [join(native, "Data/tech.ogg")]);
if (!measured || measured.status !== 0) {
    console.log("FAIL KV_MUSIC_LENGTH must name the music-length tool: " + (measured ? measured.stderr : "unset"));
    process.exit(1);
}
const totalMs = Number(measured.stdout);


const server = await serve(site);
const browser = await startBrowser();
const checks = new Checks();
try {
    for (const t of clocks) {
        const page = await openPage(browser.context);
        await page.goto(`${server.url}index.html?clock=${t}`);
        const ready = await page
            .waitForFunction(() => window.kvReady === true, null, { timeout: 120000 })
            .then(() => true, () => false);
        const web = join(work, `web-${t}.png`);
        const drawn = ready ? await page.evaluate(() => window.kvStill) : {};
        if (ready) writeFileSync(web, await page.locator("#canvas").screenshot());
        checks.check(page.errors.length === 0, `t=${t}: no console errors`, page.errors.join(" | "));
        await page.close();
        if (!checks.check(ready, `t=${t}: the page drew its still`)) continue;
        if (t === clocks[0])
            checks.check(drawn.totalMs === totalMs, "the page reads the music's length as the engine does",
                         `${drawn.totalMs} ms, native ${totalMs} ms`);

        const k = drawn.frame;
        const ref = join(work, `native-${t}.png`);
        const still = run(join(native, "kelvaster-capture"), ["still", "--quiet", "--frame", String(k), ref]);
        if (!checks.check(still.status === 0, `native frame ${k}`, still.stderr.trim())) continue;
        const cmp = run(join(native, "kelvaster-psnr"), [ref, web, String(minDb(t))]);
        checks.check(cmp.status === 0, `t=${t} (frame ${k}): ${cmp.stdout.trim()} dB`, cmp.stderr.trim());
    }
} finally {
    await browser.close();
    await server.close();
}
checks.done();
