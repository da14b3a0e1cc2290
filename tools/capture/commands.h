// The three things the capture program makes.
#pragma once

#include "tools/offscreen/frame_clock.h"
#include "tools/capture/options.h"

#include <string>

// The show as a run at one rate sees it.
struct ShowTiming {
    FrameRate rate;
    double totalMs = 0;
    int64_t last = 0; // the first frame at or past the end threshold
    double seconds(int64_t k) const { return double(k) * double(rate.den) / double(rate.num); }
};

// Each returns the process's exit status, having said why on stderr when it is not 0.
int captureVideo(const Options& options, const ShowTiming& show, const std::string& ffmpeg);
int captureStill(const Options& options, const ShowTiming& show);
int captureSheet(const Options& options, const ShowTiming& show);
