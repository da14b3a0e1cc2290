// How a parallel capture cuts its frames into stretches and how many workers it starts.
#pragma once

#include "tools/offscreen/frame_clock.h"

#include <cstdint>
#include <vector>

// Workers when --jobs is not given, for this many online CPUs: one a core, up to a few.
int defaultJobs(long onlineCpus);

// Frames first..end-1 cut in order into stretches for this many workers: long while much is
// left, shrinking towards the end so that the workers finish close together whatever the
// scenes cost, and none shorter than a second of video (a stretch costs a start of ffmpeg, a
// frame drawn whole before it and a new group of pictures), except when the whole is shorter.
struct Span {
    int64_t first, end;
};
std::vector<Span> planStretches(int64_t first, int64_t end, int jobs, FrameRate rate);

// The MP4 track clock a single encode at this rate gets from ffmpeg: the rate's numerator,
// doubled until it reaches 10000, so that every frame lasts a whole number of ticks.
struct TrackClock {
    int64_t ticksPerSecond;
    int64_t ticksPerFrame;
};
TrackClock trackClock(FrameRate rate);
