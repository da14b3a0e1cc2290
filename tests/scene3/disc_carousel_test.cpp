#include "gfx/timeline.h"
#include "scenes/scene3/disc_carousel.h"
#include "tests/support/float_clock.h"
#include "tests/support/glrec.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The show clock at which the sweep has run e degrees ahead of the ring.
float clockForSweep(double e) {
    return static_cast<float>(kSceneThreeStart + e / 4000);
}

class DiscCarousel : public ::testing::Test {
  protected:
    void SetUp() override {
        glrec::reset();
        carouselState = kCarouselFilling;
    }
    CarouselFrame advance(float t) { return advanceCarousel(carouselState, t); }
    // Works out the frame at t and draws it.
    void drawAt(float t) { drawDiscCarousel(advance(t)); }
    // The angle about the vertical axis of every disc drawn, in drawing order.
    static std::vector<double> drawnAngles() {
        std::vector<double> out;
        for (const glrec::Call& c : glrec::named("glRotatef"))
            if (c.arg(2) == 1 && c.arg(0) != 180) out.push_back(c.arg(0));
        return out;
    }
    int32_t carouselState;
};

TEST_F(DiscCarousel, FirstFrameDrawsOnlyTheLeadingDiscAndStartsFilling) {
    carouselState = kCarouselNotStarted;
    const float t = firstClockAtOrAbove(kSceneThreeStart);
    drawAt(t);
    EXPECT_EQ(carouselState, kCarouselFilling);
    const auto angles = drawnAngles();
    ASSERT_EQ(angles.size(), 1u);
    EXPECT_NEAR(angles[0], t * 1000.0 + 30, 0.01);
}

TEST_F(DiscCarousel, LeadingDiscSetsTheSlotsItHasPassed) {
    const CarouselFrame f = advance(clockForSweep(150.7));
    EXPECT_TRUE(f.leading);
    const bool expected[6] = {true, true, true, false, false, false};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(f.slot[i], expected[i]) << "slot " << i;
    EXPECT_EQ(carouselState, kCarouselFilling);
}

TEST_F(DiscCarousel, RingIsFullFromTheFrameWhoseSweepReaches301) {
    const CarouselFrame at300 = advance(clockForSweep(300.5));
    EXPECT_FALSE(at300.slot[5]) << "300 is not past 300";
    EXPECT_TRUE(at300.slot[4]);
    EXPECT_TRUE(at300.leading);
    EXPECT_EQ(carouselState, kCarouselFilling);

    const float t = clockForSweep(301.5);
    drawAt(t);
    EXPECT_EQ(carouselState, kCarouselFull);
    const auto angles = drawnAngles();
    ASSERT_EQ(angles.size(), 6u) << "six slots, no leading disc";
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(angles[i], 60 * i + t * 1000.0 + 30, 0.01);

    // Full is final, whatever the sweep does afterwards.
    EXPECT_TRUE(advance(clockForSweep(365.5)).slot[5]);
    EXPECT_EQ(carouselState, kCarouselFull);
}

TEST_F(DiscCarousel, AFrameThatCarriesTheSweepPastATurnWrapsAndFillsOn) {
    const CarouselFrame f = advance(clockForSweep(365.5));
    EXPECT_TRUE(f.slot[0]);
    for (int i = 1; i < 6; ++i) EXPECT_FALSE(f.slot[i]);
    EXPECT_TRUE(f.leading);
    EXPECT_EQ(carouselState, kCarouselFilling);
    EXPECT_EQ(advance(clockForSweep(661.5)).leading, false);
}

TEST_F(DiscCarousel, EachDiscStandsOnTheRingFacingTheAxis) {
    carouselState = kCarouselFull;
    drawAt(0.5f);
    const auto discs = glrec::named("glBegin");
    ASSERT_EQ(discs.size(), 6u);
    for (const glrec::Call& d : discs) {
        const auto centre = glrec::apply(d.modelview, 0, 0, 0);
        EXPECT_NEAR(std::hypot(centre[0], centre[2]), 550, 1e-6);
        EXPECT_NEAR(centre[1], 0, 1e-9);
        // The disc's front (+z) points back towards the axis.
        const auto front = glrec::apply(d.modelview, 0, 0, 1);
        EXPECT_NEAR(std::hypot(front[0], front[2]), 549, 1e-6);
    }
    EXPECT_EQ(glrec::state().color[0], 0.2f);
    EXPECT_EQ(glrec::state().modelview.size(), 1u);
}

} // namespace
