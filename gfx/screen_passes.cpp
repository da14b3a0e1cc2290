#include "gfx/screen_passes.h"

#include "gfx/frame.h"
#include "gfx/textures.h"

#include <algorithm>

namespace {

// The window's share of a 1024 x 1024 copy.
constexpr GLsizei kCopySide = 1024;
constexpr float kWindowS = float(kFrameWidth) / kCopySide;
constexpr float kWindowT = float(kFrameHeight) / kCopySide;
// The screen projection's bounds: one unit a pixel, the origin at the centre.
constexpr int kHalfWidth = kFrameWidth / 2, kHalfHeight = kFrameHeight / 2;

void beginOverlay(GLuint texture) {
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, texture);
}

void sendLayer(float c) {
    glTexCoord2f(c, kWindowT - c);
    glVertex2f(-kHalfWidth, kHalfHeight);
    glTexCoord2f(c, c);
    glVertex2f(-kHalfWidth, -kHalfHeight);
    glTexCoord2f(kWindowS - c, c);
    glVertex2f(kHalfWidth, -kHalfHeight);
    glTexCoord2f(kWindowS - c, kWindowT - c);
    glVertex2f(kHalfWidth, kHalfHeight);
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
    applyPerspective(kScenePerspective);
    glMatrixMode(GL_MODELVIEW);
}

void setOrthoProjection() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-kHalfWidth, kHalfWidth, -kHalfHeight, kHalfHeight, -50, 50);
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
    beginOverlay(tex::sceneOneGlow);
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
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, std::min(side, GLsizei(kFrameWidth)),
                        std::min(side, GLsizei(kFrameHeight)));
}

void copyFrameTo(GLuint target) {
    copyWindowCorner(target, GL_RGB, kCopySide);
}

void drawGlowPass(GLuint target, float step, float alpha) {
    copyFrameTo(target);
    restoreFrameViewport();
    drawTextureZoom(step, alpha, target);
}
