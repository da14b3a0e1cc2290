#include "scenes/scene3/facing_smoke.h"

#include "gfx/float_trig.h"
#include "gfx/gl.h"
#include "gfx/primitives.h"
#include "gfx/textures.h"

#include <cmath>

namespace {

constexpr int kSprites = 15;

// Phases that spread the sprites apart; 11.1, 22.2 and 33.3 are single-precision constants.
constexpr double kPhase1 = 11.1f;
constexpr double kPhase2 = 22.2f;

// (wave + 1) / 2 - 0.1, each step held as a float: the tints were tuned with that rounding.
float channel(float wave) {
    const float half = static_cast<float>((wave + 1.0) * 0.5);
    return static_cast<float>(half - static_cast<double>(0.1f));
}

// A sprite's size pulses between 200 and 800.
float pulse(double angle) {
    return static_cast<float>(std::sin(static_cast<double>(static_cast<float>(angle))) * 300 + 500);
}

} // namespace

float facingHeading(float eyeX, float eyeZ) {
    if (eyeZ == 0) {
        // The camera never passes here; an eye on the x axis gets the quarter turn that
        // eyes on either side of it approach, and one straight above the centre the heading
        // of an eye on +z.
        if (eyeX > 0) return 90;
        if (eyeX < 0) return 270;
        return 360;
    }
    const float q = eyeX / eyeZ;
    const float a = static_cast<float>(std::atan(static_cast<double>(q)));
    float h = static_cast<float>(static_cast<long double>(a) * 180 / 3.1416 + 180);
    if (eyeZ > 0) h = static_cast<float>(h + 180.0L);
    return h;
}

SpriteTint facingSmokeTint(float t, int i) {
    const double c = t * 100.0;
    const float red = static_cast<float>(33.3f * static_cast<double>(i));
    const float green = static_cast<float>(kPhase2 * i);
    const float blue = static_cast<float>(555.5 * i);
    return {channel(floatSin(red + c)), channel(floatCos(green + c)), channel(floatSin(blue + c))};
}

void drawFacingSmoke(float eyeX, float /*eyeY*/, float eyeZ, float t) {
    const float heading = facingHeading(eyeX, eyeZ);
    // Seen from both sides as the camera circles.
    glDisable(GL_CULL_FACE);
    const double a = t * 400.0, b = t * 600.0, d = t * 700.0, e = t * 800.0;

    glPushMatrix();
    glRotatef(heading, 0, 1, 0);
    for (int i = 0; i < kSprites; ++i) {
        const double k1 = kPhase1 * i, k2 = kPhase2 * i;
        glPushMatrix();
        // One unit apart along the facing axis, sprite 14 nearest the camera.
        glTranslatef(static_cast<float>(10.0 * floatSin(b + k2)),
                     static_cast<float>(10.0 * floatCos(a + k1)), static_cast<float>(i));
        glBlendFunc(GL_ONE_MINUS_DST_COLOR, GL_ONE);
        glEnable(GL_BLEND);
        glBindTexture(GL_TEXTURE_2D, tex::smoke4);
        glEnable(GL_TEXTURE_2D);
        const SpriteTint tint = facingSmokeTint(t, i);
        glColor3f(tint.red, tint.green, tint.blue);
        drawRect(pulse(e + k2), pulse(d + k1));
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_BLEND);
        glPopMatrix();
    }
    glPopMatrix();
    glEnable(GL_CULL_FACE);
}
