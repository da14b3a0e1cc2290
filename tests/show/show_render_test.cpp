#include "gfx/primitives.h"
#include "show/graphics.h"
#include "show/show.h"
#include "tests/support/offscreen_fixture.h"
#include "tools/offscreen/offscreen.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

class ShowRender : public OffscreenTest {
  protected:
    std::vector<unsigned char> frame;
    const unsigned char* at(int x, int y) const { return &frame[(y * kFrameWidth + x) * 3]; }
};

TEST_F(ShowRender, WithNoClockTheWindowShowsTheClearColourOnly) {
    drawShow(std::numeric_limits<float>::quiet_NaN());
    offscreenReadFrame(frame);
    ASSERT_EQ(frame.size(), size_t(kFrameWidth * kFrameHeight * 3));
    for (unsigned char c : frame) ASSERT_EQ(c, 255);
}

TEST_F(ShowRender, ALitCubeInFrontOfTheCameraShowsInTheMiddle) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0, 0, -10);
    glColor3f(1, 0, 0);
    drawCube(2);
    offscreenReadFrame(frame);
    // Light 0 shines along -z onto the front face: full red, nothing else lit.
    EXPECT_EQ(at(400, 300)[0], 255);
    EXPECT_EQ(at(400, 300)[1], 0);
    EXPECT_EQ(at(10, 10)[1], 255) << "white around it";
}

} // namespace
