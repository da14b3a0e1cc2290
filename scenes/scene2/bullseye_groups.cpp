#include "scenes/scene2/bullseye_groups.h"

#include "gfx/gl.h"
#include "gfx/primitives.h"
#include "scenes/scene2/waves.h"

namespace {

struct Turn {
    float angle, x, y, z; // no call when the angle is zero
};

struct Group {
    float x, y, z;
    Turn own; // applied after the half turn about Y every group makes
};

// One group lies below the floor facing up; the others stand around it facing its middle.
constexpr Group kGroups[5] = {
    {275, -800, 275, {-90, 1, 0, 0}},   {275, -200, 1700, {0, 0, 1, 0}},
    {1700, -200, 275, {90, 0, 1, 0}},   {275, -200, -1700, {180, 0, 1, 0}},
    {-1700, -200, 275, {-90, 0, 1, 0}},
};

} // namespace

void drawBullseyeGroups(float t) {
    for (const Group& group : kGroups) {
        for (int j = 0; j < 10; ++j) {
            const float x = static_cast<float>(600.0 * floatSin(30.0 * j));
            const float y = static_cast<float>(400.0 * floatSin(double(22.2f) * j));
            const float z = static_cast<float>(150.0 * floatCos(8.5 * j));
            // Each mark beats at its own rate, 25 (j + 1) radians per unit of the show clock.
            const float beat = (j + 1) * t;
            const float scale = static_cast<float>(floatSin(double(15.4f) * j) + 2.0 +
                                                   floatCos(25.0 * beat + double(23.3f) * j));

            glPushMatrix();
            glTranslatef(group.x, group.y, group.z);
            glRotatef(180, 0, 1, 0);
            if (group.own.angle != 0)
                glRotatef(group.own.angle, group.own.x, group.own.y, group.own.z);
            glPushMatrix();
            glTranslatef(x, y, z);
            glColor3f(0, 0, 0);
            drawDisc(96 * scale, 80);
            glTranslatef(0, 0, 2);
            glColor3f(1, 1, 1);
            drawDisc(70 * scale, 80);
            glTranslatef(0, 0, 2);
            glColor3f(0, 0, 0);
            drawDisc(30 * scale, 30);
            glPopMatrix();
            glPopMatrix();
        }
    }
}
