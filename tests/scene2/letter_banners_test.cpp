#include "scenes/scene2/letter_banners.h"

#include "gfx/textures.h"
#include "tests/scene2/disc_probe.h"

#include "tests/support/float_clock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

struct Drawn {
    std::vector<double> textures;
    std::vector<std::array<double, 3>> centres;
};

Drawn drawAt(float t) {
    glrec::reset();
    tex::uprightBanner = 7, tex::bannerAlongX = 8, tex::bannerAlongZ = 9;
    drawLetterBanners(t);
    Drawn d;
    for (const glrec::Call& c : glrec::named("glBindTexture")) d.textures.push_back(c.arg(1));
    for (const glrec::Call& c : glrec::named("glDrawArrays"))
        d.centres.push_back(glrec::apply(c.modelview, 0, 0, 0));
    return d;
}

TEST(LetterBanners, WhichShowAroundTheCuts) {
    EXPECT_EQ(drawAt(0.14f).textures, (std::vector<double>{7}));
    const float cut = firstClockAtOrAbove(0.149518);
    EXPECT_EQ(drawAt(std::nextafter(cut, 0.0f)).textures, (std::vector<double>{7}));
    EXPECT_EQ(drawAt(cut).textures, (std::vector<double>{8, 9}));
    const float back = firstClockAtOrAbove(0.249312);
    EXPECT_EQ(drawAt(std::nextafter(back, 0.0f)).textures, (std::vector<double>{8, 9}));
    EXPECT_TRUE(drawAt(back).textures.empty());
    EXPECT_TRUE(drawAt(0.25f).textures.empty());
}

TEST(LetterBanners, SlideAlongTheFloor) {
    Drawn d = drawAt(0.14f);
    EXPECT_EQ(d.centres.at(0), (std::array<double, 3>{250, -350, 100}));
    d = drawAt(firstClockAtOrAbove(0.149518));
    EXPECT_NEAR(d.centres.at(0)[0], 450, 1e-3);
    EXPECT_NEAR(d.centres.at(1)[2], -400, 1e-3);
    d = drawAt(0.2f);
    EXPECT_NEAR(d.centres.at(0)[0], 249.33, 0.01);
    EXPECT_EQ(d.centres.at(0)[1], -560);
    EXPECT_NEAR(d.centres.at(1)[2], -199.33, 0.01);
    EXPECT_EQ(d.centres.at(1)[1], -550);
    d = drawAt(std::nextafter(firstClockAtOrAbove(0.249312), 0.0f));
    EXPECT_NEAR(d.centres.at(0)[0], 53.31, 0.01);
    EXPECT_NEAR(d.centres.at(1)[2], -3.31, 0.01);
}

// Banner 3 lies flat with its long side along Z; both flat banners face up.
TEST(LetterBanners, FlatBannersFaceUp) {
    glrec::reset();
    drawLetterBanners(0.2f);
    const auto rects = glrec::named("glDrawArrays");
    ASSERT_EQ(rects.size(), 2u);
    const double spans[2][2] = {{640, 80}, {80, 1280}}; // along X, along Z
    for (int b = 0; b < 2; ++b) {
        const glrec::Call& r = rects[size_t(b)];
        std::array<double, 3> lo{1e9, 1e9, 1e9}, hi{-1e9, -1e9, -1e9};
        for (size_t v = 0; v < 4; ++v) {
            const float* p = &r.vertices[v * r.stride + 5];
            const auto w = glrec::apply(r.modelview, p[0], p[1], p[2]);
            for (int c = 0; c < 3; ++c)
                lo[c] = std::min(lo[c], w[c]), hi[c] = std::max(hi[c], w[c]);
        }
        EXPECT_NEAR(hi[0] - lo[0], spans[b][0], 1e-3);
        EXPECT_NEAR(hi[1] - lo[1], 0, 1e-3);
        EXPECT_NEAR(hi[2] - lo[2], spans[b][1], 1e-3);
        // The quad's normal (0, 0, 1) must come out pointing up.
        const auto o = glrec::apply(r.modelview, 0, 0, 0), n = glrec::apply(r.modelview, 0, 0, 1);
        EXPECT_NEAR(n[1] - o[1], 1, 1e-6);
    }
    EXPECT_FALSE(glrec::state().isEnabled(GL_BLEND));
    EXPECT_FALSE(glrec::state().isEnabled(GL_TEXTURE_2D));
}

} // namespace
