// The tall translucent boxes of the towers and column rings, and their wire cages.
#pragma once

// Solid box standing on y = 1 up to height, centred on the y axis; its texture repeats every
// 60 units down the sides.
void drawBox(float width, float height, float depth);

// Outlines of the four sides of a box one unit larger than drawBox's on every side, y 0 to
// height + 1; no top or bottom rim.
void drawBoxWire(float width, float height, float depth);
