#include "scenes/scene4/eye_mask.h"

#include "gfx/frame.h"
#include "gfx/gl.h"
#include "gfx/primitives.h"
#include "gfx/textures.h"

void drawEyeMask() {
    glPushMatrix();
    glBindTexture(GL_TEXTURE_2D, tex::eyeMask);
    glEnable(GL_TEXTURE_2D);
    glBlendFunc(GL_ZERO, GL_SRC_COLOR);
    glEnable(GL_BLEND);
    glColor3f(1, 1, 1);
    // At z = 0 of the screen space it lies nearer than all of the scene and covers the window.
    drawRect(kFrameWidth, kFrameHeight);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
}
