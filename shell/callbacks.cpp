#include "shell/callbacks.h"

#include "gfx/frame.h"
#include "gfx/gl.h"
#include "platform/message.h"
#include "platform/process_start.h"
#include "show/data_files.h"
#include "show/show.h"
#include "sound/cdsound.h"
#include "sound/dsound_device.h"

#include <GL/freeglut_std.h>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

CdSound* soundStream = nullptr;
double totalLengthMs = 0;
HWND showWindow = nullptr;
void (*sceneDispatcher)(float t) = nullptr;
void (*windowResized)(int width, int height) = nullptr;

namespace {
bool deviceStarted = false;
bool deviceReady = false;

// For the sound-card tests: with KELVASTER_CLOCK_FD set, each frame writes
// "<CLOCK_MONOTONIC ns> <play ms>" to that descriptor, to be set against the sound server.
// KELVASTER_CLOCK_FILE names a file instead, for where descriptors are not inherited (a
// Windows program under Wine, whose monotonic clock is the host's CLOCK_MONOTONIC_RAW).
const int clockLogFd = [] {
    if (const char* fd = std::getenv("KELVASTER_CLOCK_FD")) return std::atoi(fd);
    const char* path = std::getenv("KELVASTER_CLOCK_FILE");
    return path ? open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644) : -1;
}();

void logClock(DWORD playMs) {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    char line[48];
    const int n = std::snprintf(line, sizeof line, "%lld %lu\n",
                                now.tv_sec * 1000000000LL + now.tv_nsec, (unsigned long)playMs);
    // A lost line shows in the test as a frame missing from the log.
    [[maybe_unused]] const ssize_t written = write(clockLogFd, line, size_t(n));
}
// A stop signal ends the show as its end does, the sound stopped first.
void endOnStopSignal() {
    const int status = StopSignalStatus();
    if (status == 0) return;
    if (soundStream) soundStream->Pause();
    std::exit(status);
}
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
        ShowMessage("System Error.", "We cannot find sound file.");
        return false;
    }
    totalLengthMs = static_cast<double>(soundStream->GetTotalTime());
    // Under a millisecond the clock is 0 over 0: no scene, and no end.
    if (totalLengthMs == 0) {
        ShowMessage("System Error.", "The music is too short to show: it lasts under 1 ms.");
        return false;
    }
    return true;
}

void showFrame(float t) {
    sceneDispatcher(t);
    glutSwapBuffers();
    if (showHasEnded(t)) std::exit(0);
}

void onDisplay() {
    endOnStopSignal();
    DWORD playMs = 0;
    soundStream->GetPlayTime(&playMs);
    if (clockLogFd >= 0) logClock(playMs);
    showFrame(showClock(playMs, totalLengthMs));
}

void onIdle() {
    endOnStopSignal(); // the display is not called while the window is hidden
    glutPostRedisplay();
}

void onKeyboard(unsigned char key, int, int) {
    if (key == 27) ExitProcess(0);
}

void onReshape(int width, int height) {
    if (windowResized)
        windowResized(width, height);
    else
        glutReshapeWindow(kFrameWidth, kFrameHeight);
}
