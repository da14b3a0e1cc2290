#include "scenes/scene1/orbiting_blocks.h"

#include "gfx/extended.h"
#include "gfx/gl.h"
#include "gfx/primitives.h"

#include <cmath>

CubePose orbitingBlock(int k, float t) {
    const float n = static_cast<float>(k);
    // The phases are double constants; the sums and the sines are kept in extended precision.
    const Extended m = n;
    const double w = 100.0 * t;
    return {static_cast<float>(1500 * std::sin(1.72 * m + w)),
            static_cast<float>(1500 * std::sin(1.54 * m + w)),
            static_cast<float>(1500 * std::cos(1.33 * m + w)),
            t * (1200 + 60 * n),
            t * (1400 - 50 * n),
            t * (1500 + 45 * n)};
}

void drawOrbitingBlocks(float t) {
    for (int k = 0; k < 5; ++k) {
        const CubePose p = orbitingBlock(k, t);
        glPushMatrix();
        glTranslatef(p.x, p.y, p.z);
        glRotatef(p.ax, 1, 0, 0);
        glRotatef(p.ay, 0, 1, 0);
        glRotatef(p.az, 1, 0, 1);
        glColor3f(0.8f, 0.9f, 0.9f);
        drawCube(350);
        glPopMatrix();
    }
}
