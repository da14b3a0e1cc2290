// The show's music: 80 bars of 4/4 at 120 beats a minute (160 s), in sections that change
// where the scenes change, written into four stems.
#pragma once

#include "synth.h"

#include <vector>

constexpr double kBeat = 0.5;
constexpr double kBar = 4 * kBeat;
constexpr int kBars = 80;
constexpr size_t kFrames = size_t(kBars) * size_t(kBar * kRate); // exactly 160 s

struct Stems {
    Stems() : drums(kFrames), bass(kFrames), harmony(kFrames), lead(kFrames) {}
    Track drums;
    Track bass;
    Track harmony; // pads and plucks
    Track lead;
    std::vector<double> kicks; // when each kick lands, for the side-chain
};

void WriteScore(Stems& stems);
