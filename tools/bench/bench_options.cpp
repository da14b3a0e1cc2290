#include "tools/bench/bench_options.h"

#include "tools/bench/stretches.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

bool fail(std::string* error, const std::string& what) {
    if (error) *error = what;
    return false;
}

// A count of bytes, optionally with a K, M or G suffix (powers of 1024), up to INT_MAX.
bool bytes(const std::string& text, int& value) {
    char* end = nullptr;
    errno = 0;
    long long n = std::strtoll(text.c_str(), &end, 10);
    if (end == text.c_str() || errno == ERANGE || n < 0) return false;
    const std::string unit = end;
    const long long scale = unit.empty()  ? 1
                            : unit == "K" ? 1LL << 10
                            : unit == "M" ? 1LL << 20
                            : unit == "G" ? 1LL << 30
                                          : 0;
    if (scale == 0 || n > INT_MAX / scale) return false;
    value = int(n * scale);
    return true;
}

// "TRIM,PAD,MMAP"
bool allocatorValues(const std::string& text, AllocatorSettings& s) {
    const size_t a = text.find(',');
    const size_t b = a == std::string::npos ? a : text.find(',', a + 1);
    if (b == std::string::npos || text.find(',', b + 1) != std::string::npos) return false;
    return bytes(text.substr(0, a), s.trimThreshold) &&
           bytes(text.substr(a + 1, b - a - 1), s.topPad) &&
           bytes(text.substr(b + 1), s.mmapThreshold);
}

std::string byteText(int n) {
    if (n && n % (1 << 30) == 0) return std::to_string(n >> 30) + "G";
    if (n && n % (1 << 20) == 0) return std::to_string(n >> 20) + "M";
    if (n && n % (1 << 10) == 0) return std::to_string(n >> 10) + "K";
    return std::to_string(n);
}

} // namespace

const char* benchUsage() {
    return "usage: kelvaster-bench [options]\n"
           "\n"
           "Times the show's drawing offscreen, stretch by stretch: for each, a fresh process\n"
           "brings the show to the stretch's first frame as a still would, then draws each of\n"
           "its frames at 60 fps and waits for it (glFinish). Each stretch runs on llvmpipe and\n"
           "again on Mesa's do-nothing driver (GALLIUM_NOOP=1), which costs everything but the\n"
           "rasterising. Prints a markdown table: ms per frame (median and mean) and the\n"
           "process's peak RSS.\n"
           "\n"
           "  --frames N             frames a stretch (default 120, at most 360)\n"
           "  --stretch NAME         only this stretch: 1, 2, 3a, 3b or 4 (may be repeated)\n"
           "  --driver D             llvmpipe, noop or both (default both)\n"
           "  --no-tuning            leave the allocator as glibc sets it\n"
           "  --allocator T,P,M      trim threshold, top pad and mmap threshold in bytes (K, M\n"
           "                         and G suffixes allowed) instead of the program's own\n"
           "\n"
           "Data/ is read from the working directory, or else from beside this program.\n";
}

bool parseBenchOptions(int argc, const char* const* argv, BenchOptions& o, std::string* error) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool takesValue = arg == "--frames" || arg == "--stretch" || arg == "--driver" ||
                                arg == "--allocator" || arg == "--child";
        if (takesValue && i + 1 >= argc) return fail(error, arg + " needs a value");
        const std::string value = takesValue ? argv[++i] : "";
        const std::string bad = "bad value for " + arg + ": \"" + value + "\"";
        if (arg == "-h" || arg == "--help") {
            return fail(error, "");
        } else if (arg == "--frames") {
            char* end = nullptr;
            errno = 0;
            const long n = std::strtol(value.c_str(), &end, 10);
            if (end == value.c_str() || *end || errno == ERANGE || n < 1 || n > kMaxStretchFrames)
                return fail(error, bad + " (1 to " + std::to_string(kMaxStretchFrames) + ")");
            o.frames = int(n);
        } else if (arg == "--stretch" || arg == "--child") {
            if (!findStretch(value)) return fail(error, bad + " (1, 2, 3a, 3b or 4)");
            if (arg == "--child")
                o.child = value;
            else
                o.stretches.push_back(value);
        } else if (arg == "--driver") {
            if (value != "llvmpipe" && value != "noop" && value != "both")
                return fail(error, bad + " (llvmpipe, noop or both)");
            o.llvmpipe = value != "noop";
            o.noop = value != "llvmpipe";
        } else if (arg == "--no-tuning") {
            o.tuned = false;
        } else if (arg == "--allocator") {
            if (!allocatorValues(value, o.allocator))
                return fail(error, bad + " (three byte counts: TRIM,PAD,MMAP)");
        } else {
            return fail(error, "unknown argument: " + arg);
        }
    }
    return true;
}

std::vector<std::string> childArguments(const BenchOptions& o, const std::string& stretch) {
    std::vector<std::string> args = {"--child", stretch, "--frames", std::to_string(o.frames)};
    if (!o.tuned) {
        args.push_back("--no-tuning");
    } else {
        const AllocatorSettings& a = o.allocator;
        args.push_back("--allocator");
        args.push_back(byteText(a.trimThreshold) + "," + byteText(a.topPad) + "," +
                       byteText(a.mmapThreshold));
    }
    return args;
}
