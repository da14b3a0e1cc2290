#include "scenes/scene4/wheel_wall.h"

#include "gfx/gl.h"
#include "gfx/primitives.h"
#include "gfx/textures.h"

// Each line is one depth, its wheels from top to bottom; the farthest depth first.
// clang-format off
const float wheelPositions[12][3] = {
    {-400, 400, -1020}, {-400, 0, -1010}, {-400, -400, -1000},
    {-400, 400,  -620}, {-400, 0,  -610}, {-400, -400,  -600},
    {-400, 400,  -220}, {-400, 0,  -210}, {-400, -400,  -200},
    {-400, 400,   200}, {-400, 0,   210}, {-400, -400,   220},
};
// clang-format on

namespace {

constexpr int kHubs = 6;

void drawFace() {
    glBindTexture(GL_TEXTURE_2D, moll4);
    glEnable(GL_TEXTURE_2D);
    glColor3f(0.5f, 0.5f, 0.5f);
    drawDisc(180, 60);
    glDisable(GL_TEXTURE_2D);
}

// Half see-through, so the face shows behind the live cube-field picture.
void drawGlass() {
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, target6);
    glEnable(GL_TEXTURE_2D);
    glColor4f(0.5f, 0.5f, 0.5f, 0.5f);
    drawDisc(150, 60);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
}

// A black disc on the rim with a small picture cap set outward and just in front of it.
void drawHubs() {
    for (int k = 0; k < kHubs; ++k) {
        glPushMatrix();
        glRotatef(static_cast<float>(k * 360 / kHubs), 0, 0, 1);
        glTranslatef(0, 220, 0);
        glColor3f(0, 0, 0);
        drawDisc(40, 20);
        glTranslatef(0, 20, 1);
        glBindTexture(GL_TEXTURE_2D, r);
        glEnable(GL_TEXTURE_2D);
        glColor3f(0.1f, 0.1f, 0.1f);
        drawDisc(30, 20);
        glDisable(GL_TEXTURE_2D);
        glPopMatrix();
    }
}

// Adds the smoke glow where the frame is still dark, so it brightens without burning out.
void drawHalo() {
    glBindTexture(GL_TEXTURE_2D, target7);
    glEnable(GL_TEXTURE_2D);
    glBlendFunc(GL_ONE_MINUS_DST_COLOR, GL_ONE);
    glEnable(GL_BLEND);
    glColor3f(1, 1, 1);
    drawRect(650, 650);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}

} // namespace

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
        drawFace();
        glTranslatef(0, 0, 3);
        drawGlass();
        drawHubs();
        glTranslatef(0, 0, -5); // the halo lies 2 units behind the face
        drawHalo();
        glPopMatrix();
    }
}
