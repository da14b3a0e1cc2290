// Frame k of a capture at a fixed rate, and the show clock it is drawn at.
#pragma once

#include <cstdint>
#include <string>

// Frames per second as an exact fraction, so that 60000/1001 stays exact.
struct FrameRate {
    int64_t num = 60;
    int64_t den = 1;
    double fps() const { return double(num) / double(den); }
};

// Accepts "60", "29.97" or "60000/1001"; rates from 1/1000 to 1000 frames per second.
bool parseFrameRate(const std::string& text, FrameRate& rate, std::string* error);

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

// Seconds as whole milliseconds, with a hair of slack so that a printed k / rate maps back to
// frame k's position despite binary rounding.
bool secondsToPlayMs(double seconds, uint32_t& playMs);
