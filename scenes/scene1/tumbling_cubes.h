// Twelve small cubes tumbling about the middle of the room, in two strings of six.
#pragma once

#include "scenes/scene1/cube_pose.h"

struct TumblingCube {
    CubePose pose;
    float edge; // negative about half the time: the cube is then drawn mirrored
};

// Cube i (0..11) at t; edge is what drawCube receives.
TumblingCube tumblingCube(int i, float t);

void drawTumblingCubes(float t);
