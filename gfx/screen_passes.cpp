#include "gfx/screen_passes.h"

#include "gfx/textures.h"

#include <algorithm>

namespace {

// The window's share of a 1024 x 1024 copy.
constexpr float kWindowS = 0.78125f;
constexpr float kWindowT = 0.5859375f;
constexpr GLsizei kWindowWidth = 800, kWindowHeight = 600;

void beginOverlay(GLuint texture) {
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, texture);
}

void sendLayer(float c) {
    glTexCoord2f(c, kWindowT - c);
    glVertex2f(-400, 300);
    glTexCoord2f(c, c);
    glVertex2f(-400, -300);
    glTexCoord2f(kWindowS - c, c);
    glVertex2f(400, -300);
    glTexCoord2f(kWindowS - c, kWindowT - c);
    glVertex2f(400, 300);
}

void endOverlay() {
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, 0);
}

} // namespace

void setScenePerspective() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60, 1.3333333333333333, 1, 2500);
    glMatrixMode(GL_MODELVIEW);
}

void setOrthoProjection() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-400, 400, -300, 300, -50, 50);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void drawTextureZoom(float step, float alpha, GLuint texture) {
    beginOverlay(texture);
    glColor4f(1, 1, 1, alpha);
    glBegin(GL_QUADS);
    float c = 0;
    for (int k = 0; k < 5; ++k) {
        sendLayer(c);
        c += step;
    }
    glEnd();
    endOverlay();
}

void drawFeedbackZoom(float step) {
    beginOverlay(tex::target1);
    glBegin(GL_QUADS);
    float c = 0;
    float a = 0.2f;
    for (int k = 0; k < 5; ++k) {
        glColor4f(1, 1, 1, a);
        sendLayer(c);
        c += step;
        a = static_cast<float>(static_cast<double>(a) - static_cast<double>(0.04f));
    }
    glEnd();
    endOverlay();
}

void copyWindowCorner(GLuint target, GLenum format, GLsizei side) {
    glBindTexture(GL_TEXTURE_2D, target);
    GLint width = 0, height = 0, internal = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &internal);
    if (width != side || height != side || GLenum(internal) != format) {
        glCopyTexImage2D(GL_TEXTURE_2D, 0, format, 0, 0, side, side, 0);
        return;
    }
    // Redefining would have the driver free and allocate the storage every frame; what lies
    // beyond the window is never sampled, so the first definition's rest can stay.
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, std::min(side, kWindowWidth),
                        std::min(side, kWindowHeight));
}

void copyFrameTo(GLuint target) {
    copyWindowCorner(target, GL_RGB, 1024);
}
