// Frames per second of the web build in headless Chromium, per scene: the module draws a run
// of 60 fps frames from each scene's window back to back, each finished by a one-pixel read
// so the GPU's work is counted too. A measurement, not a test.
//
//   node frames_rate.mjs <build-web> [frames per scene]
import { resolve } from "node:path";
import { openPage, serve, startBrowser } from "./harness.mjs";

const site = resolve(process.argv[2] || "build-web");
const perScene = Number(process.argv[3] || 120);
// Whole milliseconds of a 160 s piece at each scene's heart; the length comes from the page.
const scenes = [
    [1, 0.02, 0.09],
    [2, 0.12, 0.28],
    [3, 0.32, 0.88],
    [4, 0.9, 0.98],
];

const server = await serve(site);
const browser = await startBrowser();
try {
    const page = await openPage(browser.context);
    await page.goto(`${server.url}index.html?frame=0`);
    await page.waitForFunction(() => window.kvReady === true, null, { timeout: 120000 });
    // A second module on the same page's canvas would fight the first for the context: load
    // one of our own on a fresh canvas instead.
    const results = await page.evaluate(
        async ([scenesIn, count]) => {
            const canvas = document.createElement("canvas");
            canvas.id = "canvas";
            document.getElementById("canvas").id = "page-canvas";
            document.body.appendChild(canvas);
            const module = await window.createKelvaster({ canvas });
            if (module.ccall("kv_init", "number", [], []) !== 0) throw new Error("kv_init");
            const frame = module.cwrap("kv_frame", "number", ["number", "number"]);
            const gl = canvas.getContext("webgl2");
            const pixel = new Uint8Array(4);
            const totalMs = window.kvStill.totalMs;
            const out = [];
            for (const [scene, from, to] of scenesIn) {
                const first = from * totalMs, step = ((to - from) * totalMs) / count;
                frame(Math.floor(first), totalMs); // warm the scene's shaders and textures
                gl.readPixels(0, 0, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, pixel);
                const start = performance.now();
                for (let i = 0; i < count; ++i) {
                    frame(Math.floor(first + i * step), totalMs);
                    gl.readPixels(0, 0, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, pixel);
                }
                const seconds = (performance.now() - start) / 1000;
                out.push({ scene, fps: count / seconds });
            }
            return out;
        },
        [scenes, perScene],
    );
    for (const r of results) console.log(`scene ${r.scene}: ${r.fps.toFixed(1)} frames/s`);
    if (page.errors.length) console.log("console errors: " + page.errors.join(" | "));
} finally {
    await browser.close();
    await server.close();
}
