#include "scenes/scene1/title.h"

#include "gfx/gl.h"
#include "gfx/primitives.h"
#include "gfx/rounded_pi.h"
#include "gfx/textures.h"

#include <cmath>

float titleStrength(float t) {
    // The strength is 0.5 - cos(70 t), clipped to [0, 1].
    float a = static_cast<float>(std::sin(70.0 * t - kHalfPi) + 0.5);
    if (a > 1)
        a = 1;
    else if (a < 0)
        a = 0;
    return a;
}

void drawTitle(float t) {
    const float a = titleStrength(t);
    glPushMatrix();
    glTranslatef(0, 0, 1);
    glBindTexture(GL_TEXTURE_2D, tex::title);
    glEnable(GL_TEXTURE_2D);
    // Bright parts of the picture darken what is beneath; a = 0 keeps it as it is.
    glBlendFunc(GL_ZERO, GL_ONE_MINUS_SRC_COLOR);
    glEnable(GL_BLEND);
    glColor4f(a, a, a, a);
    drawRect(400, 100);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
}
