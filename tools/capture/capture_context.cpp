#include "tools/capture/capture_context.h"

#include "tools/offscreen/data_checks.h"
#include "tools/capture/worker_messages.h"
#include "tools/capture/write_all.h"
#include "tools/offscreen/offscreen.h"

#include <cstdio>

namespace {
bool toParent = false;
} // namespace

void sendFailuresToParent() {
    toParent = true;
}

int reportFailure(const std::string& what) {
    if (!toParent) {
        std::fprintf(stderr, "kelvaster-capture: %s\n", what.c_str());
        return 1;
    }
    const std::string report = failedReport(what);
    writeAll(1, report.data(), report.size()); // a parent that is gone has no use for it
    return 1;
}

bool openShowGraphics() {
    std::string error;
    if (!offscreenOpen(&error)) {
        reportFailure("no offscreen OpenGL: " + error);
        return false;
    }
    if (!startShowGraphics(&error)) {
        reportFailure(error);
        return false;
    }
    return true;
}

void printTimes(const FrameTimes& f, const EncoderTimes& e, double wallSeconds, int workers) {
    if (workers > 1)
        std::fprintf(stderr, "where the time went, in ms per frame of one worker, %d at once:\n",
                     workers);
    else
        std::fprintf(stderr, "where the time went, in ms per frame:\n");
    std::fprintf(stderr, "  scene  frames  drawing  read-back%s     fps\n",
                 e.used ? "  encoder wait" : "");
    int64_t frames = 0;
    for (int s = 0; s < 5; ++s) {
        if (!f.frames[s]) continue;
        frames += f.frames[s];
        const double n = double(f.frames[s]);
        const double total = f.drawing[s] + f.readBack[s] + e.waiting[s];
        std::fprintf(stderr, "  %5d  %6lld  %7.1f  %9.1f", s, static_cast<long long>(f.frames[s]),
                     1000 * f.drawing[s] / n, 1000 * f.readBack[s] / n);
        if (e.used) std::fprintf(stderr, "  %12.1f", 1000 * e.waiting[s] / n);
        std::fprintf(stderr, "  %6.1f\n", n / total);
    }
    if (f.skippedFrames)
        std::fprintf(stderr, "  %lld frames drawn for their state only: %.1f ms each\n",
                     static_cast<long long>(f.skippedFrames),
                     1000 * f.skipped / double(f.skippedFrames));
    if (e.used && frames)
        std::fprintf(stderr, "  ffmpeg's own CPU time: %.1f ms per frame (beside the drawing)\n",
                     1000 * e.cpuSeconds / double(frames));
    // Frames drawn only for their state are each worker's own way to its stretches.
    const int64_t all = workers > 1 ? frames : frames + f.skippedFrames;
    std::fprintf(stderr, "  in all %.1f s for %lld frames: %.1f fps\n", wallSeconds,
                 static_cast<long long>(all), double(all) / wallSeconds);
}
