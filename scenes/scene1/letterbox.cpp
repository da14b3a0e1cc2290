#include "scenes/scene1/letterbox.h"

#include "gfx/frame.h"
#include "gfx/gl.h"
#include "gfx/primitives.h"

namespace {
constexpr float kBarCentres[2] = {250, -250}; // top bar, then bottom bar
} // namespace

void drawLetterbox() {
    for (float y : kBarCentres) {
        glPushMatrix();
        glTranslatef(0, y, 1);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_BLEND);
        glColor4f(0, 0, 0, 0.8f);
        drawRect(kFrameWidth, 100);
        glDisable(GL_BLEND);
        glPopMatrix();
    }
}
