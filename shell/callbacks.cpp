#include "shell/callbacks.h"

#include "gfx/gl.h"
#include "shell/data_files.h"
#include "shell/show.h"
#include "sound/cdsound.h"
#include "sound/dsound_device.h"

#include <cstdlib>

CdSound* soundStream = nullptr;
double totalLengthMs = 0;
HWND showWindow = nullptr;
void (*sceneDispatcher)(float t) = nullptr;

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
    if (!soundStream->Open(data_files::kMusic)) {
        MessageBoxA(nullptr, "We cannot find sound file.", "System Error.", MB_OK);
        return false;
    }
    totalLengthMs = static_cast<double>(soundStream->GetTotalTime());
    // Under a millisecond the clock is 0 over 0: no scene, and no end.
    if (totalLengthMs == 0) {
        MessageBoxA(nullptr, "The music is too short to show: it lasts under 1 ms.",
                    "System Error.", MB_OK);
        return false;
    }
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

void onReshape(int, int) {
    glutReshapeWindow(800, 600);
}
