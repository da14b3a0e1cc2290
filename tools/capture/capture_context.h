// What the three commands share: the GL context, error reports and the time report.
#pragma once

#include "tools/offscreen/show_run.h"

#include <string>

// The offscreen context with the show's graphics set up; false after saying why.
bool openShowGraphics();

// "kelvaster-capture: <what>" on stderr; returns the failure status.
int reportFailure(const std::string& what);

// In a worker: failures go to the parent as reports instead, so that a capture says its first
// failure once, whatever the number of workers.
void sendFailuresToParent();

// Time spent waiting on the encoder per scene, and its own CPU time, when there is one.
struct EncoderTimes {
    double waiting[5] = {};
    double cpuSeconds = 0;
    bool used = false;
};

// Where the time went, per frame and per scene, on stderr; with several workers the times are
// their sums, so the per-frame costs are each worker's own and only the total is the whole's.
void printTimes(const FrameTimes& frames, const EncoderTimes& encoder, double wallSeconds,
                int workers = 1);
