#include "shell/callbacks.h"
#include "shell/show.h"
#include "tests/support/glrec.h"

#include "tests/support/float_clock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>

namespace {

TEST(Dispatcher, EachSceneStartsAtTheFirstFloatOfItsWindow) {
    const struct {
        double bound;
        int before, after;
    } cuts[] = {{kSceneTwoStart, 1, 2}, {kSceneThreeStart, 2, 3}, {kSceneFourStart, 3, 4}};
    for (const auto& c : cuts) {
        const float first = firstClockAtOrAbove(c.bound);
        EXPECT_EQ(sceneFor(first), c.after) << c.bound;
        EXPECT_EQ(sceneFor(std::nextafter(first, 0.0f)), c.before) << c.bound;
    }
    EXPECT_EQ(sceneFor(0.0f), 1);
    EXPECT_EQ(sceneFor(0.99f), 4);
    EXPECT_EQ(sceneFor(1.5f), 4);
    EXPECT_EQ(sceneFor(-1e-30f), 0);
    EXPECT_EQ(sceneFor(std::numeric_limits<float>::quiet_NaN()), 0);
}

TEST(Dispatcher, AFrameWithNoSceneIsOnlyClearedAndSwapped) {
    glrec::reset();
    drawShow(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(glrec::names(),
              (std::vector<std::string>{"glClear", "glLoadIdentity", "glutSwapBuffers"}));
    EXPECT_EQ(glrec::calls()[0].arg(0), GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

TEST(ShowClock, PositionIsUnsignedAndQuotientRoundedOnce) {
    EXPECT_EQ(showClock(0x80000000u, 4294967296.0), 0.5f) << "top bit set is not negative";
    EXPECT_EQ(showClock(30000, 200000), 0.15f);
    EXPECT_TRUE(std::isnan(showClock(0, 0)));
    EXPECT_EQ(showClock(1, 3), 0x1.555556p-2f) << "1/3 to the nearest float, rounded up";
}

int framesDrawn = 0;
void countingDispatcher(float) {
    ++framesDrawn;
    std::fprintf(stderr, "drawn\n");
}

TEST(ShowFrameDeathTest, TheFrameAtTheEndIsDrawnThenTheProcessEnds) {
    sceneDispatcher = countingDispatcher;
    EXPECT_EXIT(showFrame(0.99f), ::testing::ExitedWithCode(0), "drawn");
    EXPECT_EXIT(showFrame(firstClockAtOrAbove(kEndThreshold)), ::testing::ExitedWithCode(0), "");
}

TEST(ShowFrame, BeforeTheEndAndWithNoClockTheShowGoesOn) {
    sceneDispatcher = countingDispatcher;
    framesDrawn = 0;
    showFrame(std::nextafter(firstClockAtOrAbove(kEndThreshold), 0.0f));
    showFrame(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(framesDrawn, 2);
}

TEST(Callbacks, ResizeSnapsBackAndOnlyEscapeEnds) {
    glrec::reset();
    onReshape(1024, 768);
    EXPECT_EQ(glrec::named("glutReshapeWindow").at(0).args, (std::vector<double>{800, 600}));
    onIdle();
    EXPECT_EQ(glrec::count("glutPostRedisplay"), 1u);
    for (int key = 0; key < 256; ++key)
        if (key != 27) onKeyboard(static_cast<unsigned char>(key), 0, 0);
    EXPECT_EXIT(onKeyboard(27, 0, 0), ::testing::ExitedWithCode(0), "");
}

} // namespace
