#include "tools/bench/self_process.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

ChildResult runSelf(const std::vector<std::string>& args, bool noopDriver) {
    ChildResult result;
    std::vector<char*> argv;
    static char self[] = "/proc/self/exe";
    argv.push_back(self);
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    int out[2];
    if (pipe(out) != 0) {
        std::perror("kelvaster-bench: pipe");
        return result;
    }
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("kelvaster-bench: fork");
        close(out[0]);
        close(out[1]);
        return result;
    }
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        // Mesa wraps its do-nothing driver in a threaded context, as it does not llvmpipe; in
        // Mesa 22.3 a line-loop draw from a client array there writes into the caller's stack
        // frame, and scene three never finishes a frame. Without it the front end is
        // llvmpipe's own.
        if (noopDriver) {
            setenv("GALLIUM_NOOP", "1", 1);
            setenv("GALLIUM_THREAD", "0", 1);
        } else {
            unsetenv("GALLIUM_NOOP");
        }
        execv(self, argv.data());
        std::perror("kelvaster-bench: cannot run itself");
        _exit(127);
    }
    close(out[1]);
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(out[0], buffer, sizeof buffer);
        if (n > 0)
            result.output.append(buffer, size_t(n));
        else if (n == 0 || errno != EINTR)
            break;
    }
    close(out[0]);
    int status = 0;
    rusage usage = {};
    while (wait4(pid, &status, 0, &usage) < 0)
        if (errno != EINTR) return result;
    result.exited = WIFEXITED(status);
    result.status = result.exited ? WEXITSTATUS(status) : -1;
    result.peakRssKb = usage.ru_maxrss;
    result.pageFaults = usage.ru_minflt;
    return result;
}
