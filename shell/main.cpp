// Kelvaster: one window, one piece of music, four scenes drawn from the music's clock.
#include "gfx/gl.h"
#include "shell/callbacks.h"
#include "shell/graphics.h"
#include "shell/show.h"
#include "sound/cdsound.h"
#include "sound/dsound_device.h"

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowPosition(100, 100);
    glutInitWindowSize(800, 600);
    glutCreateWindow("Kelvaster by zir");
    showWindow = FindWindowA("GLUT", "Kelvaster by zir");

    // Without the music there is no clock to draw by.
    if (!startSound()) return 1;

    sceneDispatcher = drawShow;
    initGraphics();
    glutDisplayFunc(onDisplay);
    glutIdleFunc(onIdle);
    glutKeyboardFunc(onKeyboard);
    glutReshapeFunc(onReshape);
    soundStream->Play();
    glutMainLoop();

    if (soundStream) {
        soundStream->Cleanup();
        delete soundStream;
    }
    ReleaseDirectSound();
    return 0;
}
