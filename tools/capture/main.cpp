// kelvaster-capture: the show as video, stills or a contact sheet, with no display and no sound
// card, drawn by the show's own code on a virtual clock.
#include "platform/malloc_tuning.h"
#include "tools/capture/capture_context.h"
#include "tools/capture/commands.h"
#include "tools/offscreen/data_checks.h"
#include "tools/capture/encoder.h"
#include "tools/offscreen/music_length.h"
#include "tools/capture/options.h"
#include "tools/capture/pending_output.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

// Outputs are named from where the user stands, before moving to the data folder; a name that
// cannot be made whole is refused rather than left to land somewhere else.
bool absolute(std::string& path, std::string* error) {
    if (!path.empty() && path[0] == '/') return true;
    std::unique_ptr<char, decltype(&std::free)> cwd(getcwd(nullptr, 0), &std::free);
    if (!cwd) {
        *error = "cannot name " + path + " from the working folder: " + std::strerror(errno);
        return false;
    }
    const std::string whole = std::string(cwd.get()) + "/" + path;
    if (whole.size() >= PATH_MAX) {
        *error = "cannot name " + path + " from the working folder: the whole name would be " +
                 "over " + std::to_string(PATH_MAX) + " bytes";
        return false;
    }
    path = whole;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    tuneAllocator();
    Options options;
    std::string error;
    if (!parseOptions(argc, argv, options, &error)) {
        if (error.empty()) {
            std::fputs(usageText(), stdout);
            return 0;
        }
        std::fprintf(stderr, "kelvaster-capture: %s\n\n%s", error.c_str(), usageText());
        return 2;
    }
    std::string ffmpeg;
    if (options.mode == Mode::Video) {
        ffmpeg = findOnPath("ffmpeg");
        if (ffmpeg.empty())
            return reportFailure("ffmpeg is not on the PATH; it encodes the video (Debian: "
                                 "apt-get install ffmpeg)");
    }
    if (options.worker) sendFailuresToParent();
    if (!absolute(options.output, &error)) return reportFailure(error);
    installOutputCleanup();

    enterDataFolder();
    if (!checkDataFiles(&error)) return reportFailure(error);
    ShowTiming show;
    show.rate = options.rate;
    if (!musicLengthMs(data_files::kMusic, show.totalMs, &error)) return reportFailure(error);
    show.last = lastFrame(show.rate, show.totalMs);
    if (show.last < 0)
        return reportFailure(std::string(data_files::kMusic) + " is too short to play");

    switch (options.mode) {
    case Mode::Video:
        return captureVideo(options, show, ffmpeg);
    case Mode::Still:
        return captureStill(options, show);
    case Mode::Sheet:
        return captureSheet(options, show);
    }
    return 1;
}
