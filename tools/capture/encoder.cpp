#include "tools/capture/encoder.h"

#include "tools/capture/music_stretch.h"
#include "tools/capture/pending_output.h"
#include "tools/capture/stretch_plan.h"
#include "tools/offscreen/offscreen.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sstream>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// Where ffmpeg finds the music's PCM.
constexpr int kMusicFd = 3;

// ffmpeg's last lines, joined into one.
std::string lastWords(int fd) {
    char text[4096];
    const off_t size = lseek(fd, 0, SEEK_END);
    const off_t from = size > off_t(sizeof text - 1) ? size - off_t(sizeof text - 1) : 0;
    const ssize_t n = pread(fd, text, sizeof text - 1, from);
    std::string words;
    std::stringstream lines(std::string(text, size_t(n > 0 ? n : 0)));
    for (std::string line; std::getline(lines, line);) {
        line.erase(0, line.find_first_not_of(" \t\r"));
        line.erase(line.find_last_not_of(" \t\r") + 1);
        // ffmpeg's note that it held back repeats says nothing of why it failed.
        if (!line.empty() && line.compare(0, 22, "Last message repeated ") != 0)
            words += (words.empty() ? "" : "; ") + line;
    }
    return words;
}

std::vector<std::string> ffmpegArguments(const std::string& ffmpeg, const EncoderSettings& s) {
    const std::string size = std::to_string(kFrameWidth) + "x" + std::to_string(kFrameHeight);
    const std::string rate = std::to_string(s.rate.num) + "/" + std::to_string(s.rate.den);
    std::vector<std::string> args = {ffmpeg,      "-hide_banner", "-nostdin",
                                     "-loglevel", "error",        "-y"};
    if (s.joinList.empty())
        args.insert(args.end(), {"-f", "rawvideo", "-pix_fmt", "rgb24", "-video_size", size,
                                 "-framerate", rate, "-i", "pipe:0"});
    else
        args.insert(args.end(), {"-f", "concat", "-safe", "0", "-i", s.joinList});
    if (!s.part && s.music)
        args.insert(args.end(),
                    {"-f", s.music->format(), "-ar", std::to_string(s.music->rate()), "-ac",
                     std::to_string(s.music->channels()), "-i",
                     "/dev/fd/" + std::to_string(kMusicFd), "-map", "0:v", "-map", "1:a"});
    if (!s.joinList.empty()) {
        // The parts carry their times at 90 kHz, and the join adds their lengths in
        // microseconds: both round, so each time is put back on its frame, in the track clock
        // a single encode has.
        const TrackClock clock = trackClock(s.rate);
        const std::string tick = std::to_string(clock.ticksPerFrame);
        args.insert(args.end(), {"-c:v", "copy", "-video_track_timescale",
                                 std::to_string(clock.ticksPerSecond), "-bsf:v",
                                 "setts=pts=round(PTS/" + tick + ")*" + tick + ":dts=round(DTS/" +
                                     tick + ")*" + tick});
    } else if (s.lossless) {
        args.insert(args.end(), {"-c:v", "libx264rgb", "-qp", "0", "-pix_fmt", "rgb24"});
    } else {
        args.insert(args.end(),
                    {"-c:v", "libx264", "-preset", s.preset, "-crf", "18", "-pix_fmt", "yuv420p"});
    }
    if (s.part)
        args.insert(args.end(), {"-f", "mpegts", s.output});
    else
        args.insert(args.end(), {"-c:a", "aac", "-b:a", "192k", "-movflags", "+faststart", "-f",
                                 "mp4", s.output});
    return args;
}

} // namespace

std::string findOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    if (!path) return "";
    std::stringstream dirs(path);
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        const std::string candidate = (dir.empty() ? "." : dir) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return "";
}

Encoder::~Encoder() {
    if (pipe_ >= 0) close(pipe_);
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        setPendingWriter(0);
    }
    if (log_ >= 0) close(log_);
}

bool Encoder::start(const std::string& ffmpeg, const EncoderSettings& settings,
                    std::string* error) {
    log_ = memfd_create("kelvaster-capture-ffmpeg", MFD_CLOEXEC);
    if (log_ < 0) {
        if (error) *error = std::string("cannot keep ffmpeg's log: ") + std::strerror(errno);
        return false;
    }
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        if (error) *error = std::string("cannot make a pipe: ") + std::strerror(errno);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[0], 0);
    posix_spawn_file_actions_adddup2(&actions, log_, 1);
    posix_spawn_file_actions_adddup2(&actions, log_, 2);
    if (settings.music && !settings.part)
        posix_spawn_file_actions_adddup2(&actions, settings.music->fd(), kMusicFd);
    const std::vector<std::string> args = ffmpegArguments(ffmpeg, settings);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const int rc = posix_spawn(&pid_, ffmpeg.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[0]);
    if (rc != 0) {
        pid_ = -1;
        close(fds[1]);
        if (error) *error = "cannot start " + ffmpeg + ": " + std::strerror(rc);
        return false;
    }
    pipe_ = fds[1];
    setPendingWriter(pid_);
    return true;
}

bool Encoder::write(const std::vector<unsigned char>& rgb, std::string* error) {
    const unsigned char* p = rgb.data();
    size_t left = rgb.size();
    while (left > 0) {
        const ssize_t n = ::write(pipe_, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            // Let it finish writing its reasons before reading them.
            close(pipe_);
            pipe_ = -1;
            int status = 0;
            while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
            }
            pid_ = -1;
            setPendingWriter(0);
            if (error) *error = failure("ffmpeg stopped taking frames", status);
            return false;
        }
        p += n;
        left -= size_t(n);
    }
    return true;
}

bool Encoder::finish(std::string* error) {
    close(pipe_);
    pipe_ = -1;
    int status = 0;
    struct rusage usage;
    std::memset(&usage, 0, sizeof usage);
    while (wait4(pid_, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    cpuSeconds_ = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                  double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
    if (error) *error = failure("ffmpeg failed", status);
    return false;
}

// ffmpeg's own last lines say why.
std::string Encoder::failure(const std::string& what, int status) const {
    const std::string words = log_ >= 0 ? lastWords(log_) : "";
    const std::string how =
        WIFSIGNALED(status) ? std::string(" (ended by ") + strsignal(WTERMSIG(status)) + ")" : "";
    return what + how + (words.empty() ? "" : ": " + words);
}
