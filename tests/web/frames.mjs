// Draws show frames in headless Chromium (SwiftShader WebGL) and compares each with the native
// offscreen renderer's frame at the same moment of a 60 fps run, by PSNR.
//
//   node frames.mjs <build-web> <native build dir> <work dir> [clock ...]
//
// Exit status: 0 all frames agree, 1 a frame does not, 77 the browser cannot start here.
import { spawnSync } from 'node:child_process';
import { createServer } from 'node:http';
import { mkdtempSync, readFileSync, rmSync, writeFileSync, existsSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { extname, join, normalize, resolve } from 'node:path';
import { createRequire } from 'node:module';

const SKIP = 77;
const MIN_DB = 30;
const FPS = 60;
const [webArg, nativeArg, workArg, ...clockArgs] = process.argv.slice(2);
const [webDir, nativeDir, workDir] = [webArg, nativeArg, workArg].map((d) => d && resolve(d));
if (!webDir || !nativeDir || !workDir) {
  console.error('usage: node frames.mjs <build-web> <native build dir> <work dir> [clock ...]');
  process.exit(2);
}
// Across all four scenes: 0.100144, 0.299523 and 0.899144 start scenes two to four.
const clocks = clockArgs.length
  ? clockArgs.map(Number)
  : [0.02, 0.05, 0.09, 0.15, 0.25, 0.35, 0.5, 0.65, 0.8, 0.93, 0.98];

const require = createRequire(import.meta.url);
let chromium;
try {
  ({ chromium } = require('playwright-core'));
} catch (e) {
  console.error('frames: playwright-core is not installed (npm ci in tests/web):', e.message);
  process.exit(1);
}

// The music's length in milliseconds, as the sound engine counts it, from the native tool.
function musicMs() {
  const out = spawnSync('soxi', ['-s', join(nativeDir, 'Data/tech.ogg')], { encoding: 'utf8' });
  const rate = spawnSync('soxi', ['-r', join(nativeDir, 'Data/tech.ogg')], { encoding: 'utf8' });
  if (out.status !== 0 || rate.status !== 0) throw new Error('soxi cannot read Data/tech.ogg');
  return Math.floor((Number(out.stdout) * 1000) / Number(rate.stdout));
}

const frameMs = (k) => Math.floor((k * 1000) / FPS);
const frameClock = (k, totalMs) => Math.fround(frameMs(k) / totalMs);
function firstFrameAtClock(t, totalMs) {
  let k = Math.max(0, Math.floor(((t * totalMs) / 1000) * FPS) - 2);
  while (frameClock(k, totalMs) < Math.fround(t)) ++k;
  return k;
}

// A page of our own that draws frame k as a run would: every earlier frame only advances the
// carried state, the one just before is drawn whole, then frame k.
const HARNESS = `<!doctype html><html><body style="margin:0;background:#000">
<canvas id="canvas" width="800" height="600"></canvas>
<script src="kelvaster.js"></script>
<script>
window.kvReady = createKelvaster({ canvas: document.getElementById('canvas') }).then((m) => {
  if (m.ccall('kv_init', 'number', [], []) !== 0) throw new Error('kv_init failed');
  window.kv = m;
  return true;
});
window.kvDrawFrame = (k, totalMs, fps) => {
  const ms = (i) => Math.floor((i * 1000) / fps);
  const m = window.kv;
  m.ccall('kv_reset', null, [], []);
  for (let i = 0; i + 1 < k; ++i) m.ccall('kv_advance', null, ['number', 'number'], [ms(i), totalMs]);
  if (k > 0) m.ccall('kv_frame', 'number', ['number', 'number'], [ms(k - 1), totalMs]);
  return m.ccall('kv_frame', 'number', ['number', 'number'], [ms(k), totalMs]);
};
</script></body></html>`;

const TYPES = { '.js': 'text/javascript', '.wasm': 'application/wasm', '.html': 'text/html' };
function serve(root) {
  const server = createServer((req, res) => {
    const path = decodeURIComponent(new URL(req.url, 'http://x').pathname);
    if (path === '/__frames.html') {
      res.writeHead(200, { 'Content-Type': 'text/html' });
      return res.end(HARNESS);
    }
    const file = normalize(join(root, path));
    if (!file.startsWith(resolve(root)) || !existsSync(file)) {
      res.writeHead(404);
      return res.end();
    }
    res.writeHead(200, { 'Content-Type': TYPES[extname(file)] || 'application/octet-stream' });
    res.end(readFileSync(file));
  });
  return new Promise((ok) => server.listen(0, '127.0.0.1', () => ok(server)));
}

async function main() {
  const totalMs = musicMs();
  const profile = mkdtempSync(join(tmpdir(), 'kv-chromium-'));
  let browser;
  try {
    // A fresh profile each run (Playwright passes it as --user-data-dir).
    browser = await chromium.launchPersistentContext(profile, {
      executablePath: '/usr/bin/chromium',
      headless: true,
      viewport: { width: 800, height: 600 },
      args: ['--headless', '--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
        '--disable-background-networking', '--disable-component-update', '--disable-sync',
        '--no-first-run'],
    });
  } catch (e) {
    console.log(`SKIP: Chromium cannot start here: ${e.message.split('\n')[0]}`);
    rmSync(profile, { recursive: true, force: true });
    return SKIP;
  }
  const server = await serve(resolve(webDir));
  let failed = 0;
  try {
    const page = await browser.newPage();
    const errors = [];
    page.on('console', (m) => { if (m.type() === 'error') errors.push(m.text()); });
    page.on('pageerror', (e) => errors.push(String(e)));
    await page.goto(`http://127.0.0.1:${server.address().port}/__frames.html`);
    await page.evaluate(() => window.kvReady);
    const canvas = page.locator('#canvas');
    for (const t of clocks) {
      const k = firstFrameAtClock(t, totalMs);
      const ref = join(workDir, `native-${t}.png`);
      const web = join(workDir, `web-${t}.png`);
      const still = spawnSync(join(nativeDir, 'kelvaster-capture'),
        ['still', '--quiet', '--frame', String(k), ref], { cwd: nativeDir, encoding: 'utf8' });
      if (still.status !== 0) throw new Error(`native still ${k}: ${still.stderr}`);
      await page.evaluate(([kk, ms]) => window.kvDrawFrame(kk, ms, 60), [k, totalMs]);
      writeFileSync(web, await canvas.screenshot());
      const cmp = spawnSync(join(nativeDir, 'kelvaster-psnr'), [ref, web, String(MIN_DB)],
        { encoding: 'utf8' });
      const db = cmp.stdout.trim();
      console.log(`t=${t} frame ${k}: ${db} dB${cmp.status === 0 ? '' : '  FAIL ' + cmp.stderr.trim()}`);
      if (cmp.status !== 0) ++failed;
    }
    if (errors.length) {
      console.log(`console errors:\n  ${errors.join('\n  ')}`);
      ++failed;
    }
  } finally {
    server.close();
    await browser.close();
    rmSync(profile, { recursive: true, force: true });
  }
  return failed ? 1 : 0;
}

main().then((code) => process.exit(code), (e) => { console.error(e); process.exit(1); });
