#include "scenes/scene3/screen_overlays.h"

#include "gfx/frame.h"
#include "gfx/gl.h"
#include "gfx/primitives.h"
#include "gfx/float_trig.h"
#include "gfx/timeline.h"

namespace {

constexpr double kFadeFrom = kSecondHalf;

// v becomes v (1 - v): white turns black and mid-tones dim.
void beginInversion() {
    glBlendFunc(GL_ZERO, GL_ONE_MINUS_DST_COLOR);
    glEnable(GL_BLEND);
    glColor3f(1, 1, 1);
}

} // namespace

void drawSideBars() {
    glPushMatrix();
    beginInversion();
    glTranslatef(-350, 0, 0);
    drawRect(100, kFrameHeight);
    glTranslatef(700, 0, 0);
    drawRect(100, kFrameHeight);
    glDisable(GL_BLEND);
    glPopMatrix();
}

bool strobeIsOn(float t) {
    return floatSin(static_cast<float>(20000.0 * t)) >= 0;
}

void drawStrobe(float t) {
    if (!strobeIsOn(t)) return;
    glPushMatrix();
    beginInversion();
    drawRect(kFrameWidth, kFrameHeight);
    glDisable(GL_BLEND);
    glPopMatrix();
}

float blackFadeAlpha(float t) {
    if (t < kFadeFrom) return 1;
    const float a = static_cast<float>((kFadeFrom - t) * 100 + 1);
    return a < 0 ? 0 : a;
}

void drawBlackFade(float t) {
    glPushMatrix();
    glTranslatef(0, 0, 2);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    glColor4f(0, 0, 0, blackFadeAlpha(t));
    drawRect(kFrameWidth, kFrameHeight);
    glDisable(GL_BLEND);
    glPopMatrix();
}
