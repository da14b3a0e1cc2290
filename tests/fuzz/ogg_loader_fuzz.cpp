// The Ogg Vorbis loader on any bytes (pages mostly with right checksums: ogg_pages_mutator.cpp):
// open, decode some, seek to places the input picks and decode again.
#include "memory_file.h"
#include "sound/ogg_vorbis.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    COggVorbis ogg;
    const int opened = ogg.Open(MemoryFile(data, size));
    if (opened < 0) return 0;
    // At most a few seconds of sound is decoded, however long the stream says it is.
    const DWORD block = 16384;
    if (!ogg.AllocBuffer(block)) std::abort();
    for (int i = 0, got = 1; i < 64 && got > 0; ++i) {
        got = ogg.Read(0);
        if (got > int(block)) std::abort();
    }
    const LONG length = LONG(ogg.GetDataSize());
    const LONG picks[] = {0, length / 3, length, length - 4, LONG(size) * 7 % (length + 1)};
    for (LONG to : picks) {
        if (ogg.Seek(std::max<LONG>(to, 0)) < 0) continue;
        if (ogg.Read(4096) > 4096) std::abort();
    }
    ogg.Close();
    return 0;
}
