// Two facing walls of 10 x 10 glass cubes along the corridor, showing the cube-field picture.
#pragma once

// A point that circles the grid centre; the cubes near it turn clear. Carried from frame to
// frame: each frame sees the place the previous one left it.
struct ProbePoint {
    float x, y, z;
};

// Moves the probe to where the frame at t leaves it; returns where it stood for this frame.
ProbePoint advanceProbe(ProbePoint& probePoint, float t);

// What every cube (u along z, v along y) does this frame. Both walls share these values;
// wall 1 reads its hops in reversed u.
struct CubeWallTables {
    float hop[10][10];        // along x, into the corridor
    float drop[10][10];       // along y, downwards; a cube at -1200 has fallen out
    float visibility[10][10]; // 0 to 1, by the distance to the probe
};

// Fills the tables for show clock t, seen against the probe where this frame finds it.
void buildCubeWallTables(float t, const ProbePoint& probe, CubeWallTables& out);

void drawCubeWalls(float t, const ProbePoint& probe);

// A square of edge size in z = 0 showing cell (a, b) of a 10 x 10 grid over the bound texture.
void drawTextureTile(float size, int a, int b);
