// The show clock and the scene dispatcher.
#pragma once

#include "platform/win32.h"

// Scene windows of the show clock and the end threshold (t is widened to double to compare).
constexpr double kSceneTwoStart = 0.100144;
constexpr double kSceneThreeStart = 0.299523;
constexpr double kSceneFourStart = 0.899144;
constexpr double kEndThreshold = 0.986539;

// The play position over the total length, both in milliseconds; the position counts as
// unsigned and the quotient is rounded once, to float.
float showClock(DWORD playMs, double totalMs);

// Which scene's window holds t: 1 to 4, or 0 for none (t < 0 or not a number).
int sceneFor(float t);

// Clears, draws the scene whose window holds t (none for t < 0 or not a number), swaps.
void drawShow(float t);

// drawShow without the swap, for a frame that is shown some other way.
void drawShowFrame(float t);

// Moves what the scenes keep from frame to frame as drawShow(t) would, without drawing, so
// that a later frame can be drawn as a run would have drawn it.
void advanceShow(float t);

// True once the frame at t has reached the end of the show.
inline bool showHasEnded(float t) {
    return t >= kEndThreshold;
}
