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
    // Scene one's first cycle, worked by hand: 0.02503 / 8 = 0.00312875 a beat.
    const double worked[9] = {0,          0.00312875, 0.0062575,  0.00938625, 0.012515,
                              0.01564375, 0.0187725,  0.02190125, 0.02503};
    float breakpoints[9];
    setBreakpoints(0, 0.02503f, breakpoints);
    for (int k = 0; k < 9; ++k) EXPECT_FLOAT_EQ(breakpoints[k], float(worked[k])) << k;

    setBreakpoints(0.075104f, 0.100144f, breakpoints);
    EXPECT_EQ(breakpoints[0], 0.075104f);
    for (int k = 0; k < 8; ++k) EXPECT_LT(breakpoints[k], breakpoints[k + 1]);
    EXPECT_NEAR(breakpoints[8], 0.100144, 1e-7);
}

} // namespace
