#include "gfx/curves.h"

#include <gtest/gtest.h>

namespace {

TEST(Curves, PingPongRisesToThePeakAndFallsBack) {
    EXPECT_EQ(pingPong(2, 2, 4, 1, 5), 1);
    EXPECT_EQ(pingPong(3, 2, 4, 1, 5), 5);
    EXPECT_EQ(pingPong(3.5f, 2, 4, 1, 5), 3);
    EXPECT_EQ(pingPong(4, 2, 4, 1, 5), 1);
    EXPECT_EQ(pingPong(100, 2, 4, 1, 5), 1) << "held at base after the window";
    EXPECT_EQ(pingPong(-0.5f, 0, 1, 0, 10), -10) << "no clamp below the window";
}

TEST(Curves, BreakpointsSplitTheWindowIntoEightBeats) {
    setBreakpoints(0, 0.02503f);
    const float d = static_cast<float>(static_cast<long double>(0.02503f) * 0.125L);
    EXPECT_EQ(breakpoints[0], 0);
    EXPECT_FLOAT_EQ(breakpoints[1], 0.00312875f);
    EXPECT_FLOAT_EQ(breakpoints[2], 0.0062575f);
    EXPECT_FLOAT_EQ(breakpoints[8], 0.02503f);
    for (int k = 1; k <= 8; ++k) EXPECT_EQ(breakpoints[k], static_cast<float>(k * (long double)d));

    setBreakpoints(0.075104f, 0.100144f);
    for (int k = 0; k < 8; ++k) EXPECT_LT(breakpoints[k], breakpoints[k + 1]);
    EXPECT_NEAR(breakpoints[8], 0.100144, 1e-7);
}

} // namespace
