// The benchmark's command line.
#pragma once

#include "platform/malloc_tuning.h"

#include <string>
#include <vector>

struct BenchOptions {
    int frames = 120;
    bool tuned = true; // false: glibc's defaults (or whatever GLIBC_TUNABLES says)
    AllocatorSettings allocator = kFrameAllocator;
    bool llvmpipe = true;
    bool noop = true;
    std::vector<std::string> stretches; // all of them when empty
    std::string child;                  // the one stretch this process times, for its parent
};

// False with a message naming the offending argument; "" when only help was asked for.
bool parseBenchOptions(int argc, const char* const* argv, BenchOptions& options,
                       std::string* error);

// The arguments that make a child of this program time one stretch as these options ask.
std::vector<std::string> childArguments(const BenchOptions& options, const std::string& stretch);

const char* benchUsage();
