// The single-precision waves scene two moves and colours its objects with.
#pragma once

#include "gfx/float_trig.h"

// A wave of -1..1 as a colour component, (wave + 1) / 2 - 0.1, each step held as a float.
// It dips to -0.1, which GL clamps to black.
inline float shade(float wave) {
    const float half = static_cast<float>((wave + 1.0) * 0.5);
    return static_cast<float>(half - 0.1f);
}

// Rates of the colour recipe the spheres, the glow discs and scene three's facing smoke share;
// the first two were tuned as single-precision constants and are used widened.
constexpr double kRedRate = 33.3f;
constexpr double kGreenRate = 22.2f;
constexpr double kBlueRate = 555.5;
