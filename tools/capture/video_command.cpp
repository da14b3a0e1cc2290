#include "tools/capture/capture_context.h"
#include "tools/capture/commands.h"
#include "tools/offscreen/data_checks.h"
#include "tools/capture/encoder.h"
#include "tools/capture/music_stretch.h"
#include "tools/capture/parallel_capture.h"
#include "tools/capture/pending_output.h"
#include "tools/capture/progress.h"
#include "tools/offscreen/show_run.h"
#include "tools/capture/stretch_plan.h"
#include "tools/offscreen/wall_clock.h"

#include "show/show.h"

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace {

std::string secondsText(double s) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f s", s);
    return text;
}

} // namespace

int captureVideo(const Options& o, const ShowTiming& show, const std::string& ffmpeg) {
    if (o.worker) return runCaptureWorker(o, show, ffmpeg);
    const double started = wallSeconds();
    uint32_t fromMs = 0;
    secondsToPlayMs(o.from, fromMs);
    const int64_t first = firstFrameFrom(fromMs, show.rate);
    if (first > show.last)
        return reportFailure("--from " + secondsText(o.from) +
                             " is outside the show, which ends at " +
                             secondsText(show.seconds(show.last)));
    int64_t end = show.last + 1;
    if (o.to >= 0) {
        uint32_t toMs = 0;
        if (secondsToPlayMs(o.to, toMs)) end = std::min(end, firstFrameFrom(toMs, show.rate));
    }
    if (end <= first) return reportFailure("no frame lies between --from and --to");
    const int jobs = o.jobs > 0 ? o.jobs : defaultJobs(sysconf(_SC_NPROCESSORS_ONLN));
    if (jobs > 1 && planStretches(first, end, jobs, show.rate).size() > 1)
        return captureInParallel(o, show, ffmpeg, first, end, jobs);

    std::string error;
    PendingOutput out;
    if (!openShowGraphics()) return 1;
    if (!out.create(o.output, &error)) return reportFailure(error);

    const double duration = show.seconds(end) - show.seconds(first);
    MusicStretch music;
    if (!music.decode(data_files::kMusic, show.seconds(first), duration, &error))
        return reportFailure(error);
    EncoderSettings settings;
    settings.rate = show.rate;
    settings.music = &music;
    settings.lossless = o.lossless;
    settings.preset = o.preset;
    settings.output = out.tempPath();
    Encoder encoder;
    if (!encoder.start(ffmpeg, settings, &error)) return reportFailure(error);

    ShowRun run(show.rate, show.totalMs);
    Progress progress("video", end, !o.quiet);
    run.skipTo(first, [&](int64_t k) { progress.update(k + 1); });
    EncoderTimes encoderTimes;
    encoderTimes.used = true;
    std::vector<unsigned char> rgb;
    for (int64_t k = first; k < end; ++k) {
        run.drawFrame(k, rgb);
        const double sent = wallSeconds();
        if (!encoder.write(rgb, &error)) return reportFailure(error);
        encoderTimes.waiting[sceneFor(frameClock(k, show.rate, show.totalMs))] +=
            wallSeconds() - sent;
        progress.update(k + 1);
    }
    progress.finish();
    const double flushed = wallSeconds();
    if (!encoder.finish(&error)) return reportFailure(error);
    // What ffmpeg still had to encode after the last frame went in counts as waiting too.
    encoderTimes.waiting[sceneFor(frameClock(end - 1, show.rate, show.totalMs))] +=
        wallSeconds() - flushed;
    encoderTimes.cpuSeconds = encoder.cpuSeconds();
    if (!out.commit(&error)) return reportFailure(error);
    if (o.stats) printTimes(run.times(), encoderTimes, wallSeconds() - started);
    if (!o.quiet)
        std::fprintf(stderr, "wrote %s: frames %lld to %lld, %s at %lld/%lld fps\n",
                     o.output.c_str(), static_cast<long long>(first),
                     static_cast<long long>(end - 1), secondsText(duration).c_str(),
                     static_cast<long long>(show.rate.num), static_cast<long long>(show.rate.den));
    return 0;
}
