#include "scenes/scene1/scene1.h"

#include "gfx/float_trig.h"
#include "gfx/frame.h"
#include "gfx/gl.h"
#include "gfx/screen_passes.h"
#include "gfx/textures.h"
#include "scenes/scene1/cube_cluster.h"
#include "scenes/scene1/letterbox.h"
#include "scenes/scene1/orbiting_blocks.h"
#include "scenes/scene1/title.h"
#include "scenes/scene1/tumbling_cubes.h"
#include "scenes/scene1/wall_tiles.h"

#include <cmath>

namespace {

// The eye circles inside the walls, always looking at the origin. Its angles are held as
// floats near 20000 and 10000, so the path moves in steps of 1/512 and 1/1024 radian.
void setRoomCamera(float t) {
    const float a = static_cast<float>(150.0 * t + 20000);
    const float b = static_cast<float>(150.0 * t + 10000);
    const float eyeX = 350 * floatSin(a);
    const float eyeY = -300 * floatCos(b);
    const float eyeZ = 350 * floatCos(a);
    gluLookAt(eyeX, eyeY, eyeZ, 0, 0, 0, 0, 1, 0);
    setScenePerspective();
}

// At strength 0 the title multiplies what lies beneath by one, and its depth is read by
// nothing after it: the copy and clear follow it in the wall picture, and the letterbox bars
// lie clear of it in the frame.
void drawTitleIfShown(float t) {
    if (titleStrength(t) > 0) drawTitle(t);
}

} // namespace

void renderWallPicture(float t) {
    // The 4:3 projection on a square viewport squeezes the wall picture to three quarters.
    glViewport(0, 0, 256, 256);
    glLoadIdentity();
    setRoomCamera(t);
    drawOrbitingBlocks(t);
    drawWallTiles(t, false);
    drawCubeCluster(t);
    setOrthoProjection();
    drawTitleIfShown(t);
    copyWindowCorner(tex::wallPicture, GL_LUMINANCE, 256);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    restoreFrameViewport();
}

void drawSceneOne(float t) {
    renderWallPicture(t);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    setRoomCamera(t);
    // Also the order in which the translucent parts blend: they are not sorted.
    drawOrbitingBlocks(t);
    drawWallTiles(t, true);
    drawTumblingCubes(t);
    drawCubeCluster(t);
    setOrthoProjection();
    // The glow layers zoom the 3-D picture alone, before any overlay.
    copyFrameTo(tex::sceneOneGlow);
    restoreFrameViewport();
    drawFeedbackZoom(0.03f);
    drawTitleIfShown(t);
    drawLetterbox();
}
