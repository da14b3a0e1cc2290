#include "scenes/scene3/smoke_picture.h"

#include "gfx/float_trig.h"
#include "gfx/gl.h"
#include "gfx/primitives.h"
#include "gfx/screen_passes.h"
#include "gfx/textures.h"

#include <cmath>

namespace {

constexpr int kLayers = 15;
constexpr int kPictureSide = 512;

// The phases spread the layers apart; they are single-precision constants widened.
constexpr double kPhaseP = 11.1f;
constexpr double kPhaseQ = 22.2f;

// Angles and their sines are held as floats: the drift was tuned with that rounding.

} // namespace

void renderSmokePicture(float t) {
    glViewport(0, 0, kPictureSide, kPictureSide);
    gluLookAt(0, 0, 650, 0, 0, 0, 0, 1, 0);

    const double s4 = 400.0 * t, s6 = 600.0 * t, s7 = 700.0 * t, s8 = 800.0 * t;
    for (int i = 0; i < kLayers; ++i) {
        glPushMatrix();
        const double p = kPhaseP * i, q = kPhaseQ * i;
        glTranslatef(10 * floatSin(s6 + q), 10 * floatCos(s4 + p), static_cast<float>(i));
        // On white this keeps red and takes green and blue away where the smoke is bright.
        glBlendFunc(GL_ZERO, GL_ONE_MINUS_SRC_COLOR);
        glEnable(GL_BLEND);
        glBindTexture(GL_TEXTURE_2D, tex::smoke4);
        glEnable(GL_TEXTURE_2D);
        glColor3f(0, 1, 1);
        drawRect(static_cast<float>(300.0 * floatSin(s8 + q) + 500.0),
                 static_cast<float>(300.0 * floatSin(s7 + p) + 500.0));
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_BLEND);
        glPopMatrix();
    }

    // v becomes v (1 - v): the white ground goes black and the smoke a faint glow.
    setOrthoProjection();
    glBlendFunc(GL_ZERO, GL_ONE_MINUS_DST_COLOR);
    glEnable(GL_BLEND);
    glColor3f(1, 1, 1);
    drawRect(800, 600);
    glDisable(GL_BLEND);

    setScenePerspective();

    glBindTexture(GL_TEXTURE_2D, tex::target7);
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 0, 0, kPictureSide, kPictureSide, 0);

    // Nothing of the picture may show in the frame itself.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(0, 0, 800, 600);
    glLoadIdentity();
}
