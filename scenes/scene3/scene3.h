#pragma once

#include "scenes/scene3/cube_walls.h"
#include "scenes/scene3/disc_carousel.h"
#include "scenes/scene3/tracer_paths.h"

#include <cstdint>

// What the scene carries from one frame to the next. A fresh value is the state before the
// show's first frame.
struct SceneThreeState {
    TracerWalk tracer;
    int32_t carouselState = kCarouselNotStarted;
    ProbePoint probePoint = {0, 0, 0};
};

// What one frame draws from, as its advance step works it out.
struct SceneThreeFrame {
    TracerWalk tracer;      // after this frame's step
    CarouselFrame carousel; // the slots and the leading disc shown
    ProbePoint probe;       // where the cube walls find the probe
};

// Moves the state on by one frame at t, frameStep millionths of the show clock after the
// previous frame, and returns what that frame draws.
SceneThreeFrame advanceSceneThree(SceneThreeState& state, float t, float frameStep);

// The long middle scene: a white half in which the city builds up and a black half in which
// it tumbles and falls. Draws only; the frame comes from advanceSceneThree.
void drawSceneThree(const SceneThreeFrame& frame, float t);
