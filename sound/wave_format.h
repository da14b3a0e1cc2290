// A RIFF WAVE "fmt " chunk read into the PCM format the engine plays. The frame size and byte
// rate are worked out from the channels, bits and rate, not taken from the header on trust:
// every length and play time is counted with them.
#pragma once

#include "platform/waveformat.h"

#include <string>

enum class WaveFormatCheck {
    Playable,   // *format holds it
    NotPcm,     // another encoding, or no format at all: not this loader's kind of file
    Unplayable, // PCM the engine cannot play, or a header at odds with itself; *why says how
};

// PCM (tag 1) and WAVE_FORMAT_EXTENSIBLE with the PCM sub-format, 8, 16 or 24 bits; both come
// out as plain PCM.
WaveFormatCheck ReadWaveFormat(const BYTE* chunk, DWORD size, WAVEFORMATEX* format,
                               std::string* why);
