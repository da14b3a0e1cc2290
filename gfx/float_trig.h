// Sine and cosine as the show's motion was tuned with them: the angle held as a float, the
// function taken in double, the result held as a float again. The rounding of large angles
// (steps of 1/512 radian near 20000) is part of the motion.
#pragma once

#include <cmath>

inline float floatSin(double angle) {
    return static_cast<float>(std::sin(static_cast<double>(static_cast<float>(angle))));
}
inline float floatCos(double angle) {
    return static_cast<float>(std::cos(static_cast<double>(static_cast<float>(angle))));
}
