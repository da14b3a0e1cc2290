#include "tools/offscreen/offscreen.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>

#include <cstring>

namespace {

// The first configs offered are 10 bits a channel; the window's are exactly 8. GLUT's window
// gets the deepest depth buffer on offer (32 bits under Xvfb), and scenes with layers a unit
// apart far from the eye need it, so take the deepest too.
bool pickConfig(EGLDisplay display, EGLConfig& chosen) {
    const EGLint wanted[] = {EGL_SURFACE_TYPE,
                             EGL_PBUFFER_BIT,
                             EGL_RENDERABLE_TYPE,
                             EGL_OPENGL_BIT,
                             EGL_RED_SIZE,
                             8,
                             EGL_GREEN_SIZE,
                             8,
                             EGL_BLUE_SIZE,
                             8,
                             EGL_ALPHA_SIZE,
                             8,
                             EGL_DEPTH_SIZE,
                             16,
                             EGL_NONE};
    EGLConfig configs[256];
    EGLint count = 0;
    if (!eglChooseConfig(display, wanted, configs, 256, &count)) return false;
    EGLint bestDepth = -1;
    for (EGLint i = 0; i < count; ++i) {
        EGLint r = 0, g = 0, b = 0, a = 0, depth = 0;
        eglGetConfigAttrib(display, configs[i], EGL_RED_SIZE, &r);
        eglGetConfigAttrib(display, configs[i], EGL_GREEN_SIZE, &g);
        eglGetConfigAttrib(display, configs[i], EGL_BLUE_SIZE, &b);
        eglGetConfigAttrib(display, configs[i], EGL_ALPHA_SIZE, &a);
        eglGetConfigAttrib(display, configs[i], EGL_DEPTH_SIZE, &depth);
        if (r == 8 && g == 8 && b == 8 && a == 8 && depth > bestDepth) {
            chosen = configs[i];
            bestDepth = depth;
        }
    }
    return bestDepth > 0;
}

bool failWith(std::string* error, const char* what) {
    if (error) *error = what;
    return false;
}

} // namespace

bool offscreenOpen(std::string* error) {
    EGLDisplay display =
        eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY) return failWith(error, "no surfaceless EGL display");
    if (!eglInitialize(display, nullptr, nullptr)) return failWith(error, "eglInitialize failed");
    if (!eglBindAPI(EGL_OPENGL_API)) return failWith(error, "no desktop OpenGL through EGL");
    EGLConfig config;
    if (!pickConfig(display, config)) return failWith(error, "no 8-bit RGBA pbuffer config");
    const EGLint size[] = {EGL_WIDTH, kFrameWidth, EGL_HEIGHT, kFrameHeight, EGL_NONE};
    EGLSurface surface = eglCreatePbufferSurface(display, config, size);
    if (surface == EGL_NO_SURFACE) return failWith(error, "eglCreatePbufferSurface failed");
    EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
    if (context == EGL_NO_CONTEXT) return failWith(error, "eglCreateContext failed");
    if (!eglMakeCurrent(display, surface, surface, context))
        return failWith(error, "eglMakeCurrent failed");
    return true;
}

void offscreenReadFrame(std::vector<unsigned char>& rgb) {
    const size_t row = kFrameWidth * 3;
    rgb.resize(row * kFrameHeight);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kFrameWidth, kFrameHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    // GL's first row is the bottom one.
    std::vector<unsigned char> swap(row);
    for (int y = 0; y < kFrameHeight / 2; ++y) {
        unsigned char* a = rgb.data() + y * row;
        unsigned char* b = rgb.data() + (kFrameHeight - 1 - y) * row;
        std::memcpy(swap.data(), a, row);
        std::memcpy(a, b, row);
        std::memcpy(b, swap.data(), row);
    }
}
