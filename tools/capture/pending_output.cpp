#include "tools/capture/pending_output.h"

#include "tools/capture/options.h"

#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

// Plain data: the signal handler may only read them, kill and unlink.
char pendingTemp[4096];
volatile pid_t pendingWriter = 0;
volatile pid_t pendingWorkers[kMaxJobs] = {};
char pendingFolder[4096];

void removePending() {
    for (volatile pid_t& worker : pendingWorkers)
        if (worker > 0) kill(-worker, SIGKILL);
    if (pendingWriter > 0) kill(pendingWriter, SIGKILL);
    // Reaped before the folder goes, so that none of them can write into it again.
    for (volatile pid_t& worker : pendingWorkers) {
        if (worker > 0) {
            while (waitpid(worker, nullptr, 0) < 0 && errno == EINTR) {
            }
            worker = 0;
        }
    }
    if (pendingFolder[0]) removeFolder(pendingFolder);
    pendingFolder[0] = '\0';
    if (pendingTemp[0]) unlink(pendingTemp);
    pendingTemp[0] = '\0';
}

void onSignal(int sig) {
    removePending();
    _exit(128 + sig);
}

// A crash (or an abort) removes the pending file too, then goes on as it would have: the action
// found at start-up (a sanitizer's report, or the default core dump) gets the signal again.
constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
struct sigaction previousAction[NSIG];

void onFatalSignal(int sig, siginfo_t* info, void*) {
    removePending();
    sigaction(sig, &previousAction[sig], nullptr);
    // A fault comes back by itself when its instruction runs again; a sent signal is re-sent.
    if (info->si_code <= 0) raise(sig);
}

// The process id in a name of ours, ".NAME.PID" + tail, or 0 when the name is not one.
pid_t ownerOf(const std::string& name, size_t tail) {
    if (name.size() < tail + 4 || name[0] != '.') return 0;
    const size_t end = name.size() - tail, dot = name.rfind('.', end - 1);
    if (dot == std::string::npos || dot < 2 || end - dot < 2 || end - dot > 10) return 0;
    for (size_t i = dot + 1; i < end; ++i)
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) return 0;
    return pid_t(std::atol(name.substr(dot + 1, end - dot - 1).c_str()));
}

// What earlier captures left in the output's folder when they were killed outright and could
// not clean up: ".NAME.PID.partial" files and ".NAME.PID.parts-XXXXXX" folders whose process is
// gone. Those of a live process, or of one this user may not look at, stay.
void removeLeftovers(const std::string& dir) {
    DIR* d = opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return;
    std::vector<std::pair<std::string, bool>> stale; // name, is a folder
    static const std::string partial = ".partial", parts = ".parts-";
    while (const dirent* e = readdir(d)) {
        const std::string name = e->d_name;
        const bool file = name.size() > partial.size() &&
                          name.compare(name.size() - partial.size(), partial.size(), partial) == 0;
        const size_t tail = parts.size() + 6; // mkdtemp's six characters
        const bool folder =
            name.size() > tail && name.compare(name.size() - tail, parts.size(), parts) == 0;
        const pid_t pid = file ? ownerOf(name, partial.size()) : folder ? ownerOf(name, tail) : 0;
        if (pid > 0 && pid != getpid() && kill(pid, 0) != 0 && errno == ESRCH)
            stale.emplace_back(dir + name, folder);
    }
    closedir(d);
    for (const auto& [path, folder] : stale) {
        if (folder)
            removeFolder(path.c_str());
        else
            unlink(path.c_str());
    }
}

} // namespace

bool PendingOutput::create(const std::string& finalPath, std::string* error) {
    discard();
    struct stat s;
    if (stat(finalPath.c_str(), &s) == 0 && S_ISDIR(s.st_mode)) {
        if (error) *error = "cannot write " + finalPath + ": it is a folder";
        return false;
    }
    const size_t slash = finalPath.rfind('/');
    const std::string dir = slash == std::string::npos ? "" : finalPath.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? finalPath : finalPath.substr(slash + 1);
    const std::string temp = dir + "." + base + "." + std::to_string(getpid()) + ".partial";
    if (base.empty() || temp.size() >= sizeof pendingTemp) {
        if (error) *error = "cannot write " + finalPath + ": not a file name";
        return false;
    }
    removeLeftovers(dir);
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) {
        if (error) *error = "cannot write " + finalPath + ": " + std::strerror(errno);
        return false;
    }
    close(fd);
    final_ = finalPath;
    temp_ = temp;
    std::memcpy(pendingTemp, temp.c_str(), temp.size() + 1);
    return true;
}

bool PendingOutput::commit(std::string* error) {
    if (rename(temp_.c_str(), final_.c_str()) != 0) {
        if (error) *error = "cannot write " + final_ + ": " + std::strerror(errno);
        discard();
        return false;
    }
    temp_.clear();
    pendingTemp[0] = '\0';
    return true;
}

void PendingOutput::discard() {
    if (temp_.empty()) return;
    unlink(temp_.c_str());
    temp_.clear();
    pendingTemp[0] = '\0';
}

void setPendingWriter(pid_t pid) {
    pendingWriter = pid;
}

bool addPendingWorker(pid_t pid) {
    for (volatile pid_t& worker : pendingWorkers) {
        if (worker == 0) {
            worker = pid;
            return true;
        }
    }
    return false;
}

void forgetPendingWorker(pid_t pid) {
    for (volatile pid_t& worker : pendingWorkers)
        if (worker == pid) worker = 0;
}

bool setPendingFolder(const std::string& path) {
    if (path.empty() || path.size() >= sizeof pendingFolder) return false;
    std::memcpy(pendingFolder, path.c_str(), path.size() + 1);
    return true;
}

void clearPendingFolder() {
    pendingFolder[0] = '\0';
}

void abandonPendingWork() {
    removePending();
}

bool removeFolder(const char* path) {
    const int dir = open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return errno == ENOENT;
    // Read again from the start after each pass: unlinking while reading may skip entries.
    alignas(dirent64) char records[4096];
    for (bool removed = true; removed;) {
        removed = false;
        lseek(dir, 0, SEEK_SET);
        for (ssize_t n; (n = getdents64(dir, records, sizeof records)) > 0;) {
            for (ssize_t at = 0; at < n;) {
                const dirent64* e = reinterpret_cast<const dirent64*>(records + at);
                at += e->d_reclen;
                const char* name = e->d_name;
                if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
                    continue;
                if (unlinkat(dir, name, 0) == 0) removed = true;
            }
        }
    }
    close(dir);
    return rmdir(path) == 0;
}

void installOutputCleanup() {
    std::atexit(removePending);
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = onSignal;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    struct sigaction fatal;
    std::memset(&fatal, 0, sizeof fatal);
    fatal.sa_sigaction = onFatalSignal;
    fatal.sa_flags = SA_SIGINFO | SA_NODEFER;
    for (int sig : kFatalSignals) sigaction(sig, &fatal, &previousAction[sig]);
    // A dead encoder shows as a failed write, reported with its own message.
    std::signal(SIGPIPE, SIG_IGN);
}
