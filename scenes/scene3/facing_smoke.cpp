#include "scenes/scene3/facing_smoke.h"

#include "gfx/extended.h"
#include "gfx/float_trig.h"
#include "gfx/gl.h"
#include "gfx/rounded_pi.h"
#include "scenes/scene2/waves.h"
#include "scenes/scene3/smoke_layer.h"

#include <cmath>

namespace {

constexpr int kSprites = 15;

// Unlike the smoke picture's layers, the sprites take the sine of the size angle unrounded.
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
    float h = static_cast<float>(static_cast<Extended>(a) * 180 / kPi + 180);
    if (eyeZ > 0) h = static_cast<float>(h + 180.0L);
    return h;
}

SpriteTint facingSmokeTint(float t, int i) {
    // Scene two's colour recipe, with each sprite's phase held as a float.
    const double c = t * 100.0;
    const float red = static_cast<float>(kRedRate * i);
    const float green = static_cast<float>(kGreenRate * i);
    const float blue = static_cast<float>(kBlueRate * i);
    return {shade(floatSin(red + c)), shade(floatCos(green + c)), shade(floatSin(blue + c))};
}

void drawFacingSmoke(float eyeX, float /*eyeY*/, float eyeZ, float t) {
    const float heading = facingHeading(eyeX, eyeZ);
    // Seen from both sides as the camera circles.
    glDisable(GL_CULL_FACE);

    glPushMatrix();
    glRotatef(heading, 0, 1, 0);
    for (int i = 0; i < kSprites; ++i) {
        // One unit apart along the facing axis, sprite 14 nearest the camera.
        const SmokeDrift drift = smokeDrift(t, i);
        const SpriteTint tint = facingSmokeTint(t, i);
        drawSmokeLayer(drift, i, {GL_ONE_MINUS_DST_COLOR, GL_ONE, tint.red, tint.green, tint.blue},
                       pulse(drift.widthAngle), pulse(drift.heightAngle));
    }
    glPopMatrix();
    glEnable(GL_CULL_FACE);
}
