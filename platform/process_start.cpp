#include "platform/process_start.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

namespace {

std::atomic<int> stopStatus{0};
sigset_t stopSignals;
int graceMilliseconds = 0;

void* watch(void*) {
    int signal = 0;
    while (sigwait(&stopSignals, &signal) != 0) {
    }
    stopStatus = 128 + signal;
    const timespec grace{graceMilliseconds / 1000, long(graceMilliseconds % 1000) * 1000000L};
    nanosleep(&grace, nullptr);
    // The main loop is stuck (a frame that never ends, a start-up that waits): end it here.
    _exit(stopStatus);
}

} // namespace

void OpenStandardDescriptors() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        // The lower ones are open, so this one takes the lowest free number: fd.
        const int null = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (null >= 0 && null != fd) {
            dup2(null, fd);
            close(null);
        }
    }
}

void WatchStopSignals(int graceMs) {
    graceMilliseconds = graceMs;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    pthread_t watcher;
    if (pthread_create(&watcher, nullptr, watch, nullptr) == 0) {
        pthread_detach(watcher);
    } else {
        // No thread to hear them: the signals keep their default action, which ends us.
        pthread_sigmask(SIG_UNBLOCK, &stopSignals, nullptr);
    }
}

int StopSignalStatus() {
    return stopStatus;
}
