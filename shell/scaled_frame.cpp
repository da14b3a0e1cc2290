#define GL_GLEXT_PROTOTYPES 1
#include "shell/scaled_frame.h"

#include "gfx/gl.h"
#include "show/show.h"

#include <GL/glext.h>
// Older glext.h files (mingw-w64's) predate the extension.
#ifndef GL_FRAMEBUFFER_FLIP_Y_MESA
#define GL_FRAMEBUFFER_FLIP_Y_MESA 0x8BBB
#endif

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

GLuint frameBuffer = 0;
int windowWidth = kFrameWidth;
int windowHeight = kFrameHeight;

bool hasFramebufferObjects() {
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    return version && std::atoi(version) >= 3;
}

bool hasExtension(const char* name) {
    GLint count = 0;
    glGetIntegerv(GL_NUM_EXTENSIONS, &count);
    for (GLint i = 0; i < count; ++i)
        if (std::strcmp(reinterpret_cast<const char*>(glGetStringi(GL_EXTENSIONS, GLuint(i))),
                        name) == 0)
            return true;
    return false;
}

// Depth as deep as the window's: scenes with layers a unit apart far from the eye need it.
GLenum depthFormat(GLint bits) {
    if (bits >= 32) return GL_DEPTH_COMPONENT32;
    if (bits >= 24) return GL_DEPTH_COMPONENT24;
    return GL_DEPTH_COMPONENT16;
}

} // namespace

void setScaledWindowSize(int width, int height) {
    windowWidth = width;
    windowHeight = height;
}

bool startScaledFrame() {
    if (!hasFramebufferObjects()) {
        std::fprintf(stderr,
                     "kelvaster: --fullscreen needs OpenGL 3.0 framebuffer objects;"
                     " showing the %d x %d window instead\n",
                     kFrameWidth, kFrameHeight);
        return false;
    }
    GLint alphaBits = 0, depthBits = 0;
    glGetIntegerv(GL_ALPHA_BITS, &alphaBits);
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);

    GLuint buffers[2];
    glGenRenderbuffers(2, buffers);
    glBindRenderbuffer(GL_RENDERBUFFER, buffers[0]);
    glRenderbufferStorage(GL_RENDERBUFFER, alphaBits > 0 ? GL_RGBA8 : GL_RGB8, kFrameWidth,
                          kFrameHeight);
    glBindRenderbuffer(GL_RENDERBUFFER, buffers[1]);
    glRenderbufferStorage(GL_RENDERBUFFER, depthFormat(depthBits), kFrameWidth, kFrameHeight);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);

    glGenFramebuffers(1, &frameBuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, frameBuffer);
    // GL fills the pixels on a shape's edge by opposite vertical rules in a window and in a
    // framebuffer object; Mesa can store the object the window's way up, so that every
    // pixel comes out as the window's.
    if (hasExtension("GL_MESA_framebuffer_flip_y"))
        glFramebufferParameteri(GL_FRAMEBUFFER, GL_FRAMEBUFFER_FLIP_Y_MESA, GL_TRUE);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, buffers[0]);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, buffers[1]);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        std::fprintf(stderr,
                     "kelvaster: the %d x %d framebuffer is incomplete;"
                     " showing the %d x %d window instead\n",
                     kFrameWidth, kFrameHeight, kFrameWidth, kFrameHeight);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        return false;
    }
    return true;
}

void drawShowScaled(float t) {
    // The scenes draw into, and copy their glows and pictures from, the frame-sized buffer.
    glBindFramebuffer(GL_FRAMEBUFFER, frameBuffer);
    drawShow(t);

    // The next frame starts from the state this one left, as in the window.
    GLfloat clearColour[4];
    GLint viewport[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour);
    glGetIntegerv(GL_VIEWPORT, viewport);

    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glViewport(0, 0, windowWidth, windowHeight);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    const FrameBox box = fitFrame(windowWidth, windowHeight);
    glBlitFramebuffer(0, 0, kFrameWidth, kFrameHeight, box.x, box.y, box.x + box.width,
                      box.y + box.height, GL_COLOR_BUFFER_BIT, GL_LINEAR);

    glBindFramebuffer(GL_FRAMEBUFFER, frameBuffer);
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    glClearColor(clearColour[0], clearColour[1], clearColour[2], clearColour[3]);
}
