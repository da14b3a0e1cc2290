#include "show/graphics.h"
#include "show/show.h"
#include "tools/offscreen/offscreen.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class SceneThreeRender : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        std::string error;
        ASSERT_TRUE(offscreenOpen(&error)) << error;
        ASSERT_TRUE(initGraphics().ok());
    }
    // Frames of a 200-second piece at 60 a second up to t, so what the scene carries from
    // frame to frame is as a run leaves it; then the frame at t is read.
    void playUpTo(float t) {
        for (int k = 4; k > 0; --k) drawShow(static_cast<float>(t - k / 12000.0));
        drawShow(t);
        offscreenReadFrame(frame);
    }
    struct Share {
        double white = 0, dark = 0, red = 0, lit = 0, n = 0;
    };
    // Shares of the pixels in columns [x0, x1) that are near white, dark (below 40), red or
    // lit (above 60).
    Share shareIn(int x0, int x1) const {
        Share s;
        for (int y = 0; y < kFrameHeight; ++y)
            for (int x = x0; x < x1; ++x) {
                const unsigned char* p = &frame[(y * kFrameWidth + x) * 3];
                const int lo = std::min({p[0], p[1], p[2]}), hi = std::max({p[0], p[1], p[2]});
                s.white += lo >= 230;
                s.dark += hi < 40;
                s.red += p[0] > 150 && p[1] < 100 && p[2] < 100;
                s.lit += hi > 60;
                ++s.n;
            }
        s.white /= s.n, s.dark /= s.n, s.red /= s.n, s.lit /= s.n;
        return s;
    }
    int brightestIn(int x0, int x1) const {
        int most = 0;
        for (int y = 0; y < kFrameHeight; ++y)
            for (int x = x0; x < x1; ++x)
                for (int c = 0; c < 3; ++c)
                    most = std::max<int>(most, frame[(y * kFrameWidth + x) * 3 + c]);
        return most;
    }
    std::vector<unsigned char> frame;
};

TEST_F(SceneThreeRender, SecondHalfOpensOnABlackFrame) {
    playUpTo(0.599523f);
    EXPECT_LE(brightestIn(0, kFrameWidth), 1);
}

TEST_F(SceneThreeRender, WhiteHalfShowsTheCityOnWhiteBetweenBlackBars) {
    playUpTo(0.5f);
    const Share middle = shareIn(100, 700);
    EXPECT_GT(middle.white, 0.2) << "white ground";
    EXPECT_GT(middle.dark, 0.02) << "the towers' dark glass";
    EXPECT_GT(middle.red, 0.0005) << "the tracer's red paths";
    EXPECT_LE(brightestIn(0, 100), 64) << "v (1 - v) never exceeds a quarter";
    EXPECT_LE(brightestIn(700, 800), 64);
}

TEST_F(SceneThreeRender, BlackHalfShowsGlowingShapesOnBlackUnderTheStrobe) {
    // sin(20000 t) is positive at 0.7: the strobe maps every channel v to v (1 - v).
    playUpTo(0.7f);
    Share all = shareIn(0, kFrameWidth);
    EXPECT_GT(all.dark, 0.4) << "black ground";
    EXPECT_GT(all.lit, 0.05) << "shapes still show, dimmed";
    EXPECT_LE(brightestIn(0, kFrameWidth), 64);

    // Half a period later the strobe is off and the shapes glow at full strength.
    playUpTo(static_cast<float>(0.7 + 3.14159265 / 20000));
    all = shareIn(0, kFrameWidth);
    EXPECT_GT(all.dark, 0.4);
    EXPECT_LT(all.white, 0.05) << "only the smoke's core adds up to white";
    EXPECT_GT(all.lit, 0.1);
    EXPECT_GT(brightestIn(0, kFrameWidth), 150);
}

} // namespace
