// The first city of scene three: seventy towers in two copies that grow, rise and swing.
#pragma once

struct Tower {
    float width, height, depth; // along x, y, z
    float x, y, z;              // base
};
extern const Tower towerTable[70];

// Where tower i of copy k stands at show clock t, before it is handed to GL.
struct TowerPose {
    float e;                    // growth: nothing below 0, fully grown from 1
    float width, height, depth; // box size, zero before growth starts
    float lift;                 // raises the tower to the common centre height
    float swing;                // degrees about the x axis, zero or negative
};
TowerPose towerPose(float t, int copy, int i);

void drawTowers(float t);
