#include "scenes/scene2/bullseyes.h"

#include "gfx/gl.h"
#include "gfx/primitives.h"
#include "gfx/rounded_pi.h"
#include "gfx/timeline.h"

#include <cmath>

namespace {

struct Mark {
    float x, y, sizeFactor, z;
};

// Later marks lie nearer the viewer, so they cover earlier ones with or without depth test.
constexpr Mark kMarks[8] = {
    {-350, 240, 90, 1},  {160, -100, 310, 4}, {-200, 200, 135, 7},   {-330, 150, 100, 10},
    {-30, 270, 100, 13}, {0, 20, 180, 16},    {-240, -120, 250, 19}, {300, 200, 340, 22},
};

} // namespace

void drawBullseyes(float t) {
    // Full size at the start of scene three, nothing a quarter period either side of it.
    const double pulse = std::sin(100.0 * (t - kSceneThreeStart) - kHalfPi);
    for (const Mark& m : kMarks) {
        // The sign stays: a negative radius draws the same disc turned half a turn.
        const float r = static_cast<float>(pulse * m.sizeFactor);
        glPushMatrix();
        glTranslatef(m.x, m.y, m.z);
        glColor3f(0, 0, 0);
        drawDisc(r, 80);
        glTranslatef(0, 0, 1);
        glColor3f(1, 1, 1);
        drawDisc(r * 0.7f, 60);
        glTranslatef(0, 0, 1);
        glColor3f(0, 0, 0);
        drawDisc(r * 0.3f, 40);
        glPopMatrix();
    }
}
