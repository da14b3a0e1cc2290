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

// The walk, kept from frame to frame and never reset: the head walks to tracerPath[tracerIndex].
extern int32_t tracerIndex;
extern TracerPoint tracerHead;

// Moves the head by a tenth of frameStep, first along x, then along z towards the waypoint the
// x move leaves as the target.
void walkTracer(float frameStep);

// Drop offsets of arms 0 to 3 and of the centre (4) at show clock t; -1200 means fallen out.
void tracerDrops(float t, float drop[5]);

void drawTracerPaths(float t, float frameStep);
