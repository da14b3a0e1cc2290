// Sets the show's clock, as the program logged it frame by frame, against what the sound
// server played: a recording of its output, in timecode, and the server's word on which
// recorded frame was being played at given moments. All moments are CLOCK_MONOTONIC ns.
#pragma once

#include "tests/sound_output/timecode.h"

#include <cstddef>
#include <cstdint>
#include <vector>

struct ShowClockEntry {
    std::int64_t at;
    std::uint32_t playMs;
};

struct ServerPosition {
    std::int64_t at;
    double recordedFrame; // the frame of the recording being played at that moment
};

// What the recording holds of the piece.
struct Playback {
    size_t firstFrame = 0;  // recording frame where the piece's frame 0 was played; none: size
    std::uint32_t heard = 0; // piece frames heard in order from frame 0
    size_t silentFrames = 0; // frames without timecode between the first and last piece frame
    bool inOrder = true;     // no frame of the piece skipped, repeated or out of place
};

Playback ReadPlayback(const std::vector<StereoFrame>& recording, std::uint32_t pieceFrames);

struct ClockAgreement {
    size_t compared = 0;
    double meanMs = 0;  // of show minus server
    double worstMs = 0; // largest distance either way
    double worstAtMs = 0; // the show's play position where it was worst
};

// Compares every logged frame at which either side had begun playing and that the server's
// positions span. Where the server played no timecode (before the piece, in a dropout) its
// position is that of the last piece frame it played.
ClockAgreement CompareClocks(const std::vector<ShowClockEntry>& show,
                             const std::vector<ServerPosition>& server,
                             const std::vector<StereoFrame>& recording, std::uint32_t pieceFrames);
