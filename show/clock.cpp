#include "show/clock.h"

#include "gfx/extended.h"

float showClock(DWORD playMs, double totalMs) {
    return static_cast<float>(static_cast<Extended>(playMs) / totalMs);
}

uint32_t framePlayMs(int64_t k, FrameRate rate) {
    return static_cast<uint32_t>(k * 1000 * rate.den / rate.num);
}

float frameClock(int64_t k, FrameRate rate, double totalMs) {
    return showClock(framePlayMs(k, rate), totalMs);
}

int64_t lastFrame(FrameRate rate, double totalMs) {
    if (!(totalMs > 0)) return -1;
    // Start a little before the estimate and walk: the clock's rounding decides the frame.
    int64_t k = static_cast<int64_t>(kEndThreshold * totalMs / 1000 * rate.fps()) - 2;
    if (k < 0) k = 0;
    while (k > 0 && showHasEnded(frameClock(k - 1, rate, totalMs))) --k;
    while (!showHasEnded(frameClock(k, rate, totalMs))) ++k;
    return k;
}

int64_t firstFrameFrom(uint32_t playMs, FrameRate rate) {
    // The smallest k with floor(k * 1000 * den / num) >= playMs.
    const int64_t scaled = int64_t(playMs) * rate.num;
    const int64_t step = 1000 * rate.den;
    return (scaled + step - 1) / step;
}

int64_t firstFrameAtClock(float t, FrameRate rate, double totalMs, int64_t last) {
    int64_t lo = 0, hi = last + 1;
    while (lo < hi) {
        const int64_t mid = lo + (hi - lo) / 2;
        if (frameClock(mid, rate, totalMs) >= t)
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}
