#include "tools/offscreen/offscreen.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

int run(const std::string& args) {
    const int status = std::system((std::string(FRAME_COMMAND) + " " + args).c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(FrameCommand, WritesTheFrameAsAnEightHundredBySixHundredPng) {
    const std::string out = "frame_command_test.png";
    unlink(out.c_str());
    ASSERT_EQ(run("nan " + out), 0);
    int w = 0, h = 0;
    std::vector<unsigned char> rgb;
    ASSERT_TRUE(readPng(out, w, h, rgb));
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
    EXPECT_EQ(rgb[0], 255) << "no scene at a clock that is not a number: the white clear colour";
    unlink(out.c_str());
}

TEST(FrameCommand, RefusesWhatIsNotAClockOrCannotBeWritten) {
    EXPECT_EQ(run("soon out.png 2>/dev/null"), 2);
    EXPECT_EQ(run("0.5 2>/dev/null"), 2);
    EXPECT_EQ(run("0.5 /nonexistent/dir/out.png 2>/dev/null"), 1);
}

} // namespace
