// kelvaster-psnr: compares a frame with a reference frame, both PNG, and says how close.
#include "tools/offscreen/offscreen.h"
#include "tools/psnr/psnr.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: kelvaster-psnr <reference.png> <frame.png> [min-dB]\n"
                 "  Prints the frame's PSNR against the reference in dB. With min-dB, exits 1\n"
                 "  unless the frame reaches it, is not one flat colour and sits where the\n"
                 "  reference does (no shift of up to 3 pixels matches better).\n");
    return 2;
}

bool load(const char* path, RgbFrame& f) {
    if (readPng(path, f.width, f.height, f.rgb)) return true;
    std::fprintf(stderr, "kelvaster-psnr: cannot read %s as PNG\n", path);
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) return usage();
    double minimum = 0;
    if (argc == 4) {
        char* end = nullptr;
        minimum = std::strtod(argv[3], &end);
        if (end == argv[3] || *end) return usage();
    }
    RgbFrame reference, frame;
    if (!load(argv[1], reference) || !load(argv[2], frame)) return 2;
    if (reference.width != frame.width || reference.height != frame.height) {
        std::fprintf(stderr, "kelvaster-psnr: %dx%d against %dx%d\n", frame.width, frame.height,
                     reference.width, reference.height);
        return 1;
    }
    const double db = psnr(reference, frame);
    std::printf("%.2f\n", db);
    if (argc == 3) return 0;
    bool ok = db >= minimum;
    if (db < minimum) std::fprintf(stderr, "kelvaster-psnr: %.2f dB is below %.2f\n", db, minimum);
    if (isBlank(frame) && !isBlank(reference)) {
        std::fprintf(stderr, "kelvaster-psnr: the frame is blank\n");
        ok = false;
    }
    int dx = 0, dy = 0;
    bestShift(reference, frame, 3, dx, dy);
    if (dx || dy) {
        std::fprintf(stderr, "kelvaster-psnr: the frame sits %+d, %+d pixels off\n", dx, dy);
        ok = false;
    }
    return ok ? 0 : 1;
}
