#include "tools/scene3_preview/pass_timing.h"

#include "gfx/gl.h"
#include "gfx/screen_passes.h"
#include "gfx/textures.h"
#include "scenes/scene2/bullseyes.h"
#include "scenes/scene3/camera.h"
#include "scenes/scene3/column_rings.h"
#include "scenes/scene3/cube_walls.h"
#include "scenes/scene3/disc_carousel.h"
#include "scenes/scene3/facing_smoke.h"
#include "scenes/scene3/pictures.h"
#include "scenes/scene3/screen_overlays.h"
#include "scenes/scene3/towers.h"
#include "scenes/scene3/tracer_paths.h"
#include "scenes/scene3/wheels.h"

#include <chrono>

const char* const sceneThreePassNames[kSceneThreePasses] = {
    "cube-field picture", "smoke picture", "clear and camera", "tracer paths",
    "disc carousel",      "towers",        "column rings",     "wheels",
    "cube walls",         "facing smoke",  "bullseyes",        "copy into target5",
    "zoom layers",        "overlays",
};

namespace {

using Clock = std::chrono::steady_clock;

// llvmpipe defers its work: a pass is done only once glFinish returns.
struct PassTimer {
    double* ms;
    Clock::time_point last = Clock::now();
    void lap(int pass) {
        glFinish();
        const Clock::time_point now = Clock::now();
        ms[pass] += std::chrono::duration<double, std::milli>(now - last).count();
        last = now;
    }
};

void setPerspective() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60, 1.3333333333333333, 1, 2500);
    glMatrixMode(GL_MODELVIEW);
}

} // namespace

// The same calls as drawSceneThree, in its order; keep the two in step.
void drawSceneThreeTimed(float t, double ms[kSceneThreePasses]) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    PassTimer timer{ms};
    const float scaled = t * 1000000.0f;
    const float frameStep = scaled - clockStamp;
    clockStamp = scaled;
    const bool secondHalf = t >= 0.599523;

    setPerspective();
    renderCubeFieldPicture(t);
    timer.lap(0);
    renderSmokePicture(t);
    timer.lap(1);
    if (secondHalf)
        glClearColor(0, 0, 0, 0);
    else
        glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const SceneThreeCamera cam = sceneThreeCamera(t);
    gluLookAt(cam.eye[0], cam.eye[1], cam.eye[2], cam.centre[0], cam.centre[1], cam.centre[2], 0, 1,
              0);
    glEnable(GL_LIGHTING);
    setPerspective();
    timer.lap(2);
    drawTracerPaths(t, frameStep);
    timer.lap(3);
    drawDiscCarousel(t);
    timer.lap(4);
    drawTowers(t);
    timer.lap(5);
    drawColumnRings(t);
    timer.lap(6);
    if (secondHalf) drawWheels(t);
    timer.lap(7);
    drawCubeWalls(t);
    timer.lap(8);
    if (secondHalf) {
        glClearColor(0, 0, 0, 1);
        drawFacingSmoke(cam.eye[0], cam.eye[1], cam.eye[2], t);
        glEnable(GL_DEPTH_TEST);
    }
    timer.lap(9);
    setOrthoProjection();
    if (t <= 0.315231) drawBullseyes(t);
    timer.lap(10);
    copyFrameTo(target5);
    timer.lap(11);
    glViewport(0, 0, 800, 600);
    drawTextureZoom(0.01f, 0.1f, target5);
    timer.lap(12);
    drawSideBars();
    if (secondHalf) {
        drawStrobe(t);
        drawBlackFade(t);
    }
    setPerspective();
    timer.lap(13);
}
