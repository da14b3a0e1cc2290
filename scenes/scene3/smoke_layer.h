// The layers of the smoke picture and the sprites of the facing smoke: one drifting column of
// smokePuff rectangles, drawn in two places with their own blend, colour and size rounding.
#pragma once

#include "gfx/gl.h"

struct SmokeDrift {
    float x, y;                     // offset from the column, each within 10
    double widthAngle, heightAngle; // radians; the size swings by 300 about 500 with their sines
};

// Layer i at show clock t.
SmokeDrift smokeDrift(float t, int i);

struct SmokeLook {
    GLenum blendSource, blendDestination;
    float red, green, blue;
};

// Layer i as a smokePuff rectangle of the size given, at its drift offset and i units along the
// column; blending and texturing are off again afterwards.
void drawSmokeLayer(const SmokeDrift& drift, int i, const SmokeLook& look, float width,
                    float height);
