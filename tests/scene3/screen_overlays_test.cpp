#include "scenes/scene3/screen_overlays.h"
#include "tests/support/glrec.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class ScreenOverlays : public ::testing::Test {
  protected:
    void SetUp() override { glrec::reset(); }
};

// The x extent on screen of every rectangle drawn.
std::vector<std::array<double, 2>> drawnSpans() {
    std::vector<std::array<double, 2>> out;
    for (const glrec::Call& q : glrec::named("glDrawArrays")) {
        const auto left = glrec::apply(q.modelview, q.vertices[5], q.vertices[6], 0);
        const auto right = glrec::apply(q.modelview, q.vertices[2 * 8 + 5], 0, 0);
        out.push_back({left[0], right[0]});
    }
    return out;
}

TEST_F(ScreenOverlays, SideBarsInvertTheOuterHundredUnitsOfEachSide) {
    drawSideBars();
    const auto spans = drawnSpans();
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_EQ(spans[0], (std::array<double, 2>{-400, -300}));
    EXPECT_EQ(spans[1], (std::array<double, 2>{300, 400}));
    EXPECT_EQ(glrec::named("glDrawArrays")[0].vertices[6], 300) << "full height";
    EXPECT_EQ(glrec::state().blendSrc, GLenum(GL_ZERO));
    EXPECT_EQ(glrec::state().blendDst, GLenum(GL_ONE_MINUS_DST_COLOR));
    EXPECT_FALSE(glrec::state().isEnabled(GL_BLEND));
    EXPECT_EQ(glrec::state().modelview.size(), 1u);
}

TEST_F(ScreenOverlays, FadeIsBlackAtTheSecondHalfsStartAndClearWithin001) {
    EXPECT_EQ(blackFadeAlpha(0.5f), 1);
    EXPECT_GT(blackFadeAlpha(0.599523f), 1 - 1e-6); // the float lies just above 0.599523
    EXPECT_NEAR(blackFadeAlpha(0.604523f), 0.5, 1e-5);
    // The float nearest 0.609523 lies just below it; what is left there is invisible.
    EXPECT_LT(blackFadeAlpha(0.609523f), 1e-6);
    EXPECT_EQ(blackFadeAlpha(std::nextafter(0.609523f, 1.0f)), 0);
    EXPECT_EQ(blackFadeAlpha(0.85f), 0);

    drawBlackFade(0.7f);
    ASSERT_EQ(glrec::count("glDrawArrays"), 1u) << "still drawn when clear";
    const glrec::Call quad = glrec::named("glDrawArrays")[0];
    EXPECT_EQ(glrec::apply(quad.modelview, 0, 0, 0)[2], 2);
    EXPECT_EQ(glrec::state().color[3], 0);
    EXPECT_EQ(glrec::state().blendSrc, GLenum(GL_SRC_ALPHA));
    EXPECT_FALSE(glrec::state().isEnabled(GL_BLEND));
    EXPECT_EQ(glrec::state().modelview.size(), 1u);
}

TEST_F(ScreenOverlays, StrobeInvertsTheWholeFrameOnEveryOtherHalfPeriod) {
    // Middles of consecutive half-periods of sin(20000 t) about t = 0.7.
    const double halfPeriod = M_PI / 20000;
    const long first = std::lround(0.7 / halfPeriod);
    for (long n = first; n < first + 8; ++n) {
        const float t = static_cast<float>((n + 0.5) * halfPeriod);
        const bool on = n % 2 == 0;
        EXPECT_EQ(strobeIsOn(t), on) << "half-period " << n;
        glrec::reset();
        drawStrobe(t);
        ASSERT_EQ(glrec::count("glDrawArrays"), on ? 1u : 0u) << "half-period " << n;
        if (on) {
            EXPECT_EQ(drawnSpans()[0], (std::array<double, 2>{-400, 400}));
        }
        EXPECT_FALSE(glrec::state().isEnabled(GL_BLEND));
    }
}

} // namespace
