#include "tools/capture/options.h"

#include "tools/capture/contact_sheet.h"

#include <cerrno>
#include <cfloat>
#include <cstdlib>

namespace {

bool fail(std::string* error, const std::string& what) {
    if (error) *error = what;
    return false;
}

// A number within lo..hi, checked as a double before anything narrower is made of it.
bool number(const char* text, double lo, double hi, double& value) {
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text, &end);
    return end != text && *end == '\0' && errno != ERANGE && value >= lo && value <= hi;
}

bool knownPreset(const std::string& name) {
    for (const char* preset : kPresets)
        if (name == preset) return true;
    return false;
}

std::string presetList() {
    std::string list;
    for (const char* preset : kPresets) list += (list.empty() ? "" : ", ") + std::string(preset);
    return list;
}

bool whole(const char* text, long long lo, long long hi, long long& value) {
    char* end = nullptr;
    errno = 0;
    value = std::strtoll(text, &end, 10);
    return end != text && *end == '\0' && errno != ERANGE && value >= lo && value <= hi;
}

} // namespace

const char* usageText() {
    static const std::string text =
        std::string(
            "usage: kelvaster-capture video [options] <out.mp4>\n"
            "       kelvaster-capture still (--at SECONDS | --clock T | --frame K) [options] "
            "<out.png>\n"
            "       kelvaster-capture sheet [options] <out.png>\n"
            "\n"
            "Renders the show with no display and no sound card, on a virtual clock: frame k is\n"
            "drawn at the show clock of k / fps seconds into Data/tech.ogg, the frames in order\n"
            "from the first, so that what the scenes carry from frame to frame (the tracer walk,\n"
            "the carousel, the probe point) plays out as in a real run at that rate.\n"
            "\n"
            "video   The show, up to and including its first frame at the end threshold, or a\n"
            "        stretch of it, as H.264 in MP4 with the music cut to the same stretch.\n"
            "  --from SECONDS   first frame at or after this time (default 0)\n"
            "  --to SECONDS     stop before this time (default: the end of the show)\n"
            "  --lossless       RGB H.264 at qp 0: every decoded frame is the drawn one\n"
            "  --preset NAME    x264's speed for the lossy encode, ultrafast to placebo\n"
            "                   (default ") +
        kDefaultPreset +
        ")\n"
        "  --jobs N         draw stretches in N processes at once, joined without\n"
        "                   re-encoding (default: from the number of cores, see README)\n"
        "still   One frame to PNG. For each frame before it the scenes' frame-to-frame\n"
        "        state is moved on as drawing would move it, without drawing, and the\n"
        "        frame just before is drawn whole: the still is the frame a run at --fps\n"
        "        would show.\n"
        "  --at SECONDS     the moment this far into the music (whole milliseconds)\n"
        "  --clock T        the moment the show clock is T (0 to the end threshold)\n"
        "  --frame K        frame K of a run at --fps\n"
        "sheet   Frames spread evenly over the whole show in one PNG grid, each labelled with\n"
        "        its time, show clock and scene.\n"
        "  --count N        frames on the sheet (default 16)\n"
        "  --columns C      frames a row (default 4)\n"
        "  --scale S        thumbnails 1/S of the frame: 1, 2, 4, 5, 8 or 10 (default 4)\n"
        "\n"
        "Common options:\n"
        "  --fps RATE       frames per second: 60 (default), 30, 29.97, 60000/1001, ...\n"
        "  --quiet          no progress bar\n"
        "  --stats          where the time went, per frame and scene, at the end\n"
        "\n"
        "Data/ is read from the working directory, or else from beside this program. The\n"
        "output appears under its name only when complete.\n";
    return text.c_str();
}

bool parseOptions(int argc, const char* const* argv, Options& o, std::string* error) {
    if (argc < 2) return fail(error, "no mode given: video, still or sheet");
    const std::string mode = argv[1];
    if (mode == "-h" || mode == "--help") return fail(error, "");
    if (mode == "video")
        o.mode = Mode::Video;
    else if (mode == "still")
        o.mode = Mode::Still;
    else if (mode == "sheet")
        o.mode = Mode::Sheet;
    else
        return fail(error, "unknown mode \"" + mode + "\": use video, still or sheet");

    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool takesValue = arg == "--fps" || arg == "--from" || arg == "--to" ||
                                arg == "--at" || arg == "--clock" || arg == "--frame" ||
                                arg == "--count" || arg == "--columns" || arg == "--scale" ||
                                arg == "--jobs" || arg == "--preset";
        if (takesValue && i + 1 >= argc) return fail(error, arg + " needs a value");
        const char* value = takesValue ? argv[++i] : nullptr;
        const std::string bad = takesValue ? "bad value for " + arg + ": \"" + value + "\"" : "";
        const std::string seconds = " (0 to " + std::to_string(long(kMaxSeconds)) + " s)";
        double d = 0;
        long long n = 0;
        if (arg == "-h" || arg == "--help") {
            return fail(error, "");
        } else if (arg == "--quiet") {
            o.quiet = true;
        } else if (arg == "--stats") {
            o.stats = true;
        } else if (arg == "--fps") {
            if (!parseFrameRate(value, o.rate, error)) return false;
        } else if (arg == "--from" && o.mode == Mode::Video) {
            if (!number(value, 0, kMaxSeconds, o.from)) return fail(error, bad + seconds);
        } else if (arg == "--to" && o.mode == Mode::Video) {
            if (!number(value, 0, kMaxSeconds, o.to)) return fail(error, bad + seconds);
        } else if (arg == "--lossless" && o.mode == Mode::Video) {
            o.lossless = true;
        } else if (arg == "--preset" && o.mode == Mode::Video) {
            if (!knownPreset(value)) return fail(error, bad + " (x264's: " + presetList() + ")");
            o.preset = value;
        } else if (arg == "--jobs" && o.mode == Mode::Video) {
            if (!whole(value, 1, kMaxJobs, n))
                return fail(error, bad + " (1 to " + std::to_string(kMaxJobs) + ")");
            o.jobs = int(n);
        } else if (arg == "--worker" && o.mode == Mode::Video) {
            o.worker = true;
        } else if ((arg == "--at" || arg == "--clock" || arg == "--frame") &&
                   o.mode == Mode::Still) {
            if (o.stillBy != StillBy::None)
                return fail(error, "give one of --at, --clock and --frame");
            if (arg == "--frame") {
                if (!whole(value, 0, 1LL << 40, o.frame)) return fail(error, bad);
                o.stillBy = StillBy::Frame;
            } else if (arg == "--at" ? !number(value, 0, kMaxSeconds, d)
                                     : !number(value, -FLT_MAX, FLT_MAX, d)) {
                return fail(error, bad + (arg == "--at" ? seconds : ""));
            } else if (arg == "--at") {
                o.at = d;
                o.stillBy = StillBy::Seconds;
            } else {
                o.clock = float(d);
                o.stillBy = StillBy::Clock;
            }
        } else if (arg == "--count" && o.mode == Mode::Sheet) {
            if (!whole(value, 1, 1000, n)) return fail(error, bad + " (1 to 1000)");
            o.count = int(n);
        } else if (arg == "--columns" && o.mode == Mode::Sheet) {
            if (!whole(value, 1, 100, n)) return fail(error, bad + " (1 to 100)");
            o.columns = int(n);
        } else if (arg == "--scale" && o.mode == Mode::Sheet) {
            if (!whole(value, 1, 10, n) || !validSheetScale(int(n)))
                return fail(error, bad + " (1, 2, 4, 5, 8 or 10)");
            o.scale = int(n);
        } else if (!arg.empty() && arg[0] == '-') {
            return fail(error, "unknown option for " + mode + ": " + arg);
        } else if (o.output.empty()) {
            o.output = arg;
        } else {
            return fail(error, "more than one output given: " + o.output + ", " + arg);
        }
    }
    if (o.output.empty()) return fail(error, "no output file given");
    if (o.mode == Mode::Still && o.stillBy == StillBy::None)
        return fail(error, "still needs --at, --clock or --frame");
    if (o.mode == Mode::Video && o.to >= 0 && o.to <= o.from)
        return fail(error, "--to must come after --from");
    return true;
}
