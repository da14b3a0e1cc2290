#include "tools/capture/parallel_capture.h"

#include "tools/capture/capture_context.h"
#include "tools/offscreen/data_checks.h"
#include "tools/capture/encoder.h"
#include "tools/capture/music_stretch.h"
#include "tools/capture/pending_output.h"
#include "tools/capture/progress.h"
#include "tools/capture/stretch_plan.h"
#include "tools/offscreen/wall_clock.h"
#include "tools/capture/worker_messages.h"
#include "tools/capture/write_all.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

struct Worker {
    pid_t pid = -1;
    int commands = -1; // its stdin
    int reports = -1;  // its stdout
    LineBuffer lines;
    int stretch = -1; // the one it is drawing
    bool reaped = false;
};

std::string partName(int index) {
    char name[32];
    std::snprintf(name, sizeof name, "%05d.ts", index);
    return name;
}

// This program again, as a worker in a process group of its own, so that it and its ffmpeg can
// be ended together; the termination signals stay blocked until it is on the pending list.
bool startWorker(const std::vector<std::string>& args, Worker& w, std::string* error) {
    int commands[2], reports[2];
    if (pipe2(commands, O_CLOEXEC) != 0) {
        *error = std::string("cannot make a pipe: ") + std::strerror(errno);
        return false;
    }
    if (pipe2(reports, O_CLOEXEC) != 0) {
        close(commands[0]);
        close(commands[1]);
        *error = std::string("cannot make a pipe: ") + std::strerror(errno);
        return false;
    }
    sigset_t stops, before;
    sigemptyset(&stops);
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&stops, sig);
    sigprocmask(SIG_BLOCK, &stops, &before);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK);
    posix_spawnattr_setpgroup(&attr, 0);
    posix_spawnattr_setsigmask(&attr, &before);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, commands[0], 0);
    posix_spawn_file_actions_adddup2(&actions, reports[1], 1);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const int rc = posix_spawn(&w.pid, "/proc/self/exe", &actions, &attr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (rc == 0 && !addPendingWorker(w.pid)) {
        kill(-w.pid, SIGKILL);
        waitpid(w.pid, nullptr, 0);
    }
    sigprocmask(SIG_SETMASK, &before, nullptr);
    close(commands[0]);
    close(reports[1]);
    if (rc != 0) {
        close(commands[1]);
        close(reports[0]);
        w.pid = -1;
        *error = std::string("cannot start a worker: ") + std::strerror(rc);
        return false;
    }
    w.commands = commands[1];
    w.reports = reports[0];
    return true;
}

std::string endedHow(int status) {
    if (WIFSIGNALED(status)) return std::string("ended by ") + strsignal(WTERMSIG(status));
    return "stopped with status " + std::to_string(WEXITSTATUS(status));
}

// A failed capture takes its workers, its parts and its output with it.
int abandon(const std::string& why) {
    abandonPendingWork();
    return reportFailure(why);
}

} // namespace

int captureInParallel(const Options& o, const ShowTiming& show, const std::string& ffmpeg,
                      int64_t first, int64_t end, int jobs) {
    const double started = wallSeconds();
    const std::vector<Span> plan = planStretches(first, end, jobs, show.rate);
    const int workers = int(std::min<size_t>(size_t(jobs), plan.size()));
    std::string error;
    PendingOutput out;
    if (!out.create(o.output, &error)) return reportFailure(error);
    // The parts live in a folder of their own beside the output, on the same disk.
    const size_t slash = o.output.rfind('/');
    std::string folder = (slash == std::string::npos ? "" : o.output.substr(0, slash + 1)) + "." +
                         o.output.substr(slash + 1) + "." + std::to_string(getpid()) +
                         ".parts-XXXXXX";
    if (!mkdtemp(folder.data()))
        return reportFailure("cannot make a folder for the parts beside " + o.output + ": " +
                             std::strerror(errno));
    if (!setPendingFolder(folder)) {
        removeFolder(folder.c_str());
        return reportFailure("cannot write " + o.output + ": not a file name");
    }

    char rate[64];
    std::snprintf(rate, sizeof rate, "%lld/%lld", static_cast<long long>(show.rate.num),
                  static_cast<long long>(show.rate.den));
    std::vector<std::string> args = {
        "kelvaster-capture",    "video", "--worker", "--quiet", "--fps", rate, "--jobs",
        std::to_string(workers)};
    if (o.lossless) args.push_back("--lossless");
    args.insert(args.end(), {"--preset", o.preset});
    args.push_back(o.output);
    std::vector<Worker> pool(static_cast<size_t>(workers));
    for (Worker& w : pool)
        if (!startWorker(args, w, &error)) return abandon(error);

    Progress progress("video", end - first, !o.quiet);
    int64_t framesDone = 0;
    size_t handedOut = 0;
    std::vector<bool> finished(plan.size(), false);
    FrameTimes frameTimes;
    EncoderTimes encoderTimes;
    // The next stretch in order, or the end of its work.
    auto handOut = [&](Worker& w) {
        if (handedOut == plan.size()) {
            close(w.commands);
            w.commands = -1;
            return true;
        }
        const Stretch s{int(handedOut), plan[handedOut].first, plan[handedOut].end,
                        folder + "/" + partName(int(handedOut))};
        w.stretch = int(handedOut++);
        const std::string message = stretchMessage(s);
        return writeAll(w.commands, message.data(), message.size());
    };
    for (Worker& w : pool)
        if (!handOut(w)) return abandon("a worker stopped before its first stretch");

    for (int running = workers; running > 0;) {
        std::vector<pollfd> fds;
        std::vector<Worker*> whose;
        for (Worker& w : pool) {
            if (w.reaped) continue;
            fds.push_back({w.reports, POLLIN, 0});
            whose.push_back(&w);
        }
        if (poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) continue;
            return abandon(std::string("cannot wait for the workers: ") + std::strerror(errno));
        }
        for (size_t i = 0; i < fds.size(); ++i) {
            if (!fds[i].revents) continue;
            Worker& w = *whose[i];
            char bytes[4096];
            const ssize_t n = read(w.reports, bytes, sizeof bytes);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return abandon(std::string("cannot hear a worker: ") + std::strerror(errno));
            if (n > 0) {
                w.lines.add(bytes, size_t(n));
                std::string line;
                while (w.lines.next(line)) {
                    const Report r = parseReport(line);
                    if (r.kind == Report::Frame) {
                        progress.update(++framesDone);
                    } else if (r.kind == Report::Done && r.index == w.stretch) {
                        finished[size_t(r.index)] = true;
                        w.stretch = -1;
                        if (!handOut(w)) return abandon("a worker stopped taking stretches");
                    } else if (r.kind == Report::Failed) {
                        return abandon(r.text);
                    } else if (r.kind == Report::Times && w.commands < 0) {
                        addTimes(frameTimes, r.frames);
                        addTimes(encoderTimes, r.encoder);
                    } else {
                        return abandon("a worker said what no worker says: \"" + line + "\"");
                    }
                }
                if (w.lines.bad()) return abandon("a worker said what no worker says");
                continue;
            }
            // Its end: a worker that has not finished all it was given has failed.
            int status = 0;
            while (waitpid(w.pid, &status, 0) < 0 && errno == EINTR) {
            }
            forgetPendingWorker(w.pid);
            w.reaped = true;
            close(w.reports);
            --running;
            if (!(WIFEXITED(status) && WEXITSTATUS(status) == 0) || w.stretch >= 0 ||
                w.commands >= 0 || !w.lines.empty()) {
                // Its ffmpeg may outlive a worker that was killed; it is still in its group.
                kill(-w.pid, SIGKILL);
                return abandon("a worker " + endedHow(status) + "; the capture is abandoned");
            }
        }
    }
    progress.finish();
    for (bool done : finished)
        if (!done) return abandon("a stretch was never drawn; the capture is abandoned");

    const std::string list = folder + "/parts.txt";
    {
        std::ofstream parts(list);
        for (size_t i = 0; i < plan.size(); ++i) parts << "file '" << partName(int(i)) << "'\n";
        if (!parts.flush()) return abandon("cannot write " + list);
    }
    const double duration = show.seconds(end) - show.seconds(first);
    MusicStretch music;
    if (!music.decode(data_files::kMusic, show.seconds(first), duration, &error))
        return abandon(error);
    EncoderSettings settings;
    settings.rate = show.rate;
    settings.music = &music;
    settings.joinList = list;
    settings.output = out.tempPath();
    const double joining = wallSeconds();
    {
        Encoder join;
        if (!join.start(ffmpeg, settings, &error) || !join.finish(&error))
            return abandon("joining the parts: " + error);
    }
    if (!out.commit(&error)) return abandon(error);
    removeFolder(folder.c_str());
    clearPendingFolder();
    if (o.stats) {
        printTimes(frameTimes, encoderTimes, wallSeconds() - started, workers);
        std::fprintf(stderr, "  of which %.1f s joining %zu parts\n", wallSeconds() - joining,
                     plan.size());
    }
    if (!o.quiet)
        std::fprintf(stderr, "wrote %s: frames %lld to %lld, %.3f s at %s fps, by %d workers\n",
                     o.output.c_str(), static_cast<long long>(first),
                     static_cast<long long>(end - 1), duration, rate, workers);
    return 0;
}
