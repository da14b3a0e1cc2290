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

// What the recording holds of the piece. A server that runs dry plays silence and then drops
// what came too late, so a dropout leaves silence and a forward skip; nothing can make it
// play a frame twice or go back.
struct Playback {
    std::uint32_t first = 0;     // the first piece frame played (after a dropout: not 0)
    std::uint32_t last = 0;      // the last piece frame played
    size_t silentFrames = 0;     // frames without timecode between the first and last
    std::uint32_t skipped = 0;   // piece frames passed over between the first and last
    std::uint32_t backwards = 0; // steps to a frame at or before the one played last
};

Playback ReadPlayback(const std::vector<StereoFrame>& recording, std::uint32_t pieceFrames);

struct ClockOffsets {
    size_t compared = 0;
    double meanMs = 0;    // of show minus server
    double worstMs = 0;   // largest distance either way
    double worstAtMs = 0; // the show's play position where it was worst
};

struct ClockAgreement {
    ClockOffsets all;
    // Only where the server was playing the piece, 50 ms clear of any dropout, and its word
    // was fresh: in and around a dropout it plays nothing of ours or drops what came late, and
    // a server position read late (the machine too busy to ask on time) is interpolated over
    // too long a stretch to say where it was.
    ClockOffsets steady;
};

// Compares every logged frame at which either side had begun playing and that the server's
// positions span. Where the server played no timecode (before the piece, in a dropout) its
// position is that of the last piece frame it played.
ClockAgreement CompareClocks(const std::vector<ShowClockEntry>& show,
                             const std::vector<ServerPosition>& server,
                             const std::vector<StereoFrame>& recording, std::uint32_t pieceFrames);
