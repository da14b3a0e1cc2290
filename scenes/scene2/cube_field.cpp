#include "scenes/scene2/cube_field.h"

#include "gfx/gl.h"
#include "gfx/primitives.h"
#include "gfx/textures.h"
#include "scenes/scene2/waves.h"

namespace {

struct Cube {
    float x, z, size, red, green, blue;
};

// The edge row and column divide by a zero index; taking those quotients as zero keeps the
// floor whole instead of handing GL infinite sizes and colours.
double quotient(double num, float den) {
    return den == 0 ? 0.0 : num / den;
}

Cube cubeAt(int col, int row, double w) {
    const float i = static_cast<float>(col), j = static_cast<float>(row);
    const float e = (i - 10) + j;
    const float a1 = static_cast<float>(0.8f * quotient(double(j) * j, i) + w);
    const float c1 = floatCos(a1);
    const float s2 = floatSin(w * e + double(0.9f) * e);
    float size = static_cast<float>(100.0 * s2 * c1 + 50.0);
    if (size > 100) size = 100; // the heave peaks at 150; cubes stop growing at 100
    const double ratio = quotient(double(i) * i, j);
    return {-1200.0f + 120 * i,
            -925.0f + 120 * j,
            size,
            shade(floatSin(0.8f * ratio + w)),
            shade(c1),
            shade(floatSin(0.9f * ratio + w))};
}

} // namespace

void drawCubeField(float t) {
    const double w = 100.0 * t;
    for (int i = 0; i < 20; ++i) {
        for (int j = 0; j < 20; ++j) {
            const Cube c = cubeAt(i, j, w);
            glPushMatrix();
            glTranslatef(c.x, -500, c.z);
            glColor4f(c.red, c.green, c.blue, 0.3f);
            glBindTexture(GL_TEXTURE_2D, tex::floorCubeSkin);
            glEnable(GL_TEXTURE_2D);
            // A tenth smaller than the outline, so its own faces do not hide the black edges.
            drawCube(static_cast<float>(c.size - 0.1));
            glDisable(GL_TEXTURE_2D);
            glColor3f(0, 0, 0);
            drawCubeWire(c.size);
            glPopMatrix();
        }
    }
}
