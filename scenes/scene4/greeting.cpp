#include "scenes/scene4/greeting.h"

#include "gfx/extended.h"
#include "gfx/gl.h"
#include "gfx/primitives.h"
#include "gfx/textures.h"
#include "gfx/timeline.h"

// Rises from the scene's first frame.
float greetingHeight(float t) {
    return static_cast<float>((static_cast<Extended>(t) - kSceneFourStart) * 1000.0 - 200.0);
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
