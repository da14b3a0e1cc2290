// How closely one 8-bit RGB frame matches another.
#pragma once

#include <vector>

struct RgbFrame {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb; // top row first
};

// Peak signal-to-noise ratio over all channels, in dB, of b against a, with b moved by
// (dx, dy) pixels and only the overlap compared; +infinity when they are equal there.
double psnr(const RgbFrame& a, const RgbFrame& b, int dx = 0, int dy = 0);

// True if every pixel has the same colour: a frame that shows nothing.
bool isBlank(const RgbFrame& f);

// The shift within +-reach pixels that matches b to a best; (0, 0) unless another shift
// scores strictly higher.
void bestShift(const RgbFrame& a, const RgbFrame& b, int reach, int& dx, int& dy);
