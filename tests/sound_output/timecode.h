// Test music that says where it is: every stereo frame carries its own index, so a recording
// of what was played tells which frame of the piece was heard at each moment. The values stay
// within +-8192, so that even an output that scales by 32767 / 32768 leaves them unchanged.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

constexpr int kTimecodeRate = 44100;

struct StereoFrame {
    std::int16_t left;
    std::int16_t right;
};

StereoFrame TimecodeFrame(std::uint32_t index);
// The index a frame carries; none for frames beyond the piece (silence decodes to an index
// far beyond any test piece).
std::optional<std::uint32_t> TimecodeIndex(StereoFrame frame, std::uint32_t pieceFrames);

// A 16-bit stereo PCM WAVE file of frames timecode frames; false when it cannot be written.
bool WriteTimecodeWave(const std::string& path, std::uint32_t frames);
