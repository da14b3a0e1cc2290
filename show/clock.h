// The show clock, and the frames of a run at a fixed rate: the one place every host, the page
// included, takes them from.
#pragma once

#include "gfx/timeline.h"
#include "platform/win32.h"

#include <cstdint>

// The play position over the total length, both in milliseconds; the position counts as
// unsigned and the quotient is rounded once, to float.
float showClock(DWORD playMs, double totalMs);

// True once the frame at t has reached the end of the show.
inline bool showHasEnded(float t) {
    return t >= kEndThreshold;
}

// Frames per second as an exact fraction, so that 60000/1001 stays exact.
struct FrameRate {
    int64_t num = 60;
    int64_t den = 1;
    double fps() const { return double(num) / double(den); }
};

// Where the music is when frame k is shown: k / rate seconds, in whole milliseconds (truncated),
// as the sound engine would report it.
uint32_t framePlayMs(int64_t k, FrameRate rate);

// The clock the program would form from that position and the music's total length.
float frameClock(int64_t k, FrameRate rate, double totalMs);

// The first frame at or past the end threshold: the last one the show draws. -1 if the clock
// never gets there (a music of no length).
int64_t lastFrame(FrameRate rate, double totalMs);

// The first frame whose play position is at or past playMs.
int64_t firstFrameFrom(uint32_t playMs, FrameRate rate);

// The first frame whose clock is at or past t (clocks never fall from frame to frame).
int64_t firstFrameAtClock(float t, FrameRate rate, double totalMs, int64_t last);
