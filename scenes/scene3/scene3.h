#pragma once

// The long middle scene: a white half in which the city builds up and a black half in which
// it tumbles and falls. Keeps clockStamp for its per-frame step.
void drawSceneThree(float t);

// Moves what the scene keeps from frame to frame (clockStamp, the tracer walk, the carousel,
// the probe point) exactly as drawSceneThree(t) would, without drawing: for skipping ahead.
void advanceSceneThree(float t);
