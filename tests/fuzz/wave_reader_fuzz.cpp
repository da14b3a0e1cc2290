// The WAVE loader on any bytes: open, then read and seek about what it found; every count it
// gives must stay within its buffer and its data.
#include "memory_file.h"
#include "sound/wave.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CWave wave;
    const int opened = wave.Open(MemoryFile(data, size));
    if (opened < 0) return 0;
    if (DWORD(opened) != wave.GetDataSize()) std::abort();
    const DWORD block = 4096;
    if (!wave.AllocBuffer(block)) std::abort();
    DWORD total = 0;
    for (int got; (got = wave.Read(0)) != 0; total += DWORD(got))
        if (got < 0 || DWORD(got) > block) std::abort();
    if (total > wave.GetDataSize()) std::abort();
    // Seeks anywhere, then reads from there.
    for (LONG to : {LONG(-1), LONG(total / 2), LONG(total) + 3, LONG(1)}) {
        const int at = wave.Seek(to);
        if (at < 0 || DWORD(at) > wave.GetDataSize()) std::abort();
        const int got = wave.Read(100);
        if (got < 0 || got > 100 || DWORD(at + got) > wave.GetDataSize()) std::abort();
    }
    wave.Close();
    return 0;
}
