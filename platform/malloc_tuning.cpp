#include "platform/malloc_tuning.h"

// Any C library header says whether the library is glibc.
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

const AllocatorSettings kFrameAllocator = {
    1 << 30, // trim threshold
    1 << 26, // top pad
    1 << 25, // mmap threshold
};

#if defined(__GLIBC__)

bool allocatorIsTunable() {
    return true;
}

bool tuneAllocator(const AllocatorSettings& s) {
    // mallopt answers 1 on success; all three are tried even if one is refused.
    const int trim = mallopt(M_TRIM_THRESHOLD, s.trimThreshold);
    const int pad = mallopt(M_TOP_PAD, s.topPad);
    const int mmap = mallopt(M_MMAP_THRESHOLD, s.mmapThreshold);
    return trim == 1 && pad == 1 && mmap == 1;
}

#else

bool allocatorIsTunable() {
    return false;
}

bool tuneAllocator(const AllocatorSettings&) {
    return false;
}

#endif
