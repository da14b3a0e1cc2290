#include "scenes/scene4/scene4.h"

#include "gfx/gl.h"
#include "gfx/screen_passes.h"
#include "gfx/textures.h"
#include "scenes/scene3/cube_field_picture.h"
#include "scenes/scene3/smoke_picture.h"
#include "scenes/scene4/eye_mask.h"
#include "scenes/scene4/greeting.h"
#include "scenes/scene4/wheel_wall.h"

void drawSceneFour(float t) {
    // The glass discs and the halos show these two pictures, refreshed every frame.
    renderCubeFieldPicture(t);
    renderSmokePicture(t);

    // Stays set into the next frame: it is also the ground of that frame's cube-field picture.
    glClearColor(0.05f, 0.05f, 0.05f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    gluLookAt(0, 0, 800, 0, 0, 0, 0, 1, 0);
    setScenePerspective();

    drawWheelWall(t);
    drawGreeting(t);

    setOrthoProjection();
    drawGlowPass(tex::lateScenesGlow, 0.01f, 0.1f);
    drawEyeMask();

    setScenePerspective();
}
