// How the C library's allocator keeps memory between frames.
#pragma once

// glibc's knobs for when freed memory goes back to the kernel, in bytes.
struct AllocatorSettings {
    int trimThreshold; // free memory at a heap's top kept rather than given back
    int topPad;        // asked of the kernel beyond each request that grows a heap
    int mmapThreshold; // blocks at least this large get a mapping of their own
};

// Mesa's software rasteriser allocates thousands of blocks a frame, some of them megabytes (a
// glow layer's 1024 x 1024 copy is 4 MiB). With glibc's defaults those come from fresh
// mappings or from heap tops that are trimmed as soon as they are freed, so every frame pays
// for mapping, faulting in and unmapping the same memory again. Kept instead, the heaps settle
// at the largest frame's working set after the first frames.
// - mmap threshold 32 MiB, the most glibc accepts: every block the driver asks for comes from
//   a heap that is reused. Setting it also stops glibc's own moving threshold, which would
//   otherwise settle in the same place only after the first few frames' blocks.
// - trim threshold 1 GiB: a heap top is never given back during the show.
// - top pad 64 MiB: a heap grows in steps that hold a whole frame's allocations.
extern const AllocatorSettings kFrameAllocator;

// Applies the settings to the process's allocator: true if each one took. Call it first in main,
// before a GL context or a thread exists. Where the C library is not glibc it does nothing and
// returns false.
bool tuneAllocator(const AllocatorSettings& settings = kFrameAllocator);

// Whether the C library is one whose allocator tuneAllocator sets.
bool allocatorIsTunable();
