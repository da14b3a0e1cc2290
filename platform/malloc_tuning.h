// How the C library's allocator keeps memory between frames.
#pragma once

// glibc's knobs for when freed memory goes back to the kernel, in bytes.
struct AllocatorSettings {
    int trimThreshold; // free memory at a heap's top kept rather than given back
    int topPad;        // asked of the kernel beyond each request that grows a heap
    int mmapThreshold; // blocks at least this large get a mapping of their own
};

// Mesa's software rasteriser allocates thousands of blocks a frame, some of them megabytes (a
// glow layer's 1024 x 1024 copy is 4 MiB). With glibc's defaults the heap top is trimmed as
// soon as such blocks are freed, so the next frame maps and faults in the same memory again:
// in scene three's first half nine in ten of the process's page faults. Kept instead, the
// heaps settle at the largest frame's working set, for a few MiB more peak memory.
// - trim threshold 1 GiB: a heap top is never given back during the show. This is the setting
//   that removes the faults; 32 MiB already does.
// - mmap threshold 32 MiB, above any block the driver asks for, so none gets a mapping of its
//   own. Setting it also stops glibc's moving threshold, which would otherwise get there only
//   after freeing a mapped block of each size, and which raises the trim threshold with it.
// - top pad 64 MiB: a heap grows in steps that hold a frame's allocations. It saved no faults
//   measurably; it costs address space, not resident memory.
extern const AllocatorSettings kFrameAllocator;

// Applies the settings to the process's allocator: true if each one took. Call it first in main,
// before a GL context or a thread exists. Where the C library is not glibc it does nothing and
// returns false.
bool tuneAllocator(const AllocatorSettings& settings = kFrameAllocator);

// Whether the C library is one whose allocator tuneAllocator sets.
bool allocatorIsTunable();
