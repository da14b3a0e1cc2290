// Five large blocks swinging through and far beyond the walls of the room.
#pragma once

#include "scenes/scene1/cube_pose.h"

// Block k (0..4) at t; its third angle turns about the diagonal (1, 0, 1).
CubePose orbitingBlock(int k, float t);

void drawOrbitingBlocks(float t);
