// The capture command line.
#pragma once

#include "tools/offscreen/frame_clock.h"

#include <string>

// The most worker processes a parallel capture starts.
constexpr int kMaxJobs = 32;

// The longest time an option may name: the sound engine counts play time in 32-bit ms.
constexpr double kMaxSeconds = 4294967.0;

// x264's presets, fastest first, and the one taken by default: the fastest whose worst frame in
// every scene stays within 0.5 dB PSNR of medium's (see README).
constexpr const char* kPresets[] = {"ultrafast", "superfast", "veryfast", "faster",   "fast",
                                    "medium",    "slow",      "slower",   "veryslow", "placebo"};
constexpr const char* kDefaultPreset = "faster";

enum class Mode { Video, Still, Sheet };

// How a still names its moment.
enum class StillBy { None, Seconds, Clock, Frame };

struct Options {
    Mode mode = Mode::Video;
    std::string output;
    FrameRate rate;
    bool quiet = false;
    bool stats = false;
    // video
    double from = 0;
    double to = -1; // the end of the show
    bool lossless = false;
    std::string preset = kDefaultPreset; // x264's speed for the lossy encode
    int jobs = 0;                        // worker processes; 0 picks from the machine's cores
    bool worker = false; // a worker of a parallel capture, taking stretches on stdin
    // still
    StillBy stillBy = StillBy::None;
    double at = 0;
    float clock = 0;
    long long frame = 0;
    // sheet
    int count = 16;
    int columns = 4;
    int scale = 4;
};

// False with a message naming the offending argument; "" when only help was asked for.
bool parseOptions(int argc, const char* const* argv, Options& options, std::string* error);

const char* usageText();
