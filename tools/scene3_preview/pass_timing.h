// Scene three's frame taken apart into its passes, each timed to the end of its GL work.
#pragma once

constexpr int kSceneThreePasses = 14;
extern const char* const sceneThreePassNames[kSceneThreePasses];

// Draws the frame at t in the director's order, adding each pass's milliseconds to ms[].
void drawSceneThreeTimed(float t, double ms[kSceneThreePasses]);
