#include "scenes/scene3/column_rings.h"

#include "gfx/float_trig.h"
#include "gfx/gl.h"
#include "gfx/rounded_pi.h"
#include "gfx/textures.h"
#include "gfx/timeline.h"
#include "scenes/scene3/boxes.h"

#include <cmath>

namespace {
constexpr double kGrowStart = kSceneThreeStart;
constexpr double kT0 = kSecondHalf;          // shrink and lift
constexpr double kT1 = kSecondHalfFromStart; // glow and tumble, an instant later
constexpr float kGrey = 0.9f;
} // namespace

ColumnPose columnPose(float t, int ring, int i) {
    const float fi = static_cast<float>(i);
    const double radius = 100.0 * ring + 600 + (t >= kT0 ? -100 : 0);
    const double base = 200.0 * ring + 200;
    const double phase = 22.2 * ring;

    ColumnPose p;
    p.e = static_cast<float>(((t - kGrowStart) - 0.0005 * i - 0.085 - 0.025 * ring) * 100);
    const float a = static_cast<float>(i * kTwoPi / 90 + phase);
    // The scatter off the circle and the heights come from fixed per-column sines.
    p.x = static_cast<float>(radius * floatCos(a) + 50.0 * floatSin(22.2f * fi));
    p.z = static_cast<float>(radius * floatSin(a) + 30.0 * floatSin(11.1f * fi));
    const float h = static_cast<float>(100.0 * floatSin(33.3f * fi) + base);
    p.lift = t >= kT0 ? (600 - h) / 2 : 0;

    float dh = 0;
    if (p.e <= 0)
        dh = -h;
    else if (p.e < 1)
        dh = static_cast<float>(-h * std::cos(kHalfPi * p.e));
    p.height = h + dh;

    if (t >= kT1) {
        // Only the crest of a wave travelling round the ring glows.
        const float wave = static_cast<float>(0.2f * fi + 400.0 * t);
        float g = static_cast<float>(4.0 * floatSin(wave) - 3.1f);
        if (g < 0) g = 0;
        const float c[4] = {static_cast<float>(0.8 * g + 0.1), static_cast<float>(g + 0.1),
                            static_cast<float>(g + 0.1), 0.4f};
        for (int k = 0; k < 4; ++k) p.colour[k] = c[k];
    } else {
        // A new column flashes from red to grey-white as it grows.
        const float f = p.e >= 0 && p.e < 1.8f ? static_cast<float>(0.5 * p.e - 0.9) : 0;
        const float c[4] = {kGrey, kGrey + f, kGrey + f, 1};
        for (int k = 0; k < 4; ++k) p.colour[k] = c[k];
    }
    return p;
}

void drawColumnRings(float t) {
    const bool glow = t >= kT1;
    const float yaw = glow ? static_cast<float>((kT1 - t) * 2000) : 0;
    const float roll = glow ? static_cast<float>((kT1 - t) * 2300) : 0;
    for (int ring = 0; ring < 3; ++ring)
        for (int i = 0; i < 90; ++i) {
            const ColumnPose p = columnPose(t, ring, i);
            if (p.e < 0) continue;
            glPushMatrix();
            glRotatef(roll, 0, 0, 1);
            // The middle ring turns against the other two.
            glRotatef(ring == 1 ? -yaw : yaw, 0, 1, 0);
            glTranslatef(p.x, p.lift - 400, p.z);
            glBindTexture(GL_TEXTURE_2D, tex::structureSkin);
            glEnable(GL_TEXTURE_2D);
            glBlendFunc(GL_SRC_ALPHA, glow ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
            glEnable(GL_BLEND);
            glColor4f(p.colour[0], p.colour[1], p.colour[2], p.colour[3]);
            drawBox(25, p.height, 25);
            glDisable(GL_BLEND);
            glDisable(GL_TEXTURE_2D);
            glColor3f(0.5f, 0.5f, 0.5f);
            drawBoxWire(25, p.height, 25);
            glPopMatrix();
        }
}
