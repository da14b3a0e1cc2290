// Finds a piece of 16-bit stereo music in what an output wrote, and how far it runs unchanged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct PcmMatch {
    bool found = false;      // the output holds a first audible frame where the piece has one
    size_t offset = 0;       // output frame on which the piece's frame 0 lies
    size_t matched = 0;      // piece frames found in order from frame 0, each within tolerance
    size_t comparable = 0;   // piece frames the output holds room for after offset
    int worstDifference = 0; // largest sample difference over the matched frames
    size_t loudAfterEnd = 0; // output frames past the piece's end that are not silent
};

// Samples are interleaved left, right. The first audible (non-zero) frames of both are taken
// to be the same moment; from there every frame must agree within tolerance.
PcmMatch MatchPcm(const std::vector<std::int16_t>& piece, const std::vector<std::int16_t>& output,
                  int tolerance);
