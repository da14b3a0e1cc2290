#include "scenes/scene2/sphere_rows.h"

#include "gfx/gl.h"
#include "gfx/primitives.h"
#include "scenes/scene2/waves.h"

namespace {

struct Row {
    float x, y, z, turn; // turn about Y, degrees
};

// The rows are pinwheel arms: each runs outward from its anchor along its own turned X axis.
constexpr Row kRows[4] = {
    {0, -250, 1500, 0},
    {1500, -250, 0, 90},
    {0, -250, -1500, 180},
    {-1500, -250, 0, -90},
};

} // namespace

void drawSphereRows(float t) {
    const double w = 100.0 * t;
    for (const Row& row : kRows) {
        for (int k = 0; k < 6; ++k) {
            const float j = static_cast<float>(k);
            const double a = kRedRate * j + w;
            const float y = static_cast<float>(100.0 * floatSin(a));
            const float z = static_cast<float>(40.0 * floatCos(a));
            const float red = shade(floatSin(a));
            const float green = shade(floatCos(kGreenRate * j + w));
            const float blue = shade(floatSin(kBlueRate * j + w));
            const float radius = static_cast<float>(30.0 * floatSin(20.0 * j + w) + 50.0);

            glPushMatrix();
            glTranslatef(row.x, row.y, row.z);
            if (row.turn != 0) glRotatef(row.turn, 0, 1, 0);
            glPushMatrix();
            glTranslatef(75 * j, y, z);
            // Blending is off here, so the alpha changes nothing: the spheres are opaque.
            glColor4f(red, green, blue, 0.2f);
            drawSphere(2 * radius);
            glPopMatrix();
            glPopMatrix();
        }
    }
}
