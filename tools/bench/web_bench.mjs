// The web build's cost a frame over kelvaster-bench's five stretches, in headless Chromium.
// Each stretch runs twice on a fresh page, its module brought to the stretch's first frame as
// a still is: once on a do-nothing WebGL 2 stand-in (the browser's context with every draw,
// upload, copy, clear and read made a no-op), timing our code and the browser's state calls
// but no drawing, and counting draws and the bytes of vertices and indices sent; once on SwiftShader, each frame
// finished by a one-pixel read so the drawing is counted too.
//
//   node tools/bench/web_bench.mjs [build-web] [--frames N]
import { resolve } from "node:path";
import { openPage, serve, startBrowser } from "../../tests/web/harness.mjs";

// Names and first clocks as kelvaster-bench has them.
const STRETCHES = [
    ["1", 0.05],
    ["2", 0.2],
    ["3a", 0.45],
    ["3b", 0.75],
    ["4", 0.93],
];
const FPS = 60;

const args = process.argv.slice(2);
let frames = 120;
const framesAt = args.indexOf("--frames");
if (framesAt >= 0) {
    frames = Number(args[framesAt + 1]);
    args.splice(framesAt, 2);
    if (!(Number.isInteger(frames) && frames >= 1 && frames <= 360)) {
        console.log("--frames takes 1 to 360");
        process.exit(2);
    }
}
const site = resolve(args[0] || "build-web");

// Runs in the page: a second module on a fresh canvas, moved to frame `first` and then timed
// over `count` frames. With `noop` its context draws nothing and counts what it was sent.
async function measure([first, count, noop]) {
    const VERTEX_BUFFERS = [0x8892, 0x8893]; // vertices and their indices
    const canvas = document.createElement("canvas");
    document.getElementById("canvas").id = "page-canvas";
    canvas.id = "canvas";
    document.body.appendChild(canvas);
    const counts = { draws: 0, bytes: 0 };
    if (noop) {
        const real = canvas.getContext.bind(canvas);
        canvas.getContext = (kind, attributes) => {
            const gl = real(kind, attributes);
            if (!gl || gl.kvStandIn) return gl;
            gl.kvStandIn = true;
            const draw = () => ++counts.draws;
            for (const name of ["drawArrays", "drawElements", "drawArraysInstanced", "drawElementsInstanced"])
                gl[name] = draw;
            gl.bufferData = (target, data, usage, offset, length) => {
                if (!VERTEX_BUFFERS.includes(target)) return;
                counts.bytes += length !== undefined ? length : typeof data === "number" ? data : data.byteLength;
            };
            for (const name of ["bufferSubData", "texImage2D", "texSubImage2D", "copyTexImage2D",
                                "copyTexSubImage2D", "clear", "readPixels", "blitFramebuffer"])
                gl[name] = () => {};
            return gl;
        };
    }
    const module = await window.createKelvaster({ canvas });
    if (module.ccall("kv_init", "number", [], []) !== 0) throw new Error("kv_init failed");
    const frame = module.cwrap("kv_frame", "number", ["number", "number"]);
    const runUpTo = module.cwrap("kv_run_up_to", null, ["number", "number"]);
    const framePlayMs = module.cwrap("kv_frame_play_ms", "number", ["number"]);
    const totalMs = window.kvStill.totalMs;
    runUpTo(first, totalMs);
    const gl = canvas.getContext("webgl2");
    const pixel = new Uint8Array(4);
    gl.readPixels(0, 0, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, pixel);
    counts.draws = counts.bytes = 0;
    const ms = [];
    const start = performance.now();
    for (let k = first; k < first + count; ++k) {
        const before = performance.now();
        frame(framePlayMs(k), totalMs);
        if (!noop) gl.readPixels(0, 0, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, pixel);
        ms.push(performance.now() - before);
    }
    const seconds = (performance.now() - start) / 1000;
    ms.sort((a, b) => a - b);
    return {
        median: ms[Math.floor(ms.length / 2)],
        mean: ms.reduce((a, b) => a + b, 0) / ms.length,
        fps: count / seconds,
        draws: counts.draws / count,
        mb: counts.bytes / count / 1e6,
    };
}

const server = await serve(site);
const browser = await startBrowser();
const rows = [];
let failed = false;
try {
    for (const [name, clockAt] of STRETCHES) {
        const row = { name };
        for (const noop of [true, false]) {
            const page = await openPage(browser.context);
            try {
                await page.goto(`${server.url}index.html?clock=${clockAt}`);
                await page.waitForFunction(() => window.kvReady === true, null, { timeout: 120000 });
                const first = await page.evaluate(() => window.kvStill.frame);
                const result = await page.evaluate(measure, [first, frames, noop]);
                Object.assign(row, noop ? { noop: result } : { real: result });
            } catch (e) {
                console.error(`stretch ${name}${noop ? " (stand-in)" : ""}: ${e.message.split("\n")[0]}`);
                failed = true;
            }
            if (page.errors.length) console.error(`stretch ${name}: ${page.errors.join(" | ")}`);
            await page.close();
        }
        rows.push(row);
    }
} finally {
    await browser.close();
    await server.close();
}

const cell = (v, digits) => (v === undefined ? "-" : v.toFixed(digits));
console.log(`${frames} frames a stretch at ${FPS} fps in headless Chromium\n`);
console.log("| stretch | stand-in median ms | stand-in mean ms | draws a frame | vertex MB a frame | SwiftShader fps |");
console.log("|---|--:|--:|--:|--:|--:|");
for (const r of rows) {
    const n = r.noop || {};
    console.log(`| ${r.name} | ${cell(n.median, 1)} | ${cell(n.mean, 1)} | ${cell(n.draws, 0)} | ` +
                `${cell(n.mb, 2)} | ${cell(r.real && r.real.fps, 1)} |`);
}
// A row with a figure missing fails the run, so that ctest can take the status for the table.
const complete = rows.every((r) => r.noop && r.real && [r.noop.median, r.noop.mean, r.noop.draws, r.noop.mb, r.real.fps]
    .every(Number.isFinite));
process.exit(failed || !complete ? 1 : 0);
