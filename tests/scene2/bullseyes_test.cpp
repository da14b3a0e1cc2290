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
}

TEST(Bullseyes, VanishAtTheirFirstFrame) {
    glrec::reset();
    drawBullseyes(0.283815f);
    for (size_t d = 0; d < 24; ++d) EXPECT_LT(std::fabs(radiusOf(d)), 0.005) << "disc " << d;
}

// Black, white, black, each one unit nearer the viewer; later marks lie nearer still.
TEST(Bullseyes, StackTowardsTheViewer) {
    glrec::reset();
    drawBullseyes(0.29f);
    const auto colours = glrec::named("glColor3f");
    ASSERT_EQ(colours.size(), 24u);
    for (size_t d = 0; d < 24; ++d) EXPECT_EQ(colours[d].arg(0), d % 3 == 1 ? 1 : 0);
    const auto begins = glrec::named("glBegin");
    EXPECT_EQ(glrec::apply(begins[0].modelview, 0, 0, 0), (std::array<double, 3>{-350, 240, 1}));
    EXPECT_EQ(glrec::apply(begins[2].modelview, 0, 0, 0), (std::array<double, 3>{-350, 240, 3}));
    EXPECT_EQ(glrec::apply(begins[21].modelview, 0, 0, 0), (std::array<double, 3>{300, 200, 22}));
    EXPECT_EQ(glrec::state().modelview.size(), 1u);
    EXPECT_EQ(glrec::count("glEnable") + glrec::count("glBlendFunc"), 0u);
}

} // namespace
