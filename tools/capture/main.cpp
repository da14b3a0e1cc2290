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

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

// Outputs are named from where the user stands, before moving to the data folder.
std::string absolute(const std::string& path) {
    if (!path.empty() && path[0] == '/') return path;
    char cwd[4096];
    return getcwd(cwd, sizeof cwd) ? std::string(cwd) + "/" + path : path;
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
    options.output = absolute(options.output);
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
