// Scene one on a real GL context: what a viewer would notice of the bars and the title.
#include "gfx/textures.h"
#include "show/data_files.h"
#include "show/graphics.h"
#include "show/show.h"
#include "tools/offscreen/offscreen.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class SceneOneRender : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        // Without the built pictures start-up fails on the first; say why instead.
        struct stat s;
        ASSERT_EQ(stat(data_files::title2, &s), 0) << "the pictures under Data/ are not built";
        std::string error;
        ASSERT_TRUE(offscreenOpen(&error)) << error;
        ASSERT_TRUE(initGraphics().ok());
        // A black title darkens nothing: the frame as it would be without the title.
        const std::vector<unsigned char> black(4 * 4 * 3, 0);
        glGenTextures(1, &noTitle);
        glBindTexture(GL_TEXTURE_2D, noTitle);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 4, 4, 0, GL_RGB, GL_UNSIGNED_BYTE, black.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    }
    static std::vector<unsigned char> frameAt(float t) {
        std::vector<unsigned char> rgb;
        drawShow(t);
        offscreenReadFrame(rgb);
        return rgb;
    }
    static std::vector<unsigned char> frameWithoutTitleAt(float t) {
        const GLuint real = tex::title;
        tex::title = noTitle;
        std::vector<unsigned char> rgb = frameAt(t);
        tex::title = real;
        return rgb;
    }
    static int brightest(const std::vector<unsigned char>& rgb, int fromRow, int toRow) {
        int most = 0;
        for (size_t i = size_t(fromRow) * kFrameWidth * 3; i < size_t(toRow) * kFrameWidth * 3; ++i)
            most = std::max(most, int(rgb[i]));
        return most;
    }
    static double mean(const std::vector<unsigned char>& rgb, int fromRow, int toRow) {
        double sum = 0;
        for (size_t i = size_t(fromRow) * kFrameWidth * 3; i < size_t(toRow) * kFrameWidth * 3; ++i)
            sum += rgb[i];
        return sum / ((toRow - fromRow) * kFrameWidth * 3);
    }
    static inline GLuint noTitle = 0;
};

TEST_F(SceneOneRender, BarsDarkenTheTopAndBottomHundredRows) {
    for (float t : {0.002f, 0.045f, 0.09f}) {
        const std::vector<unsigned char> rgb = frameAt(t);
        // 20 percent of the picture shows through: nothing brighter than 0.2 x 255.
        EXPECT_LE(brightest(rgb, 0, 100), 52) << t;
        EXPECT_LE(brightest(rgb, 500, 600), 52) << t;
        EXPECT_GT(brightest(rgb, 100, 101), 52) << t;
        EXPECT_GT(brightest(rgb, 499, 500), 52) << t;
        EXPECT_GT(mean(rgb, 100, 500), 2.5 * mean(rgb, 0, 100)) << t;
    }
}

TEST_F(SceneOneRender, TitleShowsMidSceneOnly) {
    EXPECT_EQ(frameAt(0.01f), frameWithoutTitleAt(0.01f));

    const std::vector<unsigned char> titled = frameAt(0.045f);
    const std::vector<unsigned char> plain = frameWithoutTitleAt(0.045f);
    // Within the title's 400 x 100 rectangle in the middle, many pixels turn much darker.
    int darker = 0, brighter = 0;
    for (int y = 250; y < 350; ++y)
        for (int x = 200; x < 600; ++x)
            for (int c = 0; c < 3; ++c) {
                const size_t i = (size_t(y) * kFrameWidth + x) * 3 + c;
                darker += titled[i] + 40 < plain[i];
                brighter += titled[i] > plain[i] + 2;
            }
    EXPECT_GT(darker, 400 * 100 * 3 / 20);
    EXPECT_EQ(brighter, 0);
}

} // namespace
