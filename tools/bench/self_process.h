// This program run again as a child, so that each run has a driver and a peak RSS of its own.
#pragma once

#include <string>
#include <vector>

struct ChildResult {
    bool exited = false; // of itself, rather than by a signal or a failed start
    int status = -1;     // its exit status when it exited
    std::string output;  // everything it wrote to standard output
    long peakRssKb = 0;
    long pageFaults = 0; // minor ones: memory mapped in afresh
};

// Runs /proc/self/exe with these arguments and the same environment, except that
// GALLIUM_NOOP=1 (and GALLIUM_THREAD=0) is set when noopDriver and removed otherwise. Its
// standard error is ours.
ChildResult runSelf(const std::vector<std::string>& args, bool noopDriver);
