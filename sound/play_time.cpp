#include "sound/play_time.h"

#include <cstdint>

// The quotient can pass 2^32 ms; it wraps as the 32-bit count it is.
DWORD BytesToMilliseconds(DWORD bytes, DWORD bytesPerSecond) {
    if (bytesPerSecond == 0) return 0;
    return DWORD(std::uint64_t(double(bytes) / double(bytesPerSecond) * 1000.0));
}
