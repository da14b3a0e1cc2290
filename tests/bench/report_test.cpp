#include "tools/bench/report.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TEST(BenchReport, MedianAndMeanOfOddAndEvenCounts) {
    const FrameStats odd = summarise({9, 1, 5});
    EXPECT_EQ(odd.frames, 3);
    EXPECT_DOUBLE_EQ(odd.medianMs, 5);
    EXPECT_DOUBLE_EQ(odd.meanMs, 5);
    const FrameStats even = summarise({40, 1, 3, 2});
    EXPECT_DOUBLE_EQ(even.medianMs, 2.5);
    EXPECT_DOUBLE_EQ(even.meanMs, 11.5);
    EXPECT_EQ(summarise({}).frames, 0);
}

TEST(BenchReport, ResultLineReadsBackAndRefusesAnythingElse) {
    FrameStats s;
    s.frames = 120;
    s.medianMs = 61.25;
    s.meanMs = 70.5;
    FrameStats read;
    ASSERT_TRUE(parseResultLine(resultLine(s) + "\n", read));
    EXPECT_EQ(read.frames, 120);
    EXPECT_DOUBLE_EQ(read.medianMs, 61.25);
    EXPECT_DOUBLE_EQ(read.meanMs, 70.5);
    for (const char* bad : {"", "frames 3 median 1.0", "frames 0 median 1 mean 1",
                            "frames 3 median 1 mean 1 and more", "frames 3 median nan mean 1"})
        EXPECT_FALSE(parseResultLine(bad, read)) << bad;
}

std::vector<std::string> lines(const std::string& text) {
    std::stringstream in(text);
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

size_t cells(const std::string& line) {
    return size_t(std::count(line.begin(), line.end(), '|')) - 1;
}

TEST(BenchReport, TableHasARowAStretchAndFourCellsADriver) {
    Row ok;
    ok.stretch = "3a";
    ok.llvmpipe = {true, true, {120, 80.04, 90}, 200 * 1024, 12500};
    ok.noop = {true, true, {120, 2.5, 3}, 70 * 1024, 6000};
    Row failed = ok;
    failed.stretch = "4";
    failed.noop.ok = false;
    const std::vector<std::string> both = lines(markdownTable({ok, failed}));
    ASSERT_EQ(both.size(), 4u);
    for (const std::string& line : both) EXPECT_EQ(cells(line), 10u) << line;
    EXPECT_EQ(both[2], "| 3a | 120 | 80.0 | 90.0 | 200 | 12 | 2.5 | 3.0 | 70 | 6 |");
    EXPECT_EQ(both[3], "| 4 | 120 | 80.0 | 90.0 | 200 | 12 | failed | failed | failed | failed |");

    ok.noop = DriverRun();
    const std::vector<std::string> one = lines(markdownTable({ok}));
    ASSERT_EQ(one.size(), 3u);
    EXPECT_EQ(cells(one[0]), 6u);
    EXPECT_EQ(one[0].find("noop"), std::string::npos);
    EXPECT_EQ(markdownTable({}), "");
}

} // namespace
