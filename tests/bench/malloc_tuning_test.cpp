#include "platform/malloc_tuning.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <malloc.h>

namespace {

// A block the size of a glow layer's copy, written so that its pages are really there.
void* touchedBlock(size_t size) {
    void* p = std::malloc(size);
    if (p) std::memset(p, 1, size);
    return p;
}

TEST(MallocTuning, LargeBlocksComeFromTheHeapAndStayThereOnceFreed) {
    ASSERT_TRUE(allocatorIsTunable());
    ASSERT_TRUE(tuneAllocator());
    constexpr size_t kBlock = 4 << 20;
    const struct mallinfo2 before = mallinfo2();
    void* block = touchedBlock(kBlock);
    ASSERT_NE(block, nullptr);
    const struct mallinfo2 held = mallinfo2();
    EXPECT_EQ(held.hblks, before.hblks) << "the block was given a mapping of its own";
    std::free(block);
    const struct mallinfo2 freed = mallinfo2();
    EXPECT_GE(freed.fordblks, kBlock) << "the freed block went back to the kernel";
    EXPECT_GE(freed.arena, held.arena);

    // The next frame's block of the same size lands in the memory kept.
    void* again = touchedBlock(kBlock);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(mallinfo2().arena, freed.arena);
    std::free(again);
}

TEST(MallocTuning, TheMmapThresholdGivenIsTheOneUsed) {
    // Far above the most glibc's moving threshold would reach on its own (32 MiB).
    AllocatorSettings high = kFrameAllocator;
    high.mmapThreshold = 1 << 29;
    ASSERT_TRUE(tuneAllocator(high));
    const size_t mapped = mallinfo2().hblks;
    void* block = std::malloc(256 << 20); // never touched: address space only
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(mallinfo2().hblks, mapped);
    std::free(block);
}

} // namespace
