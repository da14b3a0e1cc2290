#include "scenes/scene2/glow_discs.h"

#include "gfx/gl.h"
#include "gfx/primitives.h"
#include "scenes/scene2/waves.h"

#include <cmath>

namespace {

struct Anchor {
    float x, y;
};

// The two clusters are identical copies at these two points of the screen.
constexpr Anchor kAnchors[2] = {{-250, 170}, {290, -180}};

} // namespace

void drawGlowDiscs(float t) {
    const double w = 100.0 * t;
    const double v = 80.0 * t;
    for (int k = 0; k < 6; ++k) {
        const float i = static_cast<float>(k);
        // Unlike the spheres, red and blue take their angles unrounded.
        const float red = shade(static_cast<float>(std::sin(kRedRate * i + w)));
        const float blue = shade(static_cast<float>(std::sin(kBlueRate * i + w)));
        const double b = kGreenRate * i + w;
        const float green = shade(floatCos(b));
        const float radius = static_cast<float>(30.0 * floatSin(b) + 50.0);
        const float dx = static_cast<float>(120.0 * floatCos(v + kRedRate * i));
        const float dy = static_cast<float>(100.0 * floatCos(b));

        for (const Anchor& a : kAnchors) {
            glPushMatrix();
            glTranslatef(a.x, a.y, 0);
            glPushMatrix();
            glTranslatef(dx, dy, 0);
            // Added to the frame, so overlaps and the white background saturate towards white.
            glBlendFunc(GL_ONE, GL_ONE);
            glEnable(GL_BLEND);
            glColor3f(red, green, blue);
            drawDisc(radius, 25);
            glDisable(GL_BLEND);
            glPopMatrix();
            glPopMatrix();
        }
    }
}
