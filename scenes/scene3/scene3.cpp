#include "scenes/scene3/scene3.h"

#include "gfx/gl.h"
#include "gfx/screen_passes.h"
#include "gfx/textures.h"
#include "gfx/timeline.h"
#include "scenes/scene2/bullseyes.h"
#include "scenes/scene3/camera.h"
#include "scenes/scene3/column_rings.h"
#include "scenes/scene3/facing_smoke.h"
#include "scenes/scene3/cube_field_picture.h"
#include "scenes/scene3/smoke_picture.h"
#include "scenes/scene3/screen_overlays.h"
#include "scenes/scene3/towers.h"
#include "scenes/scene3/wheels.h"

namespace {

// The bullseyes scene two started shrink to nothing here.
constexpr double kBullseyesUntil = 0.315231;

} // namespace

SceneThreeFrame advanceSceneThree(SceneThreeState& state, float t, float frameStep) {
    SceneThreeFrame frame;
    walkTracer(state.tracer, frameStep);
    frame.tracer = state.tracer;
    frame.carousel = advanceCarousel(state.carouselState, t);
    frame.probe = advanceProbe(state.probePoint, t);
    return frame;
}

void drawSceneThree(const SceneThreeFrame& frame, float t) {
    const bool secondHalf = t >= kSecondHalf;

    setScenePerspective();
    renderCubeFieldPicture(t);
    // Only the wheels show the smoke picture, and they come with the second half. What the pass
    // would leave (full viewport, the scene's perspective, a cleared frame) the cube-field pass
    // and the lines below leave too, and every later effect binds and colours for itself.
    if (secondHalf) renderSmokePicture(t);

    if (secondHalf)
        glClearColor(0, 0, 0, 0);
    else
        glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    const SceneThreeCamera cam = sceneThreeCamera(t);
    gluLookAt(cam.eye[0], cam.eye[1], cam.eye[2], cam.centre[0], cam.centre[1], cam.centre[2], 0, 1,
              0);
    glEnable(GL_LIGHTING);
    setScenePerspective();

    drawTracerPaths(t, frame.tracer);
    drawDiscCarousel(frame.carousel);
    drawTowers(t);
    drawColumnRings(t);
    if (secondHalf) drawWheels(t);
    drawCubeWalls(t, frame.probe);
    if (secondHalf) {
        // Left for the next frame, whose cube-field picture is drawn on it.
        glClearColor(0, 0, 0, 1);
        drawFacingSmoke(cam.eye[0], cam.eye[1], cam.eye[2], t);
        glEnable(GL_DEPTH_TEST);
    }

    setOrthoProjection();
    if (t <= kBullseyesUntil) drawBullseyes(t);
    drawGlowPass(tex::lateScenesGlow, 0.01f, 0.1f);

    drawSideBars();
    if (secondHalf) {
        drawStrobe(t);
        // Once the fade has cleared it blends nothing in, and its depth is read by nothing after
        // it this frame.
        if (blackFadeAlpha(t) > 0) drawBlackFade(t);
    }
    setScenePerspective();
}
