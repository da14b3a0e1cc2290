// The capture program run as a user runs it, on a three-second piece of music so that a whole
// show is 37 frames at 12 fps: frames against stills, repeat captures, what ffprobe sees,
// captures by several workers against one, and every bad input's message with nothing left
// behind.
#include "show/data_files.h"
#include "show/show.h"
#include "tools/capture/contact_sheet.h"
#include "tools/offscreen/offscreen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <tuple>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr size_t kFrameBytes = size_t(kFrameWidth) * kFrameHeight * 3;

std::string scratch;             // holds Data/ and the outputs
std::vector<std::string> frames; // the whole show, lossless, at 12 fps

std::string output(const std::string& command) {
    std::string text;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buffer[1 << 16];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) text.append(buffer, n);
        pclose(p);
    }
    return text;
}

struct Outcome {
    int status;
    std::string err;
};

// The program in the scratch folder, with an optional PATH of its own.
Outcome capture(const std::string& args, const std::string& path = "") {
    const std::string err = scratch + "/stderr.txt";
    const std::string command = "cd " + scratch + " && " +
                                (path.empty() ? "" : "PATH=" + path + " ") + KV_CAPTURE_BIN + " " +
                                args + " 2>" + err;
    const int rc = std::system(command.c_str());
    std::ifstream in(err);
    std::stringstream text;
    text << in.rdbuf();
    return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, text.str()};
}

std::vector<std::string> decode(const std::string& video) {
    const std::string raw =
        output("ffmpeg -v error -i " + scratch + "/" + video + " -f rawvideo -pix_fmt rgb24 -");
    std::vector<std::string> out;
    for (size_t at = 0; at + kFrameBytes <= raw.size(); at += kFrameBytes)
        out.push_back(raw.substr(at, kFrameBytes));
    return out;
}

std::string still(const std::string& png) {
    int w = 0, h = 0;
    std::vector<unsigned char> rgb;
    if (!readPng(scratch + "/" + png, w, h, rgb) || w != kFrameWidth || h != kFrameHeight)
        return "";
    return std::string(rgb.begin(), rgb.end());
}

// "codec_type,nb_frames,duration" lines, one a stream.
std::vector<std::string> probe(const std::string& video) {
    std::stringstream text(output("ffprobe -v error -show_entries stream=codec_type,nb_frames,"
                                  "duration -of csv=p=0 " +
                                  scratch + "/" + video));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    return lines;
}

std::string textOf(const std::string& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> filesIn(const std::string& dir) {
    std::vector<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d))
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
                names.push_back(e->d_name);
        closedir(d);
    }
    return names;
}

// A video's frames as ffmpeg's framemd5 lists them: time, length and checksum of each.
std::string frameSums(const std::string& video) {
    return output("ffmpeg -v error -i " + scratch + "/" + video + " -map 0:v -f framemd5 -");
}

// The music exactly as stored, and the video packets' decode and presentation times.
std::string musicSum(const std::string& video) {
    return output("ffmpeg -v error -i " + scratch + "/" + video + " -map 0:a -c copy -f md5 -");
}
std::string packetTimes(const std::string& video) {
    return output("ffprobe -v error -select_streams v -show_entries packet=pts,dts -of csv=p=0 " +
                  scratch + "/" + video);
}

// The processes whose parent is pid.
std::vector<pid_t> childrenOf(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) + "/children");
    std::vector<pid_t> children;
    for (pid_t child; in >> child;) children.push_back(child);
    return children;
}

// The program started in the background in the scratch folder, its stderr to a file.
pid_t startCapture(const std::vector<const char*>& args, const std::string& err) {
    const pid_t pid = fork();
    if (pid == 0) {
        const int fd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || dup2(fd, 2) < 0 || chdir(scratch.c_str()) != 0) _exit(127);
        std::vector<char*> argv = {const_cast<char*>(KV_CAPTURE_BIN)};
        for (const char* a : args) argv.push_back(const_cast<char*>(a));
        argv.push_back(nullptr);
        execv(KV_CAPTURE_BIN, argv.data());
        _exit(127);
    }
    return pid;
}

// The frames the show has at a rate on music of this many milliseconds, counted afresh.
int64_t framesOfShow(int64_t num, int64_t den, double totalMs) {
    int64_t k = 0;
    while (float(double(k * 1000 * den / num) / totalMs) < kEndThreshold) ++k;
    return k + 1;
}

class CaptureRun : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        char name[] = "/tmp/kv-capture-run-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        scratch = name;
        ASSERT_EQ(std::system(("mkdir -p " + scratch + "/Data " + scratch + "/out").c_str()), 0);
        // Our pictures when the build made them, plain grey ones when it did not.
        for (const char* bitmap : data_files::kBitmaps) {
            const std::string built =
                std::string(KV_DATA_DIR) + "/" + std::string(data_files::fileName(bitmap));
            const std::string mine = scratch + "/" + bitmap;
            const std::string make =
                access(built.c_str(), R_OK) == 0
                    ? "cp " + built + " " + mine
                    : "ffmpeg -v error -f lavfi -i color=c=gray:s=64x64 -frames:v 1 -pix_fmt "
                      "bgr24 -y " +
                          mine;
            ASSERT_EQ(std::system(make.c_str()), 0) << make;
        }
        ASSERT_EQ(std::system(("ffmpeg -v error -f lavfi -i sine=frequency=330:sample_rate=44100 "
                               "-af aformat=channel_layouts=stereo -t 3 -c:a libvorbis -y " +
                               scratch + "/Data/tech.ogg")
                                  .c_str()),
                  0);
        const Outcome run = capture("video --fps 12 --lossless --jobs 1 out/show.mp4");
        ASSERT_EQ(run.status, 0) << run.err;
        frames = decode("out/show.mp4");
    }
    static void TearDownTestSuite() { std::system(("rm -rf " + scratch).c_str()); }
};

TEST_F(CaptureRun, FrameCountAndDurationFollowFromTheRateAndTheEndThreshold) {
    const int64_t expected = framesOfShow(12, 1, 3000);
    ASSERT_EQ(int64_t(frames.size()), expected);
    const std::vector<std::string> streams = probe("out/show.mp4");
    ASSERT_EQ(streams.size(), 2u);
    char video[64];
    std::snprintf(video, sizeof video, "video,%.6f,%lld", expected / 12.0,
                  static_cast<long long>(expected));
    EXPECT_EQ(streams[0], video);
    // The music ends at 3 s, before the last frame's end at 37 / 12 s.
    EXPECT_EQ(streams[1].substr(0, 6), "audio,");
    EXPECT_NEAR(std::stod(streams[1].substr(6)), 3.0, 0.03) << streams[1];

    // A stretch at a fractional rate: frames from 1 s up to 2 s, music cut to match.
    const Outcome run = capture("video --quiet --fps 24000/1001 --from 1 --to 2 out/part.mp4");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> part = probe("out/part.mp4");
    ASSERT_EQ(part.size(), 2u);
    EXPECT_EQ(part[0], "video,1.001000,24") << "frames 24 (1.001 s) to 47 (1.960 s)";
    EXPECT_NEAR(std::stod(part[1].substr(6)), 1.001, 0.03) << part[1];
}

TEST_F(CaptureRun, EachFrameEqualsTheStillAtItsTime) {
    ASSERT_EQ(frames.size(), 37u);
    // A frame of every scene, and the last. Alike, they would match any still, a blank one too.
    const int sampled[] = {2, 7, 20, 36};
    for (int i = 0; i < 4; ++i)
        for (int j = i + 1; j < 4; ++j)
            ASSERT_FALSE(frames[sampled[i]] == frames[sampled[j]])
                << "frames " << sampled[i] << " and " << sampled[j] << " are alike";
    // By time, by frame number and by show clock.
    for (int k : sampled) {
        char at[32];
        std::snprintf(at, sizeof at, "%.6f", k / 12.0);
        const Outcome run =
            capture("still --quiet --fps 12 --at " + std::string(at) + " out/s.png");
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_TRUE(still("out/s.png") == frames[k]) << "frame " << k << " at " << at << " s";
    }
    ASSERT_EQ(capture("still --quiet --fps 12 --frame 25 out/f.png").status, 0);
    EXPECT_TRUE(still("out/f.png") == frames[25]);
    char clock[32];
    std::snprintf(clock, sizeof clock, "%.9g", double(showClock(1333, 3000)));
    ASSERT_EQ(capture("still --quiet --fps 12 --clock " + std::string(clock) + " out/c.png").status,
              0);
    EXPECT_TRUE(still("out/c.png") == frames[16]) << "frame 16 sits at 1333 ms";
}

TEST_F(CaptureRun, AStretchHasTheFramesOfTheWholeRunAndRepeatsExactly) {
    ASSERT_EQ(frames.size(), 37u);
    ASSERT_EQ(capture("video --quiet --fps 12 --lossless --from 1 --to 2 out/a.mp4").status, 0);
    ASSERT_EQ(capture("video --quiet --fps 12 --lossless --from 1 --to 2 out/b.mp4").status, 0);
    const std::vector<std::string> a = decode("out/a.mp4"), b = decode("out/b.mp4");
    ASSERT_EQ(a.size(), 12u);
    EXPECT_TRUE(a == b) << "two captures of one stretch differ";
    for (size_t i = 0; i < a.size(); ++i) EXPECT_TRUE(a[i] == frames[12 + i]) << "frame " << 12 + i;
}

TEST_F(CaptureRun, TheContactSheetShowsShrunkFramesFromFirstToLast) {
    ASSERT_EQ(frames.size(), 37u);
    const Outcome run =
        capture("sheet --quiet --fps 12 --count 4 --columns 2 --scale 4 out/sheet.png");
    ASSERT_EQ(run.status, 0) << run.err;
    int w = 0, h = 0;
    std::vector<unsigned char> rgb;
    ASSERT_TRUE(readPng(scratch + "/out/sheet.png", w, h, rgb));
    const ContactSheet layout(4, 2, 200, 150);
    ASSERT_EQ(w, layout.image().width);
    ASSERT_EQ(h, layout.image().height);
    // Cells 0 and 3 hold frames 0 and 36, shrunk.
    for (const auto& [cell, k] : {std::pair{0, 0}, std::pair{3, 36}}) {
        RgbImage frame;
        frame.width = kFrameWidth;
        frame.height = kFrameHeight;
        frame.pixels.assign(frames[k].begin(), frames[k].end());
        const RgbImage thumb = shrink(frame, 4);
        int wrong = 0;
        for (int y = 0; y < 150; ++y)
            for (int x = 0; x < 200; ++x)
                for (int c = 0; c < 3; ++c)
                    wrong +=
                        thumb.at(x, y)[c] !=
                        rgb[(size_t(layout.cellY(cell) + y) * w + layout.cellX(cell) + x) * 3 + c];
        EXPECT_EQ(wrong, 0) << "cell " << cell;
    }
}

TEST_F(CaptureRun, BadInputIsNamedAndLeavesNothingBehind) {
    const std::string out = scratch + "/bad";
    ASSERT_EQ(std::system(("mkdir -p " + out).c_str()), 0);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"still --at 3.5 bad/x.png", "outside the show (0 to 2.967 s)"},
        {"still --fps 12 --frame 37 bad/x.png", "outside the show (frames 0 to 36)"},
        {"still --clock 1.5 bad/x.png", "outside the show (show clock 0 to"},
        {"still --clock -0.1 bad/x.png", "outside the show"},
        {"video --from 3.1 bad/x.mp4", "--from 3.100 s is outside the show"},
        {"still --at 1 bad/no/such/folder/x.png", "cannot write"},
        {"video bad", "it is a folder"},
        {"video --fps 0 bad/x.mp4", "not a frame rate"},
    };
    for (const auto& [args, message] : cases) {
        const Outcome run = capture(args);
        EXPECT_NE(run.status, 0) << args;
        EXPECT_NE(run.err.find(message), std::string::npos) << args << ":\n" << run.err;
    }
    // No ffmpeg at all, and one that gives up at once.
    Outcome run = capture("video bad/x.mp4", "/nonexistent");
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("ffmpeg is not on the PATH"), std::string::npos) << run.err;
    std::ofstream(scratch + "/ffmpeg") << "#!/bin/sh\necho 'no codecs today' >&2\nexit 1\n";
    ASSERT_EQ(std::system(("chmod +x " + scratch + "/ffmpeg").c_str()), 0);
    run = capture("video --quiet bad/x.mp4", scratch);
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("no codecs today"), std::string::npos) << run.err;
    EXPECT_TRUE(filesIn(out).empty()) << filesIn(out)[0];

    // A relative name from a folder whose path is too long to name (bash: dash cannot cd there).
    const std::string deep = "bash -c 'cd " + scratch + " && d=$(printf %0200d 0) && for i in " +
                             "$(seq 25); do mkdir $d && cd $d || exit; done && " + KV_CAPTURE_BIN +
                             " still --at 1 x.png 2>&1'";
    EXPECT_NE(output(deep).find("cannot name x.png from the working folder"), std::string::npos);

    // A missing Data file is named.
    for (const char* missing : {"aba2.bmp", "tech.ogg"}) {
        const std::string file = scratch + "/Data/" + missing;
        ASSERT_EQ(std::rename(file.c_str(), (file + ".away").c_str()), 0);
        run = capture("still --at 1 bad/x.png");
        ASSERT_EQ(std::rename((file + ".away").c_str(), file.c_str()), 0);
        EXPECT_NE(run.status, 0);
        EXPECT_NE(run.err.find(std::string("missing Data/") + missing), std::string::npos)
            << run.err;
    }
    EXPECT_TRUE(filesIn(out).empty());
}

TEST_F(CaptureRun, ABadPictureIsNamedAndLeavesNothingBehind) {
    const std::string out = scratch + "/badpicture";
    ASSERT_EQ(std::system(("mkdir -p " + out).c_str()), 0);
    const std::string picture = scratch + "/Data/aba2.bmp";
    ASSERT_EQ(std::rename(picture.c_str(), (picture + ".away").c_str()), 0);
    struct Case {
        const char* make; // shell command run in Data/
        const char* message;
    };
    const Case cases[] = {
        // An 8-bit picture: the show's loader ends the process on it.
        {"ffmpeg -v error -f lavfi -i color=c=red:s=16x16 -frames:v 1 -pix_fmt pal8 -y aba2.bmp",
         "Data/aba2.bmp is no picture the show can use"},
        {"head -c 40 aba2.bmp.away > aba2.bmp", "Data/aba2.bmp is no picture the show can use"},
        {"mkfifo aba2.bmp", "not a regular file: Data/aba2.bmp"},
        {"mkdir aba2.bmp", "not a regular file: Data/aba2.bmp"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(std::system(("cd " + scratch + "/Data && " + c.make).c_str()), 0) << c.make;
        for (const char* command : {"still --at 1 badpicture/x.png", "video badpicture/x.mp4",
                                    "sheet --count 2 badpicture/x.png"}) {
            const Outcome run = capture(command);
            EXPECT_EQ(run.status, 1) << c.make << ": " << command;
            EXPECT_NE(run.err.find(c.message), std::string::npos) << c.make << ":\n" << run.err;
            EXPECT_TRUE(filesIn(out).empty())
                << c.make << ": " << command << " left " << filesIn(out)[0];
        }
        ASSERT_EQ(std::system(("rm -rf " + picture).c_str()), 0);
    }
    ASSERT_EQ(std::rename((picture + ".away").c_str(), picture.c_str()), 0);
}

TEST_F(CaptureRun, TheMusicOfAStretchIsTheWholeChainsOwn) {
    // Two links of 1.5 s each, in place of the music: as long as it, so the show stays the same.
    const std::string music = scratch + "/Data/tech.ogg";
    ASSERT_EQ(std::rename(music.c_str(), (music + ".away").c_str()), 0);
    const std::string link = "ffmpeg -v error -f lavfi -i sine=sample_rate=44100 -af "
                             "aformat=channel_layouts=stereo -t 1.5 -c:a libvorbis -f ogg -y - >> ";
    ASSERT_EQ(std::system((link + music + " && " + link + music).c_str()), 0);
    // Across the links by one process, and wholly in the second by two: seconds of music.
    for (const auto& [args, seconds] : {std::pair{"--from 1 --to 2.5 --jobs 1", 1.5},
                                        std::pair{"--from 1.6 --to 2.9 --jobs 2", 1.25}}) {
        const Outcome run = capture("video --quiet --fps 12 " + std::string(args) + " out/c.mp4");
        EXPECT_EQ(run.status, 0) << run.err;
        const std::vector<std::string> streams = probe("out/c.mp4");
        ASSERT_EQ(streams.size(), 2u) << args;
        EXPECT_NEAR(std::stod(streams[1].substr(6)), seconds, 0.03) << args;
    }
    ASSERT_EQ(std::rename((music + ".away").c_str(), music.c_str()), 0);
}

TEST_F(CaptureRun, AnInterruptedCaptureLeavesNothingBehind) {
    // Ended from outside, and ended by an abort as a crash would end it.
    for (int sig : {SIGTERM, SIGABRT}) {
        SCOPED_TRACE(strsignal(sig));
        const std::string out = scratch + "/stopped";
        ASSERT_EQ(std::system(("mkdir -p " + out).c_str()), 0);
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            if (chdir(scratch.c_str()) != 0) _exit(127);
            execl(KV_CAPTURE_BIN, KV_CAPTURE_BIN, "video", "--quiet", "stopped/x.mp4", nullptr);
            _exit(127);
        }
        // Stop it once it has started writing.
        for (int i = 0; i < 600 && filesIn(out).empty(); ++i) usleep(50000);
        ASSERT_FALSE(filesIn(out).empty()) << "the capture never began its output";
        usleep(300000);
        kill(pid, sig);
        int status = 0;
        waitpid(pid, &status, 0);
        if (sig == SIGTERM)
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 0);
        else
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig) << status;
        EXPECT_TRUE(filesIn(out).empty()) << filesIn(out)[0];
    }
}

TEST_F(CaptureRun, WorkersMakeExactlyTheFramesOfOneProcess) {
    ASSERT_EQ(frames.size(), 37u);
    // Cut in three stretches (frames 0, 12 and 24 on), each crossing into another scene.
    const std::string sums = frameSums("out/show.mp4");
    std::stringstream lines(sums);
    int listed = 0;
    for (std::string line; std::getline(lines, line);) listed += !line.empty() && line[0] != '#';
    ASSERT_EQ(listed, 37);
    const std::string music = musicSum("out/show.mp4"), times = packetTimes("out/show.mp4");
    ASSERT_EQ(std::system(("mkdir -p " + scratch + "/jobs").c_str()), 0);
    for (const char* jobs : {"2", "3"}) {
        SCOPED_TRACE(std::string("--jobs ") + jobs);
        const Outcome run = capture("video --quiet --fps 12 --lossless --jobs " +
                                    std::string(jobs) + " jobs/j.mp4");
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(frameSums("jobs/j.mp4"), sums) << "the joined frames differ from one process's";
        EXPECT_EQ(packetTimes("jobs/j.mp4"), times) << "frames are timed differently";
        EXPECT_EQ(musicSum("jobs/j.mp4"), music) << "the music is cut differently";
        EXPECT_EQ(filesIn(scratch + "/jobs"), std::vector<std::string>{"j.mp4"})
            << "the parts are left behind";
    }
}

TEST_F(CaptureRun, AStretchByWorkersKeepsItsTimesAndMusic) {
    // Lossy frames are encoded anew at each stretch, so only where they sit is compared. At a
    // rate of 1001ths every part's times are rounded on their way through the join: by the
    // third part of the whole show at 59.94 fps the rounding has reached a frame's tick.
    struct Case {
        const char* args;
        const char* jobs;
        size_t frames;
    };
    for (const Case& c : {Case{"--fps 12000/1001 --from 0.5 --to 2.5", "2", 24},
                          Case{"--fps 60000/1001", "3", 179}}) {
        SCOPED_TRACE(c.args);
        const std::string args = "video --stats " + std::string(c.args);
        const Outcome one = capture(args + " --jobs 1 out/one.mp4");
        ASSERT_EQ(one.status, 0) << one.err;
        const Outcome more = capture(args + " --jobs " + c.jobs + " out/more.mp4");
        ASSERT_EQ(more.status, 0) << more.err;
        EXPECT_NE(more.err.find("by " + std::string(c.jobs) + " workers"), std::string::npos)
            << more.err;
        EXPECT_NE(more.err.find(" for " + std::to_string(c.frames) + " frames"), std::string::npos)
            << more.err;
        EXPECT_EQ(probe("out/more.mp4"), probe("out/one.mp4"));
        EXPECT_EQ(musicSum("out/more.mp4"), musicSum("out/one.mp4"));
        // Presentation times, each frame once, in order.
        auto shown = [](const std::string& video) {
            std::stringstream text(output("ffprobe -v error -select_streams v -show_entries "
                                          "packet=pts -of csv=p=0 " +
                                          scratch + "/" + video));
            std::vector<long long> pts;
            for (long long t; text >> t;) pts.push_back(t);
            std::sort(pts.begin(), pts.end());
            return pts;
        };
        const std::vector<long long> pts = shown("out/more.mp4");
        ASSERT_EQ(pts.size(), c.frames);
        for (size_t i = 0; i < pts.size(); ++i) EXPECT_EQ(pts[i], 1001 * (long long)i) << i;
        EXPECT_EQ(shown("out/one.mp4"), pts);
    }
}

TEST_F(CaptureRun, AFailedWorkerOrJoinEndsTheCaptureAndLeavesNothingBehind) {
    const std::string out = scratch + "/failed", fake = scratch + "/fake";
    ASSERT_EQ(std::system(("mkdir -p " + out + " " + fake).c_str()), 0);
    std::string ffmpeg = output("command -v ffmpeg");
    ffmpeg.erase(ffmpeg.find_last_not_of('\n') + 1);
    // ffmpeg failing where one process or a worker encodes, or where the parts are joined: its
    // own words, said once, on one line.
    // What ffmpeg's arguments hold when it fails, the workers, and the one line said.
    for (const auto& [when, jobs, message] :
         {std::tuple{"libx264", "1", "ffmpeg stopped taking frames: out of parts"},
          std::tuple{"mpegts", "2", "ffmpeg stopped taking frames: out of parts"},
          std::tuple{"concat", "2", "joining the parts: ffmpeg failed: out of parts"}}) {
        SCOPED_TRACE(when);
        std::ofstream(fake + "/ffmpeg")
            << "#!/bin/sh\ncase \"$*\" in *" << when
            << "*) echo 'out of parts' >&2; exit 1;; esac\nexec " << ffmpeg << " \"$@\"\n";
        ASSERT_EQ(std::system(("chmod +x " + fake + "/ffmpeg").c_str()), 0);
        const Outcome run =
            capture("video --quiet --fps 12 --jobs " + std::string(jobs) + " failed/x.mp4",
                    fake + ":" + std::getenv("PATH"));
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "kelvaster-capture: " + std::string(message) + "\n");
        EXPECT_TRUE(filesIn(out).empty()) << filesIn(out)[0];
    }

    // A worker killed, and the capture itself ended from outside or killed outright: no worker
    // outlives it, and what a killed capture could not remove the next one does.
    for (const int how : {0, 1, 2}) {
        const bool killWorker = how == 0, killed = how == 2;
        SCOPED_TRACE(how);
        const std::string err = scratch + "/failed.txt";
        const pid_t pid =
            startCapture({"video", "--quiet", "--fps", "12", "--jobs", "2", "failed/x.mp4"}, err);
        ASSERT_GT(pid, 0);
        std::vector<pid_t> workers;
        for (int i = 0; i < 600 && (workers.size() < 2 || filesIn(out).empty()); ++i) {
            usleep(50000);
            workers = childrenOf(pid);
        }
        ASSERT_EQ(workers.size(), 2u);
        usleep(500000);
        kill(killWorker ? workers[0] : pid, killWorker || killed ? SIGKILL : SIGTERM);
        int status = 0;
        waitpid(pid, &status, 0);
        if (killed) { // its workers end with it
            for (int i = 0; i < 100 && (kill(workers[0], 0) == 0 || kill(workers[1], 0) == 0); ++i)
                usleep(50000);
            ASSERT_FALSE(filesIn(out).empty()) << "a killed capture left nothing to remove";
            ASSERT_EQ(capture("still --quiet --at 1 failed/y.png").status, 0);
            EXPECT_EQ(filesIn(out), std::vector<std::string>{"y.png"});
            std::remove((out + "/y.png").c_str());
        } else {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 0) << status;
        }
        if (killWorker) {
            EXPECT_EQ(textOf(err),
                      "kelvaster-capture: a worker ended by Killed; the capture is abandoned\n");
        }
        for (pid_t worker : workers)
            EXPECT_TRUE(kill(worker, 0) != 0 && errno == ESRCH) << "worker " << worker << " lives";
        EXPECT_TRUE(filesIn(out).empty()) << filesIn(out)[0];
    }
}

} // namespace
