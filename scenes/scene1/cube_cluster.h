// The centrepiece of scene one: a 2 x 2 x 2 cluster of cubes that comes apart cube by cube.
#pragma once

#include "scenes/scene1/cube_pose.h"

extern const float clusterCorners[8][3]; // home corners, cube centres 56 apart

// The eight slots of the cycle that holds t; a clock outside scene one takes the nearest cycle.
void clusterBreakpoints(float t, float (&breakpoints)[9]);

// The slot's own motion within the given cycle. Slots 0..6 move cube i out along its diagonal
// and back; slot 7 swells the whole cluster.
void animateClusterCube(int i, const float (&breakpoints)[9], CubePose* cubes, float t);
void placeClusterCubeHome(int i, CubePose* cubes);

// Poses all eight cubes for t.
void poseCubeCluster(float t, CubePose* cubes);

void drawCubeCluster(float t);
