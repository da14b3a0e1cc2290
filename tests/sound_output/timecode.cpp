#include "tests/sound_output/timecode.h"

#include <cstdio>
#include <vector>

namespace {

constexpr std::uint32_t kBits = 14; // per channel
constexpr std::uint32_t kMask = (1u << kBits) - 1;
constexpr int kOffset = 1 << (kBits - 1);

void put16(std::vector<unsigned char>& out, unsigned v) {
    out.push_back(static_cast<unsigned char>(v & 0xFF));
    out.push_back(static_cast<unsigned char>(v >> 8 & 0xFF));
}
void put32(std::vector<unsigned char>& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

} // namespace

StereoFrame TimecodeFrame(std::uint32_t index) {
    return {static_cast<std::int16_t>(int(index & kMask) - kOffset),
            static_cast<std::int16_t>(int(index >> kBits & kMask) - kOffset)};
}

std::optional<std::uint32_t> TimecodeIndex(StereoFrame frame, std::uint32_t pieceFrames) {
    const int low = frame.left + kOffset;
    const int high = frame.right + kOffset;
    if (low < 0 || low > int(kMask) || high < 0 || high > int(kMask)) return std::nullopt;
    const std::uint32_t index = std::uint32_t(high) << kBits | std::uint32_t(low);
    if (index >= pieceFrames) return std::nullopt;
    return index;
}

bool WriteTimecodeWave(const std::string& path, std::uint32_t frames) {
    const std::uint32_t dataBytes = frames * 4;
    std::vector<unsigned char> out;
    out.reserve(44 + size_t(dataBytes));
    for (char c : std::string("RIFF")) out.push_back(static_cast<unsigned char>(c));
    put32(out, 36 + dataBytes);
    for (char c : std::string("WAVEfmt ")) out.push_back(static_cast<unsigned char>(c));
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, 2);
    put32(out, kTimecodeRate);
    put32(out, kTimecodeRate * 4);
    put16(out, 4);
    put16(out, 16);
    for (char c : std::string("data")) out.push_back(static_cast<unsigned char>(c));
    put32(out, dataBytes);
    for (std::uint32_t i = 0; i < frames; ++i) {
        const StereoFrame f = TimecodeFrame(i);
        put16(out, std::uint16_t(f.left));
        put16(out, std::uint16_t(f.right));
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    return std::fclose(file) == 0 && written;
}
