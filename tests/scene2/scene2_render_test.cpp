#include "gfx/screen_passes.h"
#include "show/graphics.h"
#include "show/show.h"
#include "tools/offscreen/offscreen.h"

#include "tests/support/float_clock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

class SceneTwoRender : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        std::string error;
        ASSERT_TRUE(offscreenOpen(&error)) << error;
        ASSERT_TRUE(initGraphics().ok());
    }

    std::vector<unsigned char> frameAt(float t) {
        drawShow(t);
        std::vector<unsigned char> rgb;
        offscreenReadFrame(rgb);
        return rgb;
    }

    // Share of pixels in rows [top, bottom) that are not near white.
    static double inkIn(const std::vector<unsigned char>& f, int top, int bottom) {
        long ink = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < kFrameWidth; ++x) {
                const unsigned char* p = &f[(y * kFrameWidth + x) * 3];
                ink += p[0] + p[1] + p[2] < 3 * 230;
            }
        return double(ink) / (double(bottom - top) * kFrameWidth);
    }

    // Mean absolute change per channel between two frames, 0 to 255.
    static double change(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
        long sum = 0;
        for (size_t k = 0; k < a.size(); ++k) sum += std::abs(int(a[k]) - int(b[k]));
        return double(sum) / double(a.size());
    }

    static const unsigned char* at(const std::vector<unsigned char>& f, int x, int y) {
        return &f[(y * kFrameWidth + x) * 3];
    }
};

// Scene one ends on its screen projection; the floor must still fill the lower half.
TEST_F(SceneTwoRender, FirstFrameShowsTheFloor) {
    setOrthoProjection();
    const auto f = frameAt(firstClockAtOrAbove(0.100144));
    EXPECT_GT(inkIn(f, 300, 600), 0.8);
}

// The camera cut is a jump in the picture; a frame a little later in the same shot is not.
TEST_F(SceneTwoRender, CutsAreHardAndShotsSmooth) {
    const float cut = firstClockAtOrAbove(0.149518);
    const auto before = frameAt(std::nextafter(cut, 0.0f));
    const auto after = frameAt(cut);
    const auto later = frameAt(cut + 0.00005f);
    const double jump = change(before, after), drift = change(after, later);
    EXPECT_GT(jump, 4 * drift) << "jump " << jump << ", drift " << drift;
    EXPECT_GT(jump, 30);
}

// On the last frames of the scene the last bullseye is nearly full size at (300, 200) from
// the centre: black centre, white ring, black rim, whatever the world behind it shows.
TEST_F(SceneTwoRender, LastBullseyeNearlyFullBeforeSceneThree) {
    const auto f = frameAt(0.2995f);
    const int cx = 400 + 300, cy = 300 - 200; // image rows run top down
    const unsigned char* centre = at(f, cx, cy);
    const unsigned char* ring = at(f, cx - 170, cy);
    const unsigned char* rim = at(f, cx - 290, cy);
    EXPECT_LT(centre[0] + centre[1] + centre[2], 60);
    EXPECT_GT(ring[0] + ring[1] + ring[2], 3 * 200);
    EXPECT_LT(rim[0] + rim[1] + rim[2], 3 * 80);
}

} // namespace
