// Three rings of 90 columns around the origin that rise, flash, float up and tumble.
#pragma once

// Column i of ring k at show clock t, before it is handed to GL.
struct ColumnPose {
    float e;      // growth: nothing below 0, fully grown from 1
    float x, z;   // on the ground plane, before the tumble
    float height; // of the box, zero before growth starts
    float lift;   // raises the column to the common centre height
    float colour[4];
};
ColumnPose columnPose(float t, int ring, int i);

void drawColumnRings(float t);
