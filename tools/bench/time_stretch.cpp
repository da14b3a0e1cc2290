#include "tools/bench/time_stretch.h"

#include "gfx/gl.h"
#include "show/graphics.h"
#include "show/show.h"
#include "tools/bench/report.h"
#include "tools/offscreen/data_checks.h"
#include "tools/offscreen/music_length.h"
#include "tools/offscreen/show_run.h"
#include "tools/offscreen/wall_clock.h"
#include "tools/offscreen/offscreen.h"

#include <cstdio>
#include <vector>

namespace {

int fail(const std::string& what) {
    std::fprintf(stderr, "kelvaster-bench: %s\n", what.c_str());
    return 1;
}

} // namespace

int timeStretch(const Stretch& stretch, int frames) {
    enterDataFolder();
    std::string error;
    double totalMs = 0;
    int64_t first = 0;
    if (!checkDataFiles(&error) || !musicLengthMs(data_files::kMusic, totalMs, &error) ||
        !stretchFirstFrame(stretch, frames, totalMs, first, &error))
        return fail(error);
    if (!offscreenOpen(&error)) return fail("no offscreen OpenGL: " + error);
    if (!startShowGraphics(&error)) return fail(error);

    // The carried state stands where a run at 60 fps leaves it, as it does for a still.
    ShowRun run(kBenchRate, totalMs);
    run.skipTo(first, [](int64_t) {});
    std::vector<double> ms(size_t(frames), 0.0);
    for (int i = 0; i < frames; ++i) {
        const float t = frameClock(first + i, kBenchRate, totalMs);
        const double start = wallSeconds();
        drawShow(t);
        glFinish();
        ms[size_t(i)] = 1000 * (wallSeconds() - start);
    }
    std::printf("%s\n", resultLine(summarise(ms)).c_str());
    return 0;
}
