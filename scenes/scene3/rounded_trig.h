// Sine and cosine of a single-precision angle, taken in double and rounded back to single:
// the motion of scene three's structures was tuned with these roundings, not with sinf/cosf.
#pragma once

#include <cmath>

inline float roundedSin(float a) {
    return static_cast<float>(std::sin(static_cast<double>(a)));
}
inline float roundedCos(float a) {
    return static_cast<float>(std::cos(static_cast<double>(a)));
}
