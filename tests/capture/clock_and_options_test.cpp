// The frame clock, the command line and the progress text: pure arithmetic and parsing.
#include "show/show.h"
#include "tools/offscreen/frame_clock.h"
#include "tools/capture/options.h"
#include "tools/capture/progress.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace {

const std::vector<FrameRate> kRates = {{60, 1}, {30, 1}, {60000, 1001}, {2997, 100}, {7, 3}};

TEST(FrameRate, TakesWholeDecimalAndFractionalRatesExactly) {
    FrameRate r;
    std::string error;
    ASSERT_TRUE(parseFrameRate("60", r, &error)) << error;
    EXPECT_EQ(r.num, 60);
    EXPECT_EQ(r.den, 1);
    ASSERT_TRUE(parseFrameRate("60000/1001", r, &error)) << error;
    EXPECT_EQ(r.num, 60000);
    EXPECT_EQ(r.den, 1001);
    ASSERT_TRUE(parseFrameRate("29.97", r, &error)) << error;
    EXPECT_EQ(r.num, 2997);
    EXPECT_EQ(r.den, 100);
    ASSERT_TRUE(parseFrameRate("120/4", r, &error)) << error;
    EXPECT_EQ(r.num, 30) << "reduced";
    EXPECT_EQ(r.den, 1);
    ASSERT_TRUE(parseFrameRate(".5", r, &error)) << error;
    EXPECT_EQ(r.num, 1);
    EXPECT_EQ(r.den, 2);
}

TEST(FrameRate, RefusesWhatIsNotARateWithAReason) {
    for (const char* bad : {"", "0", "-5", "abc", "60/0", "0/5", "1e3", "60.", "1.2345", "2000",
                            "1/2000", "60 ", "60/1/1", "99999999"}) {
        FrameRate r;
        std::string error;
        EXPECT_FALSE(parseFrameRate(bad, r, &error)) << bad;
        EXPECT_NE(error.find("frame rate"), std::string::npos) << bad << ": " << error;
    }
}

TEST(FrameClock, FramesSitAtWholeMillisecondsTruncated) {
    EXPECT_EQ(framePlayMs(0, {60, 1}), 0u);
    EXPECT_EQ(framePlayMs(1, {60, 1}), 16u);
    EXPECT_EQ(framePlayMs(2, {60, 1}), 33u);
    EXPECT_EQ(framePlayMs(3, {60, 1}), 50u);
    EXPECT_EQ(framePlayMs(1, {60000, 1001}), 16u);
    EXPECT_EQ(framePlayMs(60000, {60000, 1001}), 1001000u) << "no drift over long runs";
    EXPECT_EQ(frameClock(3, {60, 1}, 160000), showClock(50, 160000));
}

TEST(FrameClock, TheLastFrameIsTheFirstAtTheEndThreshold) {
    for (const FrameRate& rate : kRates) {
        for (double total : {3000.0, 159999.0, 160000.0, 211111.0}) {
            const int64_t last = lastFrame(rate, total);
            ASSERT_GT(last, 0);
            EXPECT_TRUE(showHasEnded(frameClock(last, rate, total))) << rate.num << " " << total;
            EXPECT_FALSE(showHasEnded(frameClock(last - 1, rate, total)))
                << rate.num << " " << total;
        }
    }
    EXPECT_EQ(lastFrame({60, 1}, 0), -1) << "a music of no length never ends the show";
}

TEST(FrameClock, FirstFrameFromAPositionOrAClock) {
    for (const FrameRate& rate : kRates) {
        for (uint32_t ms : {0u, 1u, 16u, 17u, 50u, 999u, 1000u, 123457u}) {
            const int64_t k = firstFrameFrom(ms, rate);
            EXPECT_GE(framePlayMs(k, rate), ms);
            if (k > 0) {
                EXPECT_LT(framePlayMs(k - 1, rate), ms);
            }
        }
        const double total = 160000;
        const int64_t last = lastFrame(rate, total);
        for (float t : {0.0f, 0.1f, 0.299523f, 0.5f, frameClock(last, rate, total)}) {
            const int64_t k = firstFrameAtClock(t, rate, total, last);
            EXPECT_GE(frameClock(k, rate, total), t);
            if (k > 0) {
                EXPECT_LT(frameClock(k - 1, rate, total), t);
            }
        }
    }
}

TEST(FrameClock, APrintedFrameTimeMapsBackToItsFrame) {
    // In full for any rate; in microseconds for whole rates, whose frames never fall within
    // half a microsecond below a millisecond.
    for (const FrameRate& rate : kRates) {
        for (const char* format : {"%.17g", "%.6f"}) {
            if (rate.den != 1 && format[2] == '6') continue;
            for (int64_t k = 0; k < 20000; k += 7) {
                char text[40];
                std::snprintf(text, sizeof text, format, double(k) * rate.den / rate.num);
                uint32_t ms = 0;
                ASSERT_TRUE(secondsToPlayMs(std::strtod(text, nullptr), ms));
                ASSERT_EQ(ms, framePlayMs(k, rate)) << text;
                ASSERT_EQ(firstFrameFrom(ms, rate), k) << text;
            }
        }
    }
    uint32_t ms = 0;
    EXPECT_FALSE(secondsToPlayMs(-0.001, ms));
    EXPECT_FALSE(secondsToPlayMs(1e12, ms));
}

Options parse(std::vector<const char*> args, std::string* error) {
    args.insert(args.begin(), "kelvaster-capture");
    Options o;
    const bool ok = parseOptions(int(args.size()), args.data(), o, error);
    if (!ok && error->empty()) *error = "(help)";
    return ok ? o : Options{};
}

TEST(CommandLine, EachModeTakesItsOwnOptions) {
    std::string error;
    Options o = parse({"video", "--fps", "60000/1001", "--from", "10", "--to", "12.5", "--lossless",
                       "--quiet", "--jobs", "3", "--preset", "veryslow", "out.mp4"},
                      &error);
    EXPECT_EQ(error, "");
    EXPECT_EQ(o.mode, Mode::Video);
    EXPECT_EQ(o.rate.den, 1001);
    EXPECT_EQ(o.from, 10);
    EXPECT_EQ(o.to, 12.5);
    EXPECT_TRUE(o.lossless);
    EXPECT_TRUE(o.quiet);
    EXPECT_EQ(o.jobs, 3);
    EXPECT_EQ(o.preset, "veryslow");
    EXPECT_FALSE(o.worker);
    EXPECT_EQ(o.output, "out.mp4");
    EXPECT_EQ(parse({"video", "out.mp4"}, &error).jobs, 0) << "left to the machine";

    o = parse({"still", "--clock", "0.5", "a.png"}, &error);
    EXPECT_EQ(o.stillBy, StillBy::Clock);
    EXPECT_FLOAT_EQ(o.clock, 0.5f);
    o = parse({"still", "--frame", "1234", "a.png"}, &error);
    EXPECT_EQ(o.stillBy, StillBy::Frame);
    EXPECT_EQ(o.frame, 1234);

    o = parse({"sheet", "--count", "12", "--columns", "3", "--scale", "8", "s.png"}, &error);
    EXPECT_EQ(o.count, 12);
    EXPECT_EQ(o.columns, 3);
    EXPECT_EQ(o.scale, 8);
}

TEST(CommandLine, MistakesAreNamed) {
    const std::vector<std::pair<std::vector<const char*>, std::string>> cases = {
        {{}, "no mode"},
        {{"film", "x"}, "unknown mode"},
        {{"video"}, "no output"},
        {{"video", "a.mp4", "b.mp4"}, "more than one output"},
        {{"video", "--fps"}, "--fps needs a value"},
        {{"video", "--fps", "fast", "a.mp4"}, "not a frame rate"},
        {{"video", "--from", "5", "--to", "5", "a.mp4"}, "--to must come after --from"},
        {{"video", "--from", "-1", "a.mp4"}, "bad value for --from"},
        {{"video", "--from", "1e308", "a.mp4"}, "bad value for --from: \"1e308\" (0 to 4294967 s)"},
        {{"video", "--from", "4294967.5", "a.mp4"}, "bad value for --from"},
        {{"video", "--to", "1e400", "a.mp4"}, "bad value for --to"},
        {{"still", "--at", "5e9", "a.png"}, "bad value for --at"},
        {{"still", "--clock", "1e39", "a.png"}, "bad value for --clock"},
        {{"video", "--preset", "quick", "a.mp4"}, "(x264's: ultrafast, superfast"},
        {{"still", "--preset", "fast", "--at", "1", "a.png"}, "unknown option for still: --preset"},
        {{"video", "--at", "1", "a.mp4"}, "unknown option for video: --at"},
        {{"still", "a.png"}, "needs --at, --clock or --frame"},
        {{"still", "--at", "1", "--clock", "0.5", "a.png"}, "one of --at"},
        {{"still", "--at", "soon", "a.png"}, "bad value for --at"},
        {{"still", "--lossless", "a.png"}, "unknown option for still"},
        {{"sheet", "--scale", "3", "s.png"}, "bad value for --scale"},
        {{"sheet", "--count", "0", "s.png"}, "bad value for --count"},
        {{"video", "--jobs", "0", "a.mp4"}, "bad value for --jobs"},
        {{"video", "--jobs", "33", "a.mp4"}, "(1 to 32)"},
        {{"video", "--jobs", "two", "a.mp4"}, "bad value for --jobs"},
        {{"still", "--jobs", "2", "--at", "1", "a.png"}, "unknown option for still: --jobs"},
        {{"video", "--help"}, "(help)"},
    };
    for (const auto& [args, expected] : cases) {
        std::string error;
        parse(args, &error);
        EXPECT_NE(error.find(expected), std::string::npos)
            << "wanted \"" << expected << "\", got \"" << error << "\"";
    }
}

TEST(ProgressText, ShowsFramesRateAndTimeLeft) {
    const std::string line = progressLine("video", 300, 900, 10);
    EXPECT_NE(line.find("300/900 frames"), std::string::npos) << line;
    EXPECT_NE(line.find("30.0 fps"), std::string::npos) << line;
    EXPECT_NE(line.find("0:20 left"), std::string::npos) << line;
    EXPECT_NE(line.find("[##########....................]"), std::string::npos) << line;
    EXPECT_NE(progressLine("video", 1, 400000, 1).find("111:06:39 left"), std::string::npos);
    EXPECT_EQ(progressLine("video", 0, 10, 0).find("left"), std::string::npos)
        << "no guess before there is a rate";
}

} // namespace
