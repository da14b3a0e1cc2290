// kelvaster-bench: ms per frame of drawing offscreen, stretch by stretch, on llvmpipe and on
// Mesa's do-nothing driver, with each run's peak RSS.
#include "platform/malloc_tuning.h"
#include "tools/bench/bench_options.h"
#include "tools/bench/report.h"
#include "tools/bench/self_process.h"
#include "tools/bench/stretches.h"
#include "tools/bench/time_stretch.h"

#include <cstdio>

namespace {

DriverRun runChild(const BenchOptions& o, const std::string& stretch, bool noop) {
    DriverRun run;
    run.ran = true;
    const ChildResult child = runSelf(childArguments(o, stretch), noop);
    run.ok = child.exited && child.status == 0 && parseResultLine(child.output, run.stats);
    run.peakRssKb = child.peakRssKb;
    run.pageFaults = child.pageFaults;
    if (!run.ok)
        std::fprintf(stderr, "kelvaster-bench: stretch %s on %s failed\n", stretch.c_str(),
                     noop ? "the noop driver" : "llvmpipe");
    return run;
}

std::string allocatorText(const BenchOptions& o) {
    if (!o.tuned) return "the C library's defaults";
    const AllocatorSettings& a = o.allocator;
    char text[160];
    std::snprintf(text, sizeof text, "trim threshold %d, top pad %d, mmap threshold %d bytes",
                  a.trimThreshold, a.topPad, a.mmapThreshold);
    return text;
}

} // namespace

int main(int argc, char** argv) {
    BenchOptions o;
    std::string error;
    if (!parseBenchOptions(argc, argv, o, &error)) {
        if (error.empty()) {
            std::fputs(benchUsage(), stdout);
            return 0;
        }
        std::fprintf(stderr, "kelvaster-bench: %s\n\n%s", error.c_str(), benchUsage());
        return 2;
    }
    if (o.tuned && !tuneAllocator(o.allocator))
        std::fprintf(stderr, "kelvaster-bench: the allocator refused these settings: %s\n",
                     allocatorText(o).c_str());
    if (!o.child.empty()) return timeStretch(*findStretch(o.child), o.frames);

    std::vector<Row> rows;
    bool allOk = true;
    for (const Stretch& s : kStretches) {
        bool wanted = o.stretches.empty();
        for (const std::string& name : o.stretches) wanted = wanted || name == s.name;
        if (!wanted) continue;
        Row row;
        row.stretch = s.name;
        if (o.llvmpipe) row.llvmpipe = runChild(o, s.name, false);
        if (o.noop) row.noop = runChild(o, s.name, true);
        allOk = allOk && (!o.llvmpipe || row.llvmpipe.ok) && (!o.noop || row.noop.ok);
        rows.push_back(row);
    }
    std::printf("%d frames a stretch at 60 fps; allocator: %s\n\n%s", o.frames,
                allocatorText(o).c_str(), markdownTable(rows).c_str());
    return allOk ? 0 : 1;
}
