#include "scenes/scene2/cross_shell.h"

#include "gfx/gl.h"
#include "gfx/primitives.h"
#include "gfx/textures.h"
#include "scenes/scene2/waves.h"

void drawCrossShell(float t) {
    glDisable(GL_CULL_FACE); // stamps behind the centre face away from the camera
    const double turn = 1000.0 * t;
    const double spin = 10000.0 * t;
    for (int k = 0; k < 200; ++k) {
        glPushMatrix();
        glTranslatef(275, -400, 275);
        // The angles grow without bound and are handed over as they are.
        glRotatef(static_cast<float>(-29 * k - turn), 1, 0, 0);
        glRotatef(static_cast<float>(-32 * k - turn), 0, 1, 0);
        glTranslatef(0, 0, 2000);
        glTranslatef(0, static_cast<float>(150.0 * floatSin(double(22.2f) * k)), 0);
        glRotatef(static_cast<float>(double(33.3f) * k + spin), 0, 0, 1);
        glBindTexture(GL_TEXTURE_2D, tex::crossShellSkin);
        glEnable(GL_TEXTURE_2D);
        // Multiplied into the frame: white leaves it, the dark cross prints.
        glBlendFunc(GL_ZERO, GL_SRC_COLOR);
        glEnable(GL_BLEND);
        glColor4f(1, 1, 1, 1);
        drawSquare(100);
        glDisable(GL_BLEND);
        glDisable(GL_TEXTURE_2D);
        glPopMatrix();
    }
    glEnable(GL_CULL_FACE);
}
