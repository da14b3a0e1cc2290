// Shapes centred on the origin of the current modelview, drawn with whatever state is set.
#pragma once

void drawCube(float size);          // solid cube of edge size, 24 vertices
void drawCubeWire(float size);      // the four side faces as line loops
void drawSphere(float size);        // 20 x 20 grid of quads; size is the diameter
void drawSquare(float size);        // in z = 0, texture upright
void drawSquareOutline(float size); // the square's outline
void drawRect(float width, float height);
void drawDisc(float radius, int segments);   // filled, faces +z, texture inscribed
void drawCircle(float radius, int segments); // outline, from the top clockwise
