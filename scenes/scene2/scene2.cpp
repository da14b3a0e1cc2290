#include "scenes/scene2/scene2.h"

#include "gfx/float_trig.h"
#include "gfx/gl.h"
#include "gfx/screen_passes.h"
#include "gfx/textures.h"
#include "gfx/timeline.h"
#include "scenes/scene2/bullseye_groups.h"
#include "scenes/scene2/bullseyes.h"
#include "scenes/scene2/cross_shell.h"
#include "scenes/scene2/cube_field.h"
#include "scenes/scene2/glow_discs.h"
#include "scenes/scene2/letter_banners.h"
#include "scenes/scene2/ring_towers.h"
#include "scenes/scene2/sphere_rows.h"

namespace {

// The frame from which the screen bullseyes grow.
constexpr double kBullseyesFrom = 0.283815;

void lookFromCamera(float t) {
    const float s = floatSin(15.0f * t);
    const float q = static_cast<float>(25.0 * t + 2.5 * s);
    const float r = static_cast<float>(40.0 * t + 4.0 * s);
    const float sinQ = floatSin(q);
    const float cosQ = floatCos(q);
    const float sinR = floatSin(r);
    if (t >= kCutToCentre && t < kCutBack) {
        // Level with the origin on an ellipse, looking down on the middle of the floor.
        gluLookAt(400.0 * sinQ, 100.0 * sinR, 200.0 * cosQ, 0, -500, 0, 0, 1, 0);
    } else {
        // Circling low over the floor, its height swinging by 100.
        gluLookAt(275 + 500.0 * sinQ, -400 + 100.0 * sinR, 275 + 500.0 * cosQ, 275, -500, 275, 0, 1,
                  0);
    }
}

} // namespace

void drawSceneTwo(float t) {
    glDisable(GL_LIGHTING);
    // Scene one leaves its screen projection behind; without this the first frame is empty.
    setScenePerspective();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    lookFromCamera(t);

    drawCubeField(t);
    drawSphereRows(t);
    drawBullseyeGroups(t);
    drawCrossShell(t);
    drawRingTowers(t);
    drawLetterBanners(t);

    setOrthoProjection();
    drawGlowDiscs(t);
    if (t >= kBullseyesFrom) drawBullseyes(t);
    // The echo layers are made from the finished frame but not copied back into it.
    drawGlowPass(tex::sceneTwoGlow, 0.01f, 0.1f);
    setScenePerspective();
}
