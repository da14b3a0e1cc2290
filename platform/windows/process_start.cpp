#include "platform/process_start.h"

#include <windows.h>

#include <atomic>
#include <csignal>

namespace {

std::atomic<int> stopStatus{0};
std::atomic<int> graceMs{0};

// Called on a thread of the system's own: the main loop ends at its next frame; one that does
// not within the grace is ended from here, as Windows would end it anyway after a few seconds.
BOOL WINAPI onConsoleStop(DWORD event) {
    const int signal = event == CTRL_C_EVENT ? SIGINT : SIGTERM;
    stopStatus = 128 + signal;
    Sleep(DWORD(graceMs.load()));
    ExitProcess(UINT(stopStatus.load()));
}

} // namespace

// The C run-time opens what it lacks itself, so there is nothing to take over here.
void OpenStandardDescriptors() {}

void WatchStopSignals(int grace) {
    graceMs = grace;
    SetConsoleCtrlHandler(onConsoleStop, TRUE);
}

int StopSignalStatus() {
    return stopStatus;
}
