#include "scenes/scene4/wheel_wall.h"

#include "gfx/gl.h"
#include "gfx/primitives.h"
#include "gfx/textures.h"
#include "scenes/scene3/wheels.h"

// Each line is one depth, its wheels from top to bottom; the farthest depth first.
// clang-format off
const float wheelPositions[12][3] = {
    {-400, 400, -1020}, {-400, 0, -1010}, {-400, -400, -1000},
    {-400, 400,  -620}, {-400, 0,  -610}, {-400, -400,  -600},
    {-400, 400,  -220}, {-400, 0,  -210}, {-400, -400,  -200},
    {-400, 400,   200}, {-400, 0,   210}, {-400, -400,   220},
};
// clang-format on

float wheelAngle(float t, int wheel) {
    const double turned = t * 1000.0;
    const float angle = static_cast<float>(wheel * 13.6 + turned);
    return wheel % 2 == 0 ? angle : -angle;
}

void drawWheelWall(float t) {
    for (int i = 0; i < 12; ++i) {
        glPushMatrix();
        glTranslatef(wheelPositions[i][0], wheelPositions[i][1], wheelPositions[i][2]);
        glRotatef(wheelAngle(t, i), 0, 0, 1);
        // Scene four's wheels hold the dim levels of scene three's flicker.
        drawWheel({0.5f, 0.0f});
        glPopMatrix();
    }
}
