// The stretches of the show the benchmark times: one a scene, and one for each half of scene
// three, whose halves draw different things.
#pragma once

#include "tools/offscreen/frame_clock.h"

#include <cstdint>
#include <string>

struct Stretch {
    const char* name;
    float start; // show clock of the first frame (at or just past it)
    double end;  // the window it belongs to ends here: no frame may reach it
};

constexpr int kStretchCount = 5;
extern const Stretch kStretches[kStretchCount];

// The rate frames are timed at: the rate of the capture's default video.
constexpr FrameRate kBenchRate{60, 1};

// The longest stretch every window has room for at that rate.
constexpr int kMaxStretchFrames = 360;

// The stretch with that name, or null.
const Stretch* findStretch(const std::string& name);

// The first of `frames` frames at kBenchRate from the stretch's start, for music of that length;
// false with a reason if they do not all fall in the stretch's window.
bool stretchFirstFrame(const Stretch& stretch, int frames, double totalMs, int64_t& first,
                       std::string* error);
