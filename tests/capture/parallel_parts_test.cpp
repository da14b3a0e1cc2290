// What a parallel capture's parent and workers agree on: how the frames are cut into stretches,
// the clock the joined video keeps, the lines they exchange, and the folder of parts removed
// whole.
#include "tools/capture/options.h"
#include "tools/capture/pending_output.h"
#include "tools/capture/stretch_plan.h"
#include "tools/capture/worker_messages.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

TEST(StretchPlan, CoversTheFramesInOrderEachOnceAndShrinksTowardsTheEnd) {
    struct Case {
        int64_t first, end;
        int jobs;
        FrameRate rate;
    };
    for (const Case& c :
         {Case{0, 9472, 2, {60, 1}}, Case{4800, 6601, 3, {60, 1}}, Case{0, 37, 3, {12, 1}},
          Case{100, 5000, 8, {60000, 1001}}, Case{7, 1000, 32, {30, 1}}}) {
        SCOPED_TRACE(testing::Message() << c.first << ".." << c.end << " by " << c.jobs);
        const std::vector<Span> plan = planStretches(c.first, c.end, c.jobs, c.rate);
        ASSERT_FALSE(plan.empty());
        EXPECT_EQ(plan.front().first, c.first);
        EXPECT_EQ(plan.back().end, c.end);
        const int64_t second = c.rate.num / c.rate.den;
        for (size_t i = 0; i < plan.size(); ++i) {
            EXPECT_LT(plan[i].first, plan[i].end) << i;
            if (i > 0) {
                EXPECT_EQ(plan[i].first, plan[i - 1].end) << i;
            }
            EXPECT_GE(plan[i].end - plan[i].first, second) << "stretch " << i << " too short";
            // A worker taking a stretch takes at most its share of what is left.
            const int64_t left = c.end - plan[i].first;
            EXPECT_LE(plan[i].end - plan[i].first, std::max(left / c.jobs, 2 * second)) << i;
        }
        // The last stretch is short, so that no worker runs long after the others.
        EXPECT_LT(plan.back().end - plan.back().first, 2 * second);
        EXPECT_GE(plan.size(), size_t(std::min<int64_t>(c.jobs, (c.end - c.first) / second)));
    }
    // Less than two seconds of video is not worth cutting.
    EXPECT_EQ(planStretches(60, 150, 4, {60, 1}).size(), 1u);
    EXPECT_EQ(planStretches(5, 6, 4, {60, 1}).size(), 1u);
}

TEST(StretchPlan, TheJoinedTrackKeepsTheClockOfASingleEncode) {
    // Seen in the MP4 files ffmpeg writes from raw frames at these rates.
    struct Case {
        FrameRate rate;
        int64_t perSecond, perFrame;
    };
    for (const Case& c :
         {Case{{60, 1}, 15360, 256}, Case{{12, 1}, 12288, 1024}, Case{{60000, 1001}, 60000, 1001},
          Case{{24000, 1001}, 24000, 1001}, Case{{2997, 100}, 11988, 400}}) {
        const TrackClock clock = trackClock(c.rate);
        EXPECT_EQ(clock.ticksPerSecond, c.perSecond) << c.rate.num << "/" << c.rate.den;
        EXPECT_EQ(clock.ticksPerFrame, c.perFrame) << c.rate.num << "/" << c.rate.den;
    }
}

TEST(StretchPlan, DefaultJobsFollowTheCoresWithinBounds) {
    EXPECT_EQ(defaultJobs(0), 1) << "an unknown count";
    EXPECT_EQ(defaultJobs(-1), 1);
    EXPECT_EQ(defaultJobs(1), 1);
    EXPECT_EQ(defaultJobs(2), 2) << "one worker a core";
    EXPECT_GE(defaultJobs(1000), 2);
    EXPECT_LE(defaultJobs(1000), kMaxJobs);
}

TEST(WorkerMessages, ReadBackAsTheyWereSent) {
    Stretch s;
    ASSERT_TRUE(parseStretchMessage(stretchMessage({7, 4800, 5160, "/tmp/my parts/00007.ts"}), s));
    EXPECT_EQ(s.index, 7);
    EXPECT_EQ(s.first, 4800);
    EXPECT_EQ(s.end, 5160);
    EXPECT_EQ(s.path, "/tmp/my parts/00007.ts");

    EXPECT_EQ(parseReport(frameReport()).kind, Report::Frame);
    const Report done = parseReport(doneReport(12));
    EXPECT_EQ(done.kind, Report::Done);
    EXPECT_EQ(done.index, 12);
    const Report failed = parseReport(failedReport("ffmpeg failed: disk\nfull"));
    EXPECT_EQ(failed.kind, Report::Failed);
    EXPECT_EQ(failed.text, "ffmpeg failed: disk full") << "a reason is said on one line";

    FrameTimes f;
    EncoderTimes e;
    for (int i = 0; i < 5; ++i) {
        f.frames[i] = 1000 + i;
        f.drawing[i] = 0.1 * (i + 1) / 3;
        f.readBack[i] = 1e-7 * (i + 2);
        e.waiting[i] = 123.456789012345 * i;
    }
    f.skipped = 2.0 / 3;
    f.skippedFrames = 4321;
    e.cpuSeconds = 98.7654321;
    const Report times = parseReport(timesReport(f, e));
    ASSERT_EQ(times.kind, Report::Times);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(times.frames.frames[i], f.frames[i]);
        EXPECT_EQ(times.frames.drawing[i], f.drawing[i]) << "exactly";
        EXPECT_EQ(times.frames.readBack[i], f.readBack[i]);
        EXPECT_EQ(times.encoder.waiting[i], e.waiting[i]);
    }
    EXPECT_EQ(times.frames.skipped, f.skipped);
    EXPECT_EQ(times.frames.skippedFrames, f.skippedFrames);
    EXPECT_EQ(times.encoder.cpuSeconds, e.cpuSeconds);

    // Two workers' times add up.
    FrameTimes total;
    EncoderTimes encoder;
    addTimes(total, times.frames);
    addTimes(total, times.frames);
    addTimes(encoder, times.encoder);
    addTimes(encoder, times.encoder);
    EXPECT_EQ(total.frames[3], 2006);
    EXPECT_EQ(total.skippedFrames, 8642);
    EXPECT_DOUBLE_EQ(encoder.cpuSeconds, 2 * e.cpuSeconds);
    EXPECT_TRUE(encoder.used);
}

TEST(WorkerMessages, AnythingElseIsRefused) {
    Stretch s;
    for (const char* bad :
         {"", "stretch", "stretch 1 10 5 /a", "stretch 1 5 5 /a", "stretch 1 5 10",
          "stretch -1 5 10 /a", "stretch x 5 10 /a", "stretch 1 5 1e3 /a", "draw 1 5 10 /a"})
        EXPECT_FALSE(parseStretchMessage(bad, s)) << bad;
    const std::string times = timesReport(FrameTimes{}, EncoderTimes{});
    for (const std::string& bad :
         {std::string(""), std::string("frame 1"), std::string("done"), std::string("done -3"),
          std::string("done 3 4"), std::string("done three"), std::string("hello"),
          times.substr(0, times.size() / 2), times.substr(0, times.size() - 1) + " 5",
          std::string("times nan")})
        EXPECT_EQ(parseReport(bad).kind, Report::Bad) << bad;
}

TEST(WorkerMessages, LinesArriveWholeHoweverThePipeCutsThem) {
    LineBuffer lines;
    std::string line;
    lines.add("fra", 3);
    EXPECT_FALSE(lines.next(line));
    lines.add("me\ndone 1\nti", 12);
    ASSERT_TRUE(lines.next(line));
    EXPECT_EQ(line, "frame");
    ASSERT_TRUE(lines.next(line));
    EXPECT_EQ(line, "done 1");
    EXPECT_FALSE(lines.next(line));
    EXPECT_FALSE(lines.empty()) << "the start of a line is kept";
    lines.add("mes\n", 4);
    ASSERT_TRUE(lines.next(line));
    EXPECT_EQ(line, "times");
    EXPECT_TRUE(lines.empty());

    // Endless bytes with no newline are not a worker speaking.
    LineBuffer flood;
    const std::string junk(5000, 'x');
    flood.add(junk.data(), junk.size());
    flood.add(junk.data(), junk.size());
    EXPECT_FALSE(flood.next(line));
    EXPECT_TRUE(flood.bad());
}

TEST(PartsFolder, IsRemovedWithEverythingInIt) {
    char name[] = "/tmp/kv-parts-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    // More entries than one read of the folder returns, hidden ones among them.
    for (int i = 0; i < 300; ++i) {
        char file[64];
        std::snprintf(file, sizeof file, "/%s%05d-a-rather-long-name-for-a-part.ts",
                      i % 3 ? "" : ".", i);
        std::ofstream(name + std::string(file)) << "part " << i;
    }
    EXPECT_TRUE(removeFolder(name));
    struct stat st;
    EXPECT_NE(stat(name, &st), 0) << "the folder is still there";
    EXPECT_TRUE(removeFolder(name)) << "a folder already gone is no failure";
}

TEST(PartsFolder, LeftoversOfGoneCapturesAreRemovedOthersStay) {
    char name[] = "/tmp/kv-leftovers-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    const pid_t child = fork(); // a process id in use a moment ago and free now
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    const std::string dir = name, gone = std::to_string(child), live = std::to_string(getppid());
    // Each name, and whether it stays.
    const std::pair<std::string, bool> entries[] = {{".x.mp4." + gone + ".partial", false},
                                                    {".x.mp4." + gone + ".parts-Ab3dE9", false},
                                                    {".o.png." + gone + ".partial", false},
                                                    {".x.mp4." + live + ".partial", true},
                                                    {".x.mp4." + live + ".parts-Ab3dE9", true},
                                                    {"x.mp4." + gone + ".partial", true},
                                                    {".x.mp4.partial", true},
                                                    {".x.mp4." + gone + ".parts-Ab3", true},
                                                    {".x.mp4." + gone + "b.partial", true}};
    for (const auto& [entry, stays] : entries) {
        const std::string path = dir + "/" + entry;
        const bool folder = entry.find(".parts-") != std::string::npos;
        ASSERT_TRUE(!folder || mkdir(path.c_str(), 0700) == 0) << entry;
        std::ofstream(folder ? path + "/00000.ts" : path) << "left";
    }
    PendingOutput out;
    std::string error;
    ASSERT_TRUE(out.create(dir + "/y.png", &error)) << error;
    struct stat st;
    for (const auto& [entry, stays] : entries)
        EXPECT_EQ(stat((dir + "/" + entry).c_str(), &st) == 0, stays) << entry;
    std::system(("rm -rf " + dir).c_str());
}

} // namespace
