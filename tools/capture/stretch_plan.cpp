#include "tools/capture/stretch_plan.h"

#include "tools/capture/options.h"

#include <algorithm>

namespace {

// Each worker holds a GL context and its ffmpeg (about 210 MB at its peak): more than this many
// at once cost memory for little.
constexpr long kMostDefaultJobs = 8;
// Each worker's share of what is left is handed out in this many stretches.
constexpr int64_t kStretchesPerShare = 2;

} // namespace

int defaultJobs(long onlineCpus) {
    return int(std::clamp<long>(onlineCpus, 1, std::min<long>(kMostDefaultJobs, kMaxJobs)));
}

std::vector<Span> planStretches(int64_t first, int64_t end, int jobs, FrameRate rate) {
    const int64_t shortest = std::max<int64_t>(1, rate.num / rate.den);
    const int64_t shares = int64_t(std::max(jobs, 1)) * kStretchesPerShare;
    std::vector<Span> plan;
    for (int64_t at = first; at < end;) {
        const int64_t left = end - at;
        int64_t length = std::max((left + shares - 1) / shares, shortest);
        // A remainder too short to be worth a stretch of its own goes with this one.
        if (left - length < shortest) length = left;
        plan.push_back({at, at + length});
        at += length;
    }
    return plan;
}

TrackClock trackClock(FrameRate rate) {
    TrackClock clock{rate.num, rate.den};
    while (clock.ticksPerSecond < 10000) {
        clock.ticksPerSecond *= 2;
        clock.ticksPerFrame *= 2;
    }
    return clock;
}
