#include "gfx/textures.h"
#include "show/show.h"
#include "tests/support/offscreen_fixture.h"

#include <algorithm>

namespace {

using SceneFourRender = OffscreenTest;

TEST_F(SceneFourRender, TheMaskDarkensTheEdgesAndLeavesTheMiddle) {
    const float t = 0.94f;
    drawShow(t); // leaves the clear colour the frame before t leaves
    drawShow(t);
    const Pixels masked = frame();
    // The same frame under a white mask is the frame before masking.
    const GLuint eye = tex::eyeMask;
    const unsigned char white[4] = {255, 255, 255, 255};
    glGenTextures(1, &tex::eyeMask);
    glBindTexture(GL_TEXTURE_2D, tex::eyeMask);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, white);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    drawShow(t);
    const Pixels plain = frame();
    tex::eyeMask = eye;

    for (size_t i = 0; i < masked.size(); ++i) ASSERT_LE(masked[i], plain[i] + 1) << i;
    // Sum of a square's channels, x and y counted from the top left.
    auto sum = [](const Pixels& f, int x0, int y0, int side) {
        long s = 0;
        for (int y = y0; y < y0 + side; ++y)
            for (int x = x0; x < x0 + side; ++x)
                for (int c = 0; c < 3; ++c) s += f[(y * kFrameWidth + x) * 3 + c];
        return s;
    };
    for (int x : {0, 760})
        for (int y : {0, 560}) EXPECT_LT(sum(masked, x, y, 40), sum(plain, x, y, 40) / 4);
    EXPECT_NEAR(sum(masked, 380, 280, 40), sum(plain, 380, 280, 40), 40 * 40 * 3 * 2);
    EXPECT_GT(sum(plain, 380, 280, 40), 40 * 40 * 3 * 13) << "the middle is not blank";
}

} // namespace
