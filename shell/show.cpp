#include "shell/show.h"

#include "gfx/gl.h"
#include "gfx/textures.h"
#include "scenes/scene1/scene1.h"
#include "scenes/scene2/scene2.h"
#include "scenes/scene3/scene3.h"
#include "scenes/scene4/scene4.h"

float showClock(DWORD playMs, double totalMs) {
    return static_cast<float>(static_cast<long double>(playMs) / totalMs);
}

namespace {
void (*const kDirectors[5])(float) = {nullptr, drawSceneOne, drawSceneTwo, drawSceneThree,
                                      drawSceneFour};
} // namespace

// Each window is tested with both its bounds, so a t that is not a number falls through all.
int sceneFor(float t) {
    const double x = t;
    if (x >= 0 && x < kSceneTwoStart) return 1;
    if (x >= kSceneTwoStart && x < kSceneThreeStart) return 2;
    if (x >= kSceneThreeStart && x < kSceneFourStart) return 3;
    if (x >= kSceneFourStart) return 4;
    return 0;
}

void drawShowFrame(float t) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    if (const int scene = sceneFor(t)) kDirectors[scene](t);
}

void drawShow(float t) {
    drawShowFrame(t);
    glutSwapBuffers();
}

void advanceShow(float t) {
    switch (sceneFor(t)) {
    case 0:
        return;
    case 3:
        advanceSceneThree(t);
        return;
    default:
        clockStamp = t * 1000000.0f; // the other directors only store the clock
    }
}
