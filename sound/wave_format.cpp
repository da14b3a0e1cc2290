#include "sound/wave_format.h"

#include "platform/dsound.h"

#include <cstring>

namespace {

constexpr WORD kExtensible = 0xFFFE;
// KSDATAFORMAT_SUBTYPE_PCM as it lies in the file.
constexpr BYTE kPcmSubFormat[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                    0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
constexpr DWORD kExtensibleSize = 40; // the record, valid bits, channel mask, sub-format
constexpr DWORD kSubFormatAt = 24;
constexpr WORD kMaxChannels = 8;

WORD Le16(const BYTE* p) {
    return WORD(p[0] | p[1] << 8);
}
DWORD Le32(const BYTE* p) {
    return DWORD(p[0]) | DWORD(p[1]) << 8 | DWORD(p[2]) << 16 | DWORD(p[3]) << 24;
}

WaveFormatCheck Unplayable(std::string* why, std::string text) {
    if (why) *why = std::move(text);
    return WaveFormatCheck::Unplayable;
}

} // namespace

WaveFormatCheck ReadWaveFormat(const BYTE* chunk, DWORD size, WAVEFORMATEX* format,
                               std::string* why) {
    if (!chunk || size < 16) return WaveFormatCheck::NotPcm;
    const WORD tag = Le16(chunk);
    const WORD cbSize = size >= 18 ? Le16(chunk + 16) : 0;
    const bool extensiblePcm = tag == kExtensible && size >= kExtensibleSize && cbSize >= 22 &&
                               std::memcmp(chunk + kSubFormatAt, kPcmSubFormat, 16) == 0;
    if (tag != WAVE_FORMAT_PCM && !extensiblePcm) return WaveFormatCheck::NotPcm;

    const WORD channels = Le16(chunk + 2);
    const DWORD rate = Le32(chunk + 4);
    const WORD storedAlign = Le16(chunk + 12);
    const WORD bits = Le16(chunk + 14);
    if (channels == 0 || channels > kMaxChannels)
        return Unplayable(why, std::to_string(channels) + " channels (1 to 8 play)");
    if (rate < DSBFREQUENCY_MIN || rate > DSBFREQUENCY_MAX)
        return Unplayable(why, "a rate of " + std::to_string(rate) + " Hz (100 to 200000 play)");
    if (bits != 8 && bits != 16 && bits != 24)
        return Unplayable(why, std::to_string(bits) + " bits per sample (8, 16 and 24 play)");
    const WORD align = WORD(channels * (bits / 8));
    // A frame size of 0 says nothing and is worked out; any other that differs leaves the
    // layout of the samples in doubt.
    if (storedAlign != 0 && storedAlign != align)
        return Unplayable(why, "frames of " + std::to_string(storedAlign) + " bytes for " +
                                   std::to_string(channels) + " channels of " +
                                   std::to_string(bits) + " bits");

    format->wFormatTag = WAVE_FORMAT_PCM;
    format->nChannels = channels;
    format->nSamplesPerSec = rate;
    format->nBlockAlign = align;
    format->nAvgBytesPerSec = rate * align;
    format->wBitsPerSample = bits;
    format->cbSize = extensiblePcm ? 0 : cbSize;
    return WaveFormatCheck::Playable;
}
