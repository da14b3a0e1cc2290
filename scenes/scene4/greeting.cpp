#include "scenes/scene4/greeting.h"

#include "gfx/gl.h"
#include "gfx/primitives.h"
#include "gfx/textures.h"

namespace {
constexpr double kRiseStart = 0.899144; // the scene's first frame
} // namespace

float greetingHeight(float t) {
    return static_cast<float>((static_cast<long double>(t) - kRiseStart) * 1000.0 - 200.0);
}

void drawGreeting(float t) {
    glPushMatrix();
    glTranslatef(100, greetingHeight(t), 250);
    glBindTexture(GL_TEXTURE_2D, tex::greeting);
    glEnable(GL_TEXTURE_2D);
    glBlendFunc(GL_ONE_MINUS_DST_COLOR, GL_ONE);
    glEnable(GL_BLEND);
    glColor3f(1, 1, 1);
    drawRect(500, 500);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
}
