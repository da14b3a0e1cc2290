#include "tools/capture/capture_context.h"
#include "tools/capture/commands.h"
#include "tools/capture/contact_sheet.h"
#include "tools/capture/pending_output.h"
#include "tools/capture/progress.h"
#include "tools/offscreen/show_run.h"
#include "tools/offscreen/wall_clock.h"

#include "show/show.h"
#include "tools/offscreen/offscreen.h"

#include <algorithm>

int captureSheet(const Options& o, const ShowTiming& show) {
    const double started = wallSeconds();
    if (o.count > show.last + 1)
        return reportFailure("the show has only " + std::to_string(show.last + 1) +
                             " frames at this rate; ask for fewer with --count");
    std::string error;
    PendingOutput out;
    if (!openShowGraphics()) return 1;
    if (!out.create(o.output, &error)) return reportFailure(error);

    const std::vector<int64_t> frames = spreadFrames(o.count, show.last);
    ContactSheet sheet(o.count, std::min(o.columns, o.count), kFrameWidth / o.scale,
                       kFrameHeight / o.scale);
    ShowRun run(show.rate, show.totalMs);
    // Every frame of the show is drawn, the ones between the sheet's only for their state.
    Progress progress("sheet", show.last + 1, !o.quiet);
    RgbImage frame;
    frame.width = kFrameWidth;
    frame.height = kFrameHeight;
    for (size_t i = 0; i < frames.size(); ++i) {
        const int64_t k = frames[i];
        run.skipTo(k, [&](int64_t done) { progress.update(done + 1); });
        run.drawFrame(k, frame.pixels);
        progress.update(k + 1);
        const float t = frameClock(k, show.rate, show.totalMs);
        sheet.place(int(i), shrink(frame, o.scale), frameLabel(show.seconds(k), t, sceneFor(t)));
    }
    progress.finish();
    const RgbImage& image = sheet.image();
    if (!writePng(out.tempPath(), image.width, image.height, image.pixels.data()))
        return reportFailure("cannot write " + o.output);
    if (!out.commit(&error)) return reportFailure(error);
    if (o.stats) printTimes(run.times(), EncoderTimes(), wallSeconds() - started);
    return 0;
}
