#include "show/show.h"

#include "gfx/gl.h"
#include "scenes/scene1/scene1.h"
#include "scenes/scene2/scene2.h"
#include "scenes/scene4/scene4.h"

ShowState showState;

// Each window is tested with both its bounds, so a t that is not a number falls through all.
int sceneFor(float t) {
    const double x = t;
    if (x >= 0 && x < kSceneTwoStart) return 1;
    if (x >= kSceneTwoStart && x < kSceneThreeStart) return 2;
    if (x >= kSceneThreeStart && x < kSceneFourStart) return 3;
    if (x >= kSceneFourStart) return 4;
    return 0;
}

namespace {

// What the frame at t draws, once the state has been moved on by it.
struct ShowFrame {
    int scene;
    SceneThreeFrame sceneThree;
};

// Every scene stamps the clock; scene three also walks by the step since the previous stamp,
// whichever scene left it.
ShowFrame advance(ShowState& state, float t) {
    ShowFrame frame = {};
    frame.scene = sceneFor(t);
    if (frame.scene == 0) return frame;
    const float stamp = t * 1000000.0f;
    const float frameStep = stamp - state.clockStamp;
    state.clockStamp = stamp;
    if (frame.scene == 3) frame.sceneThree = advanceSceneThree(state.sceneThree, t, frameStep);
    return frame;
}

} // namespace

void drawShow(float t) {
    const ShowFrame frame = advance(showState, t);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    switch (frame.scene) {
    case 1:
        drawSceneOne(t);
        break;
    case 2:
        drawSceneTwo(t);
        break;
    case 3:
        drawSceneThree(frame.sceneThree, t);
        break;
    case 4:
        drawSceneFour(t);
        break;
    }
}

void advanceShow(float t) {
    advance(showState, t);
}

bool stepTowards(int64_t k, int64_t target, FrameRate rate, double totalMs) {
    const float t = frameClock(k, rate, totalMs);
    if (k + 1 < target) {
        advanceShow(t);
        return false;
    }
    drawShow(t);
    return true;
}
