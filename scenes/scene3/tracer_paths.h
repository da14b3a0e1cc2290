// A red head walking a fixed rectilinear path from the centre of the floor, its trail shown
// as four arms about the vertical axis round a red centre disc; later the arms and the centre
// fall away one after another.
#pragma once

#include <cstdint>

struct TracerPoint {
    float x, z;
};

constexpr int kTracerWaypoints = 103;
// The last waypoint is given twice: reaching it leaves nothing further to walk to.
extern const TracerPoint tracerPath[kTracerWaypoints];

// The walk, carried from frame to frame: the head walks to tracerPath[tracerIndex].
struct TracerWalk {
    int32_t tracerIndex = 1;
    TracerPoint tracerHead = {0, 0};
};

// Moves the head by a tenth of frameStep, first along x, then along z towards the waypoint the
// x move leaves as the target.
void walkTracer(TracerWalk& walk, float frameStep);

// Drop offsets of arms 0 to 3 and of the centre (4) at show clock t; -1200 means fallen out.
void tracerDrops(float t, float drop[5]);

// Draws the walk as this frame's step left it.
void drawTracerPaths(float t, const TracerWalk& walk);
