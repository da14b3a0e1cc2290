#include "scenes/scene3/smoke_layer.h"

#include "gfx/float_trig.h"
#include "gfx/primitives.h"
#include "gfx/textures.h"

namespace {

// The phases spread the layers apart; they are single-precision constants widened.
constexpr double kPhaseP = 11.1f;
constexpr double kPhaseQ = 22.2f;

} // namespace

SmokeDrift smokeDrift(float t, int i) {
    const double p = kPhaseP * i, q = kPhaseQ * i;
    // The angles and their sines are held as floats: the drift was tuned with that rounding.
    return {10 * floatSin(600.0 * t + q), 10 * floatCos(400.0 * t + p), 800.0 * t + q,
            700.0 * t + p};
}

void drawSmokeLayer(const SmokeDrift& drift, int i, const SmokeLook& look, float width,
                    float height) {
    glPushMatrix();
    glTranslatef(drift.x, drift.y, static_cast<float>(i));
    glBlendFunc(look.blendSource, look.blendDestination);
    glEnable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, tex::smokePuff);
    glEnable(GL_TEXTURE_2D);
    glColor3f(look.red, look.green, look.blue);
    drawRect(width, height);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glPopMatrix();
}
