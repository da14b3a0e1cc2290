#include "tools/capture/capture_context.h"
#include "tools/capture/commands.h"
#include "tools/capture/pending_output.h"
#include "tools/capture/progress.h"
#include "tools/offscreen/show_run.h"
#include "tools/offscreen/wall_clock.h"

#include "show/show.h"
#include "tools/offscreen/offscreen.h"

#include <cstdio>

namespace {

// The moment a still shows and how many frames of the run come before it.
struct Moment {
    float t = 0;
    int64_t framesBefore = 0;
};

bool findMoment(const Options& o, const ShowTiming& show, Moment& m, std::string* error) {
    char range[160];
    switch (o.stillBy) {
    case StillBy::Frame:
        std::snprintf(range, sizeof range, "frames 0 to %lld", static_cast<long long>(show.last));
        if (o.frame > show.last) break;
        m.t = frameClock(o.frame, show.rate, show.totalMs);
        m.framesBefore = o.frame;
        return true;
    case StillBy::Seconds: {
        std::snprintf(range, sizeof range, "0 to %.3f s", show.seconds(show.last));
        uint32_t ms = 0;
        if (!secondsToPlayMs(o.at, ms) || ms > framePlayMs(show.last, show.rate)) break;
        m.t = showClock(ms, show.totalMs);
        m.framesBefore = firstFrameFrom(ms, show.rate);
        return true;
    }
    case StillBy::Clock: {
        const float end = frameClock(show.last, show.rate, show.totalMs);
        std::snprintf(range, sizeof range, "show clock 0 to %.6f", double(end));
        if (!(o.clock >= 0 && o.clock <= end)) break;
        m.t = o.clock;
        m.framesBefore = firstFrameAtClock(o.clock, show.rate, show.totalMs, show.last);
        return true;
    }
    case StillBy::None:
        break;
    }
    if (error) *error = std::string("that moment is outside the show (") + range + ")";
    return false;
}

} // namespace

int captureStill(const Options& o, const ShowTiming& show) {
    const double started = wallSeconds();
    std::string error;
    Moment moment;
    if (!findMoment(o, show, moment, &error)) return reportFailure(error);
    PendingOutput out;
    if (!openShowGraphics()) return 1;
    if (!out.create(o.output, &error)) return reportFailure(error);

    ShowRun run(show.rate, show.totalMs);
    Progress progress("still", moment.framesBefore + 1, !o.quiet && moment.framesBefore > 0);
    run.skipTo(moment.framesBefore, [&](int64_t k) { progress.update(k + 1); });
    std::vector<unsigned char> rgb;
    run.drawAt(moment.t, rgb);
    progress.finish();
    if (!writePng(out.tempPath(), kFrameWidth, kFrameHeight, rgb.data()))
        return reportFailure("cannot write " + o.output);
    if (!out.commit(&error)) return reportFailure(error);
    if (o.stats) printTimes(run.times(), EncoderTimes(), wallSeconds() - started);
    return 0;
}
