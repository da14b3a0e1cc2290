#include "scenes/scene2/ring_towers.h"

#include "gfx/gl.h"
#include "gfx/primitives.h"
#include "scenes/scene2/waves.h"

namespace {

struct Tower {
    float x, y, z;
};

constexpr Tower kTowers[8] = {
    {300, -400, 180}, {755, -410, 555},  {1555, -400, 0},  {-200, -420, -300},
    {450, -420, 700}, {800, -420, -500}, {100, -420, 100}, {-600, -420, 380},
};

// Each ring completes this much growth later than the one below it, each tower later than
// the one before; the gate runs at 15000 units per unit of the show clock from t = 0.1.
constexpr float kRingDelay = 50;
constexpr float kTowerDelay = 180;

} // namespace

void drawRingTowers(float t) {
    glDisable(GL_CULL_FACE); // the fins show both faces
    const float spin = static_cast<float>(-10000.0 * t);
    const double gate = 15000.0 * (static_cast<double>(t) - static_cast<double>(0.1f));
    const double w = 100.0 * t;
    for (int i = 0; i < 8; ++i) {
        const Tower& tower = kTowers[i];
        glPushMatrix();
        glTranslatef(tower.x, tower.y, tower.z);
        glRotatef(spin, 0, 1, 0);
        for (int n = 0; n < 8; ++n) {
            glPushMatrix();
            float g = static_cast<float>(gate - kRingDelay * n - kTowerDelay * i);
            if (g >= 0) g = 0;
            float radius = static_cast<float>(15.0 * floatSin(double(23.2f) * n + w) + 20.0 + g);
            if (radius < 0) radius = 0; // a ring not yet due is absent, not turned inside out
            glTranslatef(0, 70.0f * n, 0);
            glRotatef(10.0f * n, 0, 1, 0);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            glEnable(GL_BLEND);
            glColor4f(0, 0, 0, 0.85f);
            drawDisc(radius, 30);
            glDisable(GL_BLEND);
            glColor3f(1, 1, 1);
            drawCircle(radius, 30);
            glPopMatrix();
        }
        glPopMatrix();
    }
    glEnable(GL_CULL_FACE);
}
