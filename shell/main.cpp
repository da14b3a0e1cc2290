// Kelvaster: one window, one piece of music, four scenes drawn from the music's clock.
#include "gfx/frame.h"
#include "platform/malloc_tuning.h"
#include "platform/process_start.h"
#include "shell/callbacks.h"
#include "show/graphics.h"
#include "shell/scaled_frame.h"
#include "show/show.h"
#include "sound/cdsound.h"
#include "sound/dsound_device.h"

#include <GL/freeglut_std.h>
#include <cstdio>
#include <cstring>

namespace {
// A signal ends the show at its next frame or idle call; one stuck longer is ended anyway.
constexpr int kStopGraceMs = 150;

// GLUT takes its own options first; --fullscreen is the one option the show reads.
bool wantsFullscreen(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--fullscreen") == 0) return true;
    return false;
}
} // namespace

int main(int argc, char** argv) {
    OpenStandardDescriptors();
    WatchStopSignals(kStopGraceMs);
    tuneAllocator();
    glutInit(&argc, argv);
    const bool fullscreen = wantsFullscreen(argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    // Without a window manager GLUT fills the screen by moving the window back by where it
    // stands, which only lands on the screen from the top-left corner.
    if (fullscreen)
        glutInitWindowPosition(0, 0);
    else
        glutInitWindowPosition(100, 100);
    glutInitWindowSize(kFrameWidth, kFrameHeight);
    glutCreateWindow("Kelvaster by zir");
    // freeglut registers its windows under the class "FREEGLUT" (the stand-in ignores it).
    showWindow = FindWindowA("FREEGLUT", "Kelvaster by zir");

    // Without the music there is no clock to draw by.
    if (!startSound()) return 1;

    sceneDispatcher = drawShow;
    const GraphicsStart graphics = initGraphics();
    if (!graphics.ok()) {
        std::fprintf(stderr, "%s\n", startErrorMessage(graphics.status));
        return 1;
    }
    if (fullscreen && startScaledFrame()) {
        sceneDispatcher = drawShowScaled;
        windowResized = setScaledWindowSize;
        glutFullScreen();
    }
    glutDisplayFunc(onDisplay);
    glutIdleFunc(onIdle);
    glutKeyboardFunc(onKeyboard);
    glutReshapeFunc(onReshape);
    soundStream->Play();
    glutMainLoop();

    delete soundStream; // ends its worker before the device goes
    ReleaseDirectSound();
    return 0;
}
