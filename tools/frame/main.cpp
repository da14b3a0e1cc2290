// kelvaster-frame: writes the show's frame at a given show clock to PNG, with no display.
#include "platform/malloc_tuning.h"
#include "show/show.h"
#include "tools/offscreen/data_checks.h"
#include "tools/offscreen/offscreen.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: kelvaster-frame <t> <out.png>\n"
                 "  Renders the frame at show clock t (0 to 1, the share of the music\n"
                 "  played) to a PNG of %d x %d. Reads Data/ from the working directory,\n"
                 "  or else from beside this program.\n",
                 kFrameWidth, kFrameHeight);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    tuneAllocator();
    if (argc != 3) return usage();
    char* end = nullptr;
    errno = 0;
    const float t = std::strtof(argv[1], &end);
    if (end == argv[1] || *end != '\0' || errno == ERANGE) {
        std::fprintf(stderr, "kelvaster-frame: not a show clock: %s\n", argv[1]);
        return 2;
    }
    // Resolve the output path before moving to the data folder.
    std::string out = argv[2];
    if (out.empty() || out[0] != '/') {
        char cwd[4096];
        if (getcwd(cwd, sizeof cwd)) out = std::string(cwd) + "/" + out;
    }
    std::string error;
    if (!offscreenOpen(&error)) {
        std::fprintf(stderr, "kelvaster-frame: %s\n", error.c_str());
        return 1;
    }
    enterDataFolder();
    if (!startShowGraphics(&error)) {
        std::fprintf(stderr, "kelvaster-frame: %s\n", error.c_str());
        return 1;
    }
    drawShow(t);
    std::vector<unsigned char> rgb;
    offscreenReadFrame(rgb);
    if (!writePng(out, kFrameWidth, kFrameHeight, rgb.data())) {
        std::fprintf(stderr, "kelvaster-frame: cannot write %s\n", out.c_str());
        return 1;
    }
    return 0;
}
