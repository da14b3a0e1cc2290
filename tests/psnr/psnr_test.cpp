#include "tools/psnr/psnr.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

RgbFrame grey(int w, int h, unsigned char v) {
    RgbFrame f;
    f.width = w;
    f.height = h;
    f.rgb.assign(size_t(w) * h * 3, v);
    return f;
}

TEST(Psnr, FromTheMeanSquaredError) {
    const RgbFrame a = grey(4, 4, 100);
    EXPECT_TRUE(std::isinf(psnr(a, a)));
    // Every channel off by 16: MSE 256, 10 log10(65025 / 256) = 24.048 dB.
    EXPECT_NEAR(psnr(a, grey(4, 4, 116)), 24.048, 0.001);
    // One channel of one pixel off by 255 in 16 pixels: MSE 65025 / 48.
    RgbFrame b = a;
    b.rgb[5] = static_cast<unsigned char>(100 + 155);
    EXPECT_NEAR(psnr(a, b), 10 * std::log10(65025.0 * 48 / (155.0 * 155.0)), 1e-9);
}

TEST(Psnr, BlankFramesAreOneColour) {
    RgbFrame f = grey(3, 2, 7);
    EXPECT_TRUE(isBlank(f));
    f.rgb.back() = 8;
    EXPECT_FALSE(isBlank(f));
}

// A diagonal stripe pattern moved by (2, -1) is found there; in place it stays at (0, 0).
TEST(Psnr, FindsAFrameThatSitsOffItsPlace) {
    RgbFrame a = grey(40, 30, 0);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            for (int c = 0; c < 3; ++c)
                a.rgb[(size_t(y) * 40 + x) * 3 + c] = ((x * 7 + y * 3) % 11) * 20;
    RgbFrame moved = grey(40, 30, 0);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const int sx = x - 2, sy = y + 1;
            if (sx < 0 || sy >= 30) continue;
            for (int c = 0; c < 3; ++c)
                moved.rgb[(size_t(y) * 40 + x) * 3 + c] = a.rgb[(size_t(sy) * 40 + sx) * 3 + c];
        }
    int dx = 9, dy = 9;
    bestShift(a, moved, 3, dx, dy);
    EXPECT_EQ(dx, 2);
    EXPECT_EQ(dy, -1);
    bestShift(a, a, 3, dx, dy);
    EXPECT_EQ(dx, 0);
    EXPECT_EQ(dy, 0);
}

} // namespace
