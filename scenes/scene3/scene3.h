#pragma once

// The long middle scene: a white half in which the city builds up and a black half in which
// it tumbles and falls. Keeps clockStamp for its per-frame step.
void drawSceneThree(float t);
