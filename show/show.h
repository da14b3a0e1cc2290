// The show clock and the scene dispatcher.
#pragma once

#include "gfx/timeline.h"
#include "show/clock.h"
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

// Which scene's window holds t: 1 to 4, or 0 for none (t < 0 or not a number).
int sceneFor(float t);

// Moves showState on by the frame at t, then clears and draws that frame; showing it (a swap,
// a read-back) is the host's.
void drawShow(float t);

// Moves showState on by the frame at t as drawShow would, without drawing: for skipping ahead.
void advanceShow(float t);

// Frame k of a run at rate on its way to frame target, as that run would have drawn it: frames
// nobody sees only move the carried state, and the one just before target is drawn whole, so
// the GL state it leaves (clear colour, projection) is the run's too. True if it drew.
bool stepTowards(int64_t k, int64_t target, FrameRate rate, double totalMs);
