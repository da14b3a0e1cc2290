// The show clock is a float compared against double thresholds: the floats either side.
#pragma once

#include <cmath>

// The smallest float whose widened value is at or above the threshold.
inline float firstClockAtOrAbove(double threshold) {
    float f = static_cast<float>(threshold);
    while (f < threshold) f = std::nextafter(f, 2.0f);
    while (std::nextafter(f, -2.0f) >= threshold) f = std::nextafter(f, -2.0f);
    return f;
}

// The largest float whose widened value is below the threshold.
inline float lastClockBelow(double threshold) {
    return std::nextafter(firstClockAtOrAbove(threshold), -2.0f);
}
