#include "gfx/textures.h"
#include "scenes/scene3/cube_field_picture.h"
#include "scenes/scene3/smoke_picture.h"
#include "shell/graphics.h"
#include "shell/show.h"
#include "tools/offscreen/offscreen.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Pixels = std::vector<unsigned char>;

class SceneFourRender : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        std::string error;
        ASSERT_TRUE(offscreenOpen(&error)) << error;
        initGraphics();
    }
    static Pixels frame() {
        Pixels rgb;
        offscreenReadFrame(rgb);
        return rgb;
    }
    // A 512 x 512 picture, bottom row first.
    static Pixels picture(GLuint texture) {
        Pixels rgb(512 * 512 * 3);
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        return rgb;
    }
};

TEST_F(SceneFourRender, PicturesGoOnlyIntoTheirTargetsAndLeaveTheFrameWhite) {
    glClearColor(1, 0, 0, 1); // whatever the previous frame left
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    renderCubeFieldPicture(0.95f);
    const Pixels afterField = frame();
    EXPECT_TRUE(std::all_of(afterField.begin(), afterField.end(), [](int c) { return c == 255; }));
    renderSmokePicture(0.95f);
    const Pixels afterSmoke = frame();
    EXPECT_TRUE(std::all_of(afterSmoke.begin(), afterSmoke.end(), [](int c) { return c == 255; }));

    // The field stands on the ground the caller cleared with: red above the horizon.
    const Pixels field = picture(tex::target6);
    const unsigned char* sky = &field[(511 * 512 + 256) * 3];
    EXPECT_EQ(sky[0] * 65536 + sky[1] * 256 + sky[2], 0xff0000);
    EXPECT_GT(std::count(field.begin(), field.end(), 0), 1000) << "black outlines";

    // Smoke drawn on white becomes a dim cyan glow on black: v (1 - v) never passes 0.25.
    const Pixels smoke = picture(tex::target7);
    int most[3] = {0, 0, 0};
    for (size_t i = 0; i < smoke.size(); ++i) most[i % 3] = std::max<int>(most[i % 3], smoke[i]);
    EXPECT_EQ(most[0], 0);
    EXPECT_GT(most[1], 40);
    EXPECT_LE(most[1], 65);
    EXPECT_EQ(smoke[0] + smoke[1] + smoke[2], 0) << "corner is background";
}

TEST_F(SceneFourRender, TheMaskDarkensTheEdgesAndLeavesTheMiddle) {
    const float t = 0.94f;
    drawShow(t); // leaves the clear colour the frame before t leaves
    drawShow(t);
    const Pixels masked = frame();
    // The same frame under a white mask is the frame before masking.
    const GLuint eye = tex::eyeeye2;
    const unsigned char white[4] = {255, 255, 255, 255};
    glGenTextures(1, &tex::eyeeye2);
    glBindTexture(GL_TEXTURE_2D, tex::eyeeye2);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, white);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    drawShow(t);
    const Pixels plain = frame();
    tex::eyeeye2 = eye;

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
