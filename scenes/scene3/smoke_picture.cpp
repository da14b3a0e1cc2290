#include "scenes/scene3/smoke_picture.h"

#include "gfx/float_trig.h"
#include "gfx/frame.h"
#include "gfx/gl.h"
#include "gfx/primitives.h"
#include "gfx/screen_passes.h"
#include "gfx/textures.h"
#include "scenes/scene3/smoke_layer.h"

namespace {

constexpr int kLayers = 15;
constexpr int kPictureSide = 512;

} // namespace

void renderSmokePicture(float t) {
    glViewport(0, 0, kPictureSide, kPictureSide);
    gluLookAt(0, 0, 650, 0, 0, 0, 0, 1, 0);

    // On white this keeps red and takes green and blue away where the smoke is bright.
    const SmokeLook look = {GL_ZERO, GL_ONE_MINUS_SRC_COLOR, 0, 1, 1};
    for (int i = 0; i < kLayers; ++i) {
        const SmokeDrift drift = smokeDrift(t, i);
        drawSmokeLayer(drift, i, look,
                       static_cast<float>(300.0 * floatSin(drift.widthAngle) + 500.0),
                       static_cast<float>(300.0 * floatSin(drift.heightAngle) + 500.0));
    }

    // v becomes v (1 - v): the white ground goes black and the smoke a faint glow.
    setOrthoProjection();
    glBlendFunc(GL_ZERO, GL_ONE_MINUS_DST_COLOR);
    glEnable(GL_BLEND);
    glColor3f(1, 1, 1);
    drawRect(kFrameWidth, kFrameHeight);
    glDisable(GL_BLEND);

    setScenePerspective();

    copyWindowCorner(tex::smokePicture, GL_RGB, kPictureSide);

    // Nothing of the picture may show in the frame itself.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    restoreFrameViewport();
    glLoadIdentity();
}
