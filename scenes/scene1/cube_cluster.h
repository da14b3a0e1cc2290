// The centrepiece of scene one: a 2 x 2 x 2 cluster of cubes that comes apart cube by cube.
#pragma once

#include "scenes/scene1/cube_pose.h"

extern const float clusterCorners[8][3]; // home corners, cube centres 56 apart
extern CubePose clusterCubes[8];         // rebuilt on every call of drawCubeCluster

// The slot's own motion; reads the breakpoints of the current cycle. Slots 0..6 move cube i
// out along its diagonal and back; slot 7 swells the whole cluster.
void animateClusterCube(int i, CubePose* cubes, float t);
void placeClusterCubeHome(int i, CubePose* cubes);

// Sets the breakpoints of the cycle holding t and poses all eight cubes for t.
void poseCubeCluster(float t, CubePose* cubes);

void drawCubeCluster(float t);
