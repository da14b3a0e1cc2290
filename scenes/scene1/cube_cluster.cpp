#include "scenes/scene1/cube_cluster.h"

#include "gfx/curves.h"
#include "gfx/gl.h"
#include "gfx/primitives.h"
#include "gfx/timeline.h"

#include <cmath>

const float clusterCorners[8][3] = {
    {-28, 28, 28},  {28, 28, 28},  {28, -28, 28},  {-28, -28, 28},
    {-28, 28, -28}, {28, 28, -28}, {28, -28, -28}, {-28, -28, -28},
};

namespace {

// Four cycles of eight slots each: start inclusive, end exclusive.
struct Cycle {
    double start, end;
};
constexpr Cycle kCycles[4] = {
    {0, 0.02503},
    {0.02503, 0.050064},
    {0.050064, 0.075104},
    {0.075104, kSceneTwoStart},
};

bool inSlot(const float (&breakpoints)[9], int k, float t) {
    return breakpoints[k] <= t && t < breakpoints[k + 1];
}

// A slot's motion takes 0.003 of the clock; the cube rests at home for the slot's remainder.
float motionEnd(const float (&breakpoints)[9], int k) {
    return breakpoints[k] + 0.003f;
}

} // namespace

void clusterBreakpoints(float t, float (&breakpoints)[9]) {
    int c = 0;
    while (c < 3 && static_cast<double>(t) >= kCycles[c].end) ++c;
    setBreakpoints(static_cast<float>(kCycles[c].start), static_cast<float>(kCycles[c].end),
                   breakpoints);
}

void placeClusterCubeHome(int i, CubePose* cubes) {
    cubes[i].x = clusterCorners[i][0];
    cubes[i].y = clusterCorners[i][1];
    cubes[i].z = clusterCorners[i][2];
}

void animateClusterCube(int i, const float (&breakpoints)[9], CubePose* cubes, float t) {
    const float start = breakpoints[i];
    const float end = motionEnd(breakpoints, i);
    if (i < 7) {
        auto out = [&](float h) { return pingPong(t, start, end, h, 2.5f * h); };
        cubes[i].x = out(clusterCorners[i][0]);
        cubes[i].y = out(clusterCorners[i][1]);
        cubes[i].z = out(clusterCorners[i][2]);
        return;
    }
    const float a = t >= end ? end : t;
    const float u = (a - start) / (end - start);
    // h (1 + 12 u (1 - u)): four times the corner at u = 0.5, home again at u = 1.
    auto swell = [u](float h) {
        const float big = 3 * h;
        return static_cast<float>(4.0 * big * u - 4.0 * big * u * u + h);
    };
    for (int k = 0; k < 8; ++k) {
        cubes[k].x = swell(clusterCorners[k][0]);
        cubes[k].y = swell(clusterCorners[k][1]);
        cubes[k].z = swell(clusterCorners[k][2]);
    }
}

void poseCubeCluster(float t, CubePose* cubes) {
    float breakpoints[9];
    clusterBreakpoints(t, breakpoints);
    // Slot 7 comes last, so its burst overrides the homes set before it.
    for (int i = 0; i < 8; ++i) {
        if (inSlot(breakpoints, i, t))
            animateClusterCube(i, breakpoints, cubes, t);
        else
            placeClusterCubeHome(i, cubes);
    }
    // A multiple of t, not an accumulated rate: the angle jumps as the burst starts and ends.
    const double spin = inSlot(breakpoints, 7, t) ? 5 : 1.5;
    for (int k = 0; k < 8; ++k) {
        cubes[k].ax = static_cast<float>(spin * 12000 * t);
        cubes[k].ay = static_cast<float>(spin * 8000 * t);
        cubes[k].az = static_cast<float>(spin * 8000 * t);
    }
}

void drawCubeCluster(float t) {
    CubePose clusterCubes[8];
    poseCubeCluster(t, clusterCubes);
    // Solids and outlines beat in opposite phase.
    const double beat = static_cast<float>(100.0 * t);
    const float solidAlpha = std::fabs(static_cast<float>(std::sin(beat)));
    const float outlineAlpha = std::fabs(static_cast<float>(std::cos(beat)));
    for (const CubePose& c : clusterCubes) {
        glPushMatrix();
        glTranslatef(c.x, c.y, c.z);
        glRotatef(c.ax, 1, 0, 0);
        glRotatef(c.ay, 0, 1, 0);
        glRotatef(c.az, 0, 0, 1);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_BLEND);
        glColor4f(0.8f, 0.9f, 0.9f, solidAlpha);
        drawCube(49);
        glColor4f(0.05f, 0.05f, 0.05f, outlineAlpha);
        glLineWidth(1);
        drawCubeWire(50);
        glDisable(GL_BLEND);
        glPopMatrix();
    }
}
