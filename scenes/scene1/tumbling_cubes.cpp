#include "scenes/scene1/tumbling_cubes.h"

#include "gfx/float_trig.h"
#include "gfx/gl.h"
#include "gfx/primitives.h"

#include <cmath>

namespace {

// Each angle sum is rounded to float before the sine, the sine before it is scaled.

} // namespace

TumblingCube tumblingCube(int i, float t) {
    const double p = static_cast<double>(0.15f) * i;
    const double ux = p + 200.0 * t, uy = 210.0 * t + p, uz = 220.0 * t + p;
    // The second string runs the same path with sines and cosines swapped.
    const bool second = i >= 6;
    const float x = 300 * (second ? floatCos(ux) : floatSin(ux));
    const float y = 250 * (second ? floatSin(uy) : floatCos(uy));
    const float z = 300 * (second ? floatCos(uz) : floatSin(uz));
    const float s = static_cast<float>(50 * std::sin(0.2 * i + 100.0 * t + 0.5));
    const float n = static_cast<float>(200 * i);
    return {{x, y, z, t * (2800 + n), t * (4000 + n), t * (4400 + n)}, static_cast<float>(s - 0.1)};
}

void drawTumblingCubes(float t) {
    for (int i = 0; i < 12; ++i) {
        const TumblingCube c = tumblingCube(i, t);
        glPushMatrix();
        glTranslatef(c.pose.x, c.pose.y, c.pose.z);
        glRotatef(c.pose.ax, 1, 0, 0);
        glRotatef(c.pose.ay, 0, 1, 0);
        glRotatef(c.pose.az, 0, 0, 1);
        glColor3f(0.8f, 0.9f, 1);
        drawCube(c.edge);
        glPopMatrix();
    }
}
