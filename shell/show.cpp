#include "shell/show.h"

#include "gfx/gl.h"
#include "scenes/scene1/scene1.h"
#include "scenes/scene2/scene2.h"
#include "scenes/scene3/scene3.h"
#include "scenes/scene4/scene4.h"

float showClock(DWORD playMs, double totalMs) {
    return static_cast<float>(static_cast<long double>(playMs) / totalMs);
}

void drawShow(float t) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    const double x = t;
    if (x >= 0 && x < kSceneTwoStart)
        drawSceneOne(t);
    else if (x >= kSceneTwoStart && x < kSceneThreeStart)
        drawSceneTwo(t);
    else if (x >= kSceneThreeStart && x < kSceneFourStart)
        drawSceneThree(t);
    else if (x >= kSceneFourStart)
        drawSceneFour(t);
    glutSwapBuffers();
}
