#include "tools/capture/capture_context.h"
#include "tools/offscreen/data_checks.h"
#include "tools/capture/encoder.h"
#include "tools/capture/parallel_capture.h"
#include "tools/capture/pending_output.h"
#include "tools/offscreen/show_run.h"
#include "tools/offscreen/wall_clock.h"
#include "tools/capture/worker_messages.h"
#include "tools/capture/write_all.h"

#include "show/show.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

// The parent reads these; a worker whose parent is gone has no one to draw for.
bool tell(const std::string& message) {
    return writeAll(1, message.data(), message.size());
}

// The next line on stdin; false at its end or on a read error (error set).
bool nextLine(LineBuffer& lines, std::string& line, std::string* error) {
    char bytes[4096];
    while (!lines.next(line)) {
        if (lines.bad()) {
            *error = "a worker was sent a line too long to be a stretch";
            return false;
        }
        const ssize_t n = read(0, bytes, sizeof bytes);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) *error = std::string("a worker cannot read its stretches: ") + strerror(errno);
        if (n <= 0) return false;
        lines.add(bytes, size_t(n));
    }
    return true;
}

} // namespace

int runCaptureWorker(const Options& o, const ShowTiming& show, const std::string& ffmpeg) {
    // Ends with the parent, taking its ffmpeg and its unfinished part with it.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() == 1) return reportFailure("a worker has no parent capture");
    if (!openShowGraphics()) return 1;
    ShowRun run(show.rate, show.totalMs);
    EncoderTimes encoderTimes;
    encoderTimes.used = true;
    std::vector<unsigned char> rgb;
    LineBuffer lines;
    std::string line, error;
    while (nextLine(lines, line, &error)) {
        Stretch s;
        if (!parseStretchMessage(line, s) || s.first < run.next() || s.end > show.last + 1)
            return reportFailure("a worker was sent no stretch it can draw: \"" + line + "\"");
        PendingOutput part;
        if (!part.create(s.path, &error)) return reportFailure(error);
        EncoderSettings settings;
        settings.rate = show.rate;
        settings.lossless = o.lossless;
        settings.preset = o.preset;
        settings.part = true;
        settings.output = part.tempPath();
        Encoder encoder;
        if (!encoder.start(ffmpeg, settings, &error)) return reportFailure(error);
        run.skipTo(s.first, [](int64_t) {});
        for (int64_t k = s.first; k < s.end; ++k) {
            run.drawFrame(k, rgb);
            const double sent = wallSeconds();
            if (!encoder.write(rgb, &error)) return reportFailure(error);
            encoderTimes.waiting[sceneFor(frameClock(k, show.rate, show.totalMs))] +=
                wallSeconds() - sent;
            if (!tell(frameReport())) return 1;
        }
        const double flushed = wallSeconds();
        if (!encoder.finish(&error)) return reportFailure(error);
        encoderTimes.waiting[sceneFor(frameClock(s.end - 1, show.rate, show.totalMs))] +=
            wallSeconds() - flushed;
        encoderTimes.cpuSeconds += encoder.cpuSeconds();
        if (!part.commit(&error)) return reportFailure(error);
        if (!tell(doneReport(s.index))) return 1;
    }
    if (!error.empty()) return reportFailure(error);
    return tell(timesReport(run.times(), encoderTimes)) ? 0 : 1;
}
