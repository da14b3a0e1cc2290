#include "tools/bench/stretches.h"

#include "gfx/timeline.h"

#include <cstdio>

// The middle of each window, away from the fades at its ends.
const Stretch kStretches[kStretchCount] = {
    {"1", 0.05f, kSceneTwoStart},   //
    {"2", 0.20f, kSceneThreeStart}, //
    {"3a", 0.45f, kSecondHalf},     //
    {"3b", 0.75f, kSceneFourStart}, //
    {"4", 0.93f, kEndThreshold},    //
};

const Stretch* findStretch(const std::string& name) {
    for (const Stretch& s : kStretches)
        if (name == s.name) return &s;
    return nullptr;
}

bool stretchFirstFrame(const Stretch& s, int frames, double totalMs, int64_t& first,
                       std::string* error) {
    const int64_t last = lastFrame(kBenchRate, totalMs);
    if (last >= 0 && frames > 0) {
        first = firstFrameAtClock(s.start, kBenchRate, totalMs, last);
        const int64_t end = first + frames - 1;
        if (end <= last && double(frameClock(end, kBenchRate, totalMs)) < s.end) return true;
    }
    if (error) {
        char why[160];
        std::snprintf(why, sizeof why,
                      "stretch %s has no room for %d frames at 60 fps in music of %.0f ms", s.name,
                      frames, totalMs);
        *error = why;
    }
    return false;
}
