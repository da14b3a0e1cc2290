#include "scenes/scene3/wheels.h"

#include "gfx/gl.h"
#include "gfx/primitives.h"
#include "gfx/textures.h"
#include "gfx/float_trig.h"

WheelFlicker wheelFlicker(float t) {
    const float phase = static_cast<float>(20000.0 * t);
    const float b = floatSin(phase) >= 0 ? 0.5f : 0.0f;
    return {b + 0.5f, b};
}

namespace {

// Six small discs on the rim, each with a dark r disc just beyond it.
void drawHubs(float level) {
    for (int j = 0; j < 6; ++j) {
        glPushMatrix();
        glRotatef(360.0f * j / 6, 0, 0, 1);
        glTranslatef(0, 220, 0);
        glColor3f(level, level, level);
        drawDisc(40, 20);
        glTranslatef(0, 20, 1);
        glBindTexture(GL_TEXTURE_2D, tex::hubMark);
        glEnable(GL_TEXTURE_2D);
        glColor3f(0.1f, 0.1f, 0.1f);
        drawDisc(30, 20);
        glDisable(GL_TEXTURE_2D);
        glPopMatrix();
    }
}

} // namespace

void drawWheel(const WheelFlicker& fl) {
    glBindTexture(GL_TEXTURE_2D, tex::wheelFace);
    glEnable(GL_TEXTURE_2D);
    glColor3f(fl.face, fl.face, fl.face);
    drawDisc(180, 60);
    glDisable(GL_TEXTURE_2D);

    // The offsets below add up along the wheel's local z, which points at the origin.
    glTranslatef(0, 0, 3);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, tex::cubeFieldPicture);
    glEnable(GL_TEXTURE_2D);
    glColor4f(fl.face, fl.face, fl.face, 0.5f);
    drawDisc(150, 60);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);

    drawHubs(fl.hub);

    // The smoke glow is added behind the face.
    glTranslatef(0, 0, -5);
    glBindTexture(GL_TEXTURE_2D, tex::smokePicture);
    glEnable(GL_TEXTURE_2D);
    glBlendFunc(GL_ONE_MINUS_DST_COLOR, GL_ONE);
    glEnable(GL_BLEND);
    glColor3f(1, 1, 1);
    drawRect(650, 650);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}

void drawWheels(float t) {
    const WheelFlicker fl = wheelFlicker(t);
    const double spin = 1000.0 * t;
    for (int orbit = 0; orbit < 2; ++orbit) {
        // The two orbits differ only in the sense of their tilt.
        const float tilt = static_cast<float>(orbit == 0 ? 1200.0 * t : -1200.0 * t);
        for (int n = 0; n < 6; ++n) {
            glPushMatrix();
            glRotatef(static_cast<float>(spin + 60 * n), 0, 1, 0);
            glRotatef(tilt, 1, 0, 0);
            glTranslatef(0, 0, 550);
            glRotatef(180, 0, 1, 0);
            glRotatef(static_cast<float>(spin + 20 * n), 0, 0, 1);
            drawWheel(fl);
            glPopMatrix();
        }
    }
}
