#include "scenes/scene2/bullseyes.h"

#include "tests/scene2/disc_probe.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

double radiusOf(size_t disc) {
    return probe::discRadius(probe::begins(GL_POLYGON).at(disc));
}

TEST(Bullseyes, FullSizeAtTheStartOfSceneThree) {
    glrec::reset();
    drawBullseyes(0.299523f);
    ASSERT_EQ(glrec::count("glBegin"), 24u);
    // Mark 7 is the last three discs; the pulse is -1 here and the sign is kept.
    EXPECT_NEAR(radiusOf(21), -340, 0.001);
    EXPECT_NEAR(radiusOf(22), -238, 0.001);
    EXPECT_NEAR(radiusOf(23), -102, 0.001);
    EXPECT_NEAR(radiusOf(0), -90, 0.001);
    // Later marks lie nearer, each disc one unit above the one beneath it.
    const auto begins = probe::begins(GL_POLYGON);
    EXPECT_EQ(probe::centreOf(begins[23]), (std::array<double, 3>{300, 200, 24}));
}

TEST(Bullseyes, VanishAtTheirFirstFrame) {
    glrec::reset();
    drawBullseyes(0.283815f);
    for (size_t d = 0; d < 24; ++d) EXPECT_LT(std::fabs(radiusOf(d)), 0.005) << "disc " << d;
}

} // namespace
