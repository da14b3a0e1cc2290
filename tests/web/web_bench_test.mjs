// The web benchmark's table is complete: a row for each of the five stretches, every figure
// a number. A short run: what the figures are is the benchmark's business, not a test's.
//
//   node web_bench_test.mjs <build-web>
import { spawnSync } from "node:child_process";
import { dirname, join } from "node:path";
import { fileURLToPath } from "node:url";
import { Checks, SKIP } from "./harness.mjs";

const here = dirname(fileURLToPath(import.meta.url));
const run = spawnSync(process.execPath, [join(here, "../../tools/bench/web_bench.mjs"), process.argv[2], "--frames", "3"],
                      { encoding: "utf8", timeout: 540000 });
if (run.status === SKIP) {
    console.log(run.stdout.trim());
    process.exit(SKIP);
}
const t = new Checks();
t.check(run.status === 0, "the benchmark ran", (run.stderr || "").trim());
const rows = new Map();
for (const line of run.stdout.split("\n")) {
    const cells = line.split("|").slice(1, -1).map((c) => c.trim());
    if (cells.length === 6) rows.set(cells[0], cells.slice(1));
}
for (const name of ["1", "2", "3a", "3b", "4"]) {
    const cells = rows.get(name);
    t.check(cells !== undefined && cells.every((c) => Number.isFinite(Number(c)) && c !== ""),
            `stretch ${name} has every figure`, cells ? cells.join(" | ") : "no row");
}
t.done();
