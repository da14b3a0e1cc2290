#include "scenes/scene3/cube_field_picture.h"

#include "gfx/frame.h"
#include "gfx/gl.h"
#include "gfx/textures.h"
#include "scenes/scene2/cube_field.h"

#include "gfx/screen_passes.h"

#include <cmath>

namespace {

constexpr GLsizei kPictureSide = 512;

} // namespace

void renderCubeFieldPicture(float t) {
    // The eye circles at radius 500, a hundred units above the floor it looks down on.
    const double w = 25.0 * t;
    gluLookAt(500 * std::sin(w), -400, 500 * std::cos(w), 275, -500, 275, 0, 1, 0);

    // Drawn at full size with the 4:3 projection; only the lower-left corner is kept, so only
    // that corner is rasterised. The scissor leaves the pixels inside it as they would be.
    glScissor(0, 0, kPictureSide, kPictureSide);
    glEnable(GL_SCISSOR_TEST);
    glDisable(GL_LIGHTING);
    drawCubeField(t);
    glEnable(GL_LIGHTING);
    glDisable(GL_SCISSOR_TEST);

    copyWindowCorner(tex::cubeFieldPicture, GL_RGB, kPictureSide);

    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    restoreFrameViewport();
    glLoadIdentity();
}
