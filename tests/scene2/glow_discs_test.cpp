#include "scenes/scene2/glow_discs.h"

#include "tests/scene2/disc_probe.h"

#include <gtest/gtest.h>

namespace {

TEST(GlowDiscs, FirstAndThirdDiscAtPointTwo) {
    glrec::reset();
    drawGlowDiscs(0.2f);
    const auto discs = probe::begins(GL_POLYGON);
    ASSERT_EQ(discs.size(), 12u);
    // Disc i is drawn at the first anchor, then at the second.
    const auto a = probe::centreOf(discs[0]), b = probe::centreOf(discs[1]);
    EXPECT_NEAR(a[0] + 250, -114.919, 0.001);
    EXPECT_NEAR(a[1] - 170, 40.808, 0.001);
    EXPECT_NEAR(b[0] - 290, -114.919, 0.001);
    EXPECT_NEAR(b[1] + 180, 40.808, 0.001);
    EXPECT_NEAR(probe::discRadius(discs[0]), 77.39, 0.01);
    EXPECT_NEAR(probe::discRadius(discs[4]), 80, 0.001);
    const glrec::Call colour = glrec::named("glColor3f").at(0);
    EXPECT_NEAR(colour.arg(0), 0.8565, 0.0001);
    EXPECT_NEAR(colour.arg(1), 0.604, 0.0001);
    EXPECT_NEAR(colour.arg(2), 0.8565, 0.0001);
}

// Every disc is added to the frame, and blending is off again afterwards.
TEST(GlowDiscs, AddedToTheFrame) {
    glrec::reset();
    drawGlowDiscs(0.12f);
    for (const glrec::Call& c : glrec::named("glBlendFunc"))
        EXPECT_EQ(c.args, (std::vector<double>{GL_ONE, GL_ONE}));
    EXPECT_EQ(glrec::count("glBlendFunc"), 12u);
    EXPECT_FALSE(glrec::state().isEnabled(GL_BLEND));
}

} // namespace
