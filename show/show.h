// The show clock and the scene dispatcher.
#pragma once

#include "gfx/timeline.h"
#include "platform/win32.h"
#include "scenes/scene3/scene3.h"

// Everything the show carries from one frame to the next; every other thing on the screen is
// worked out afresh from the clock. A fresh value is the state before the first frame.
struct ShowState {
    // The show clock times 1000000 as of the previous frame drawn in a scene.
    float clockStamp = 0;
    SceneThreeState sceneThree;
};

// The run's one state: drawShow and advanceShow move it; a new run starts with
// showState = ShowState{}.
extern ShowState showState;

// The play position over the total length, both in milliseconds; the position counts as
// unsigned and the quotient is rounded once, to float.
float showClock(DWORD playMs, double totalMs);

// Which scene's window holds t: 1 to 4, or 0 for none (t < 0 or not a number).
int sceneFor(float t);

// Moves showState on by the frame at t, then clears and draws that frame; showing it (a swap,
// a read-back) is the host's.
void drawShow(float t);

// Moves showState on by the frame at t as drawShow would, without drawing: for skipping ahead.
void advanceShow(float t);

// True once the frame at t has reached the end of the show.
inline bool showHasEnded(float t) {
    return t >= kEndThreshold;
}
