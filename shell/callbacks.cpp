#include "shell/callbacks.h"

#include "gfx/gl.h"
#include "shell/show.h"
#include "sound/cdsound.h"
#include "sound/dsound_device.h"

#include <cstdlib>

CdSound* soundStream = nullptr;
double totalLengthMs = 0;
HWND showWindow = nullptr;
void (*sceneDispatcher)(float t) = nullptr;
void (*windowResized)(int width, int height) = nullptr;

namespace {
bool deviceStarted = false;
bool deviceReady = false;
} // namespace

bool startSound() {
    if (!deviceStarted) {
        deviceReady = InitDirectSound(showWindow);
        deviceStarted = true;
    }
    // A stream cannot be opened on a device that failed; its own message has been shown.
    if (!deviceReady) return false;
    soundStream = new CdSound;
    if (!soundStream->Open("Data/tech.ogg")) {
        MessageBoxA(nullptr, "We cannot find sound file.", "System Error.", MB_OK);
        return false;
    }
    totalLengthMs = static_cast<double>(soundStream->GetTotalTime());
    return true;
}

void showFrame(float t) {
    sceneDispatcher(t);
    if (showHasEnded(t)) std::exit(0);
}

void onDisplay() {
    DWORD playMs = 0;
    soundStream->GetPlayTime(&playMs);
    showFrame(showClock(playMs, totalLengthMs));
}

void onIdle() {
    glutPostRedisplay();
}

void onKeyboard(unsigned char key, int, int) {
    if (key == 27) ExitProcess(0);
}

void onReshape(int width, int height) {
    if (windowResized)
        windowResized(width, height);
    else
        glutReshapeWindow(800, 600);
}
