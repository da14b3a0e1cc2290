// The twelve turning wheels on the left of scene four.
#pragma once

// Wheel centres (x, y, z) in drawing order: three rows at four depths, farthest first.
extern const float wheelPositions[12][3];

// Degrees about the view axis; even wheels turn counter-clockwise, odd ones clockwise.
float wheelAngle(float t, int wheel);

void drawWheelWall(float t);
