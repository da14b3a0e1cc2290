#include "show/show.h"
#include "tests/support/glrec.h"

#include "tests/support/float_clock.h"

#include <gtest/gtest.h>

#include <cmath>
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

TEST(Dispatcher, AFrameWithNoSceneIsOnlyCleared) {
    glrec::reset();
    drawShow(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(glrec::names(), (std::vector<std::string>{"glClear", "glLoadIdentity"}));
    EXPECT_EQ(glrec::calls()[0].arg(0), GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

TEST(ShowClock, PositionIsUnsignedAndQuotientRoundedOnce) {
    EXPECT_EQ(showClock(0x80000000u, 4294967296.0), 0.5f) << "top bit set is not negative";
    EXPECT_EQ(showClock(30000, 200000), 0.15f);
    EXPECT_TRUE(std::isnan(showClock(0, 0)));
    EXPECT_EQ(showClock(1, 3), 0x1.555556p-2f) << "1/3 to the nearest float, rounded up";
}

} // namespace
