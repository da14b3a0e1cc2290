#include "gfx/textures.h"
#include "scenes/scene4/greeting.h"
#include "scenes/scene4/scene4.h"
#include "scenes/scene4/wheel_wall.h"
#include "tests/support/draws.h"
#include "tests/support/alloc_counter.h"

#include <gtest/gtest.h>

namespace {

class SceneFour : public ::testing::Test {
  protected:
    void SetUp() override {
        glrec::reset();
        tex::lateScenesGlow = 11, tex::cubeFieldPicture = 12, tex::wheelFace = 13,
        tex::smokePuff = 14, tex::smokePicture = 16, tex::hubMark = 17, tex::eyeMask = 18,
        tex::greeting = 19;
    }
};

// The rotation each wheel is drawn with: the glRotatef right after its placement.
std::vector<double> recordedWheelAngles(float t) {
    glrec::reset();
    drawWheelWall(t);
    std::vector<double> angles;
    const auto& calls = glrec::calls();
    for (size_t i = 1; i < calls.size(); ++i)
        if (calls[i].name == "glRotatef" && calls[i - 1].name == "glTranslatef" &&
            calls[i - 1].arg(0) == -400)
            angles.push_back(calls[i].arg(0));
    return angles;
}

TEST_F(SceneFour, WheelsAndGreetingMoveOneUnitPerThousandthOfT) {
    const float first = 0.899144f, later = first + 0.001f;
    const auto a = recordedWheelAngles(first), b = recordedWheelAngles(later);
    ASSERT_EQ(a.size(), 12u);
    EXPECT_NEAR(a[0], 899.144, 1e-3);
    EXPECT_NEAR(a[1], -912.744, 1e-3);
    const double step = (double(later) - first) * 1000; // 0.001 as near as floats get
    for (int i = 0; i < 12; ++i)
        EXPECT_NEAR(b[i] - a[i], i % 2 ? -step : step, 2e-4) << "wheel " << i;
    EXPECT_NEAR(greetingHeight(first), -200, 1e-4);
    EXPECT_NEAR(greetingHeight(later) - greetingHeight(first), step, 1e-4);
    EXPECT_NEAR(greetingHeight(0.986539f), -112.605, 1e-3);
}

TEST_F(SceneFour, EachWheelHasFaceGlassSixHubsAndAHaloBehind) {
    drawWheelWall(0.95f);
    const auto drawn = draws();
    ASSERT_EQ(drawn.size(), 12u * 15);
    for (int w = 0; w < 12; ++w) {
        const Draw* d = &drawn[w * 15];
        const auto centre = d[0].centre();
        EXPECT_EQ(centre, (std::array<double, 3>{wheelPositions[w][0], wheelPositions[w][1],
                                                 wheelPositions[w][2]}));
        EXPECT_NEAR(d[0].radius(), 180, 1e-3);
        EXPECT_EQ(d[0].state.boundTexture, tex::wheelFace);
        EXPECT_NEAR(d[1].radius(), 150, 1e-3);
        EXPECT_EQ(d[1].state.boundTexture, tex::cubeFieldPicture);
        EXPECT_EQ(d[1].centre()[2] - centre[2], 3);
        for (int k = 0; k < 6; ++k) {
            // Black where untextured: only the small cap, outward and in front, has a picture.
            const Draw &hub = d[2 + 2 * k], &cap = d[3 + 2 * k];
            EXPECT_NEAR(hub.radius(), 40, 1e-3);
            EXPECT_FALSE(hub.state.isEnabled(GL_TEXTURE_2D));
            EXPECT_EQ(hub.state.color[0] + hub.state.color[1] + hub.state.color[2], 0);
            EXPECT_NEAR(cap.radius(), 30, 1e-3);
            EXPECT_EQ(cap.state.boundTexture, tex::hubMark);
            const auto h = hub.centre(), c = cap.centre();
            EXPECT_NEAR(std::hypot(h[0] - centre[0], h[1] - centre[1]), 220, 1e-3);
            EXPECT_NEAR(std::hypot(c[0] - centre[0], c[1] - centre[1]), 240, 1e-3);
            EXPECT_NEAR(c[2] - h[2], 1, 1e-9);
        }
        EXPECT_EQ(d[14].state.boundTexture, tex::smokePicture);
        EXPECT_EQ(d[14].xyz[6], 325);
        EXPECT_EQ(d[14].centre()[2] - centre[2], -2);
    }
    EXPECT_FALSE(glrec::state().isEnabled(GL_BLEND) || glrec::state().isEnabled(GL_TEXTURE_2D));
}

TEST_F(SceneFour, FrameRunsPicturesWheelsGreetingGlowThenMask) {
    drawSceneFour(0.94f);
    const auto& calls = glrec::calls();
    const auto copies = glrec::named("glCopyTexImage2D");
    ASSERT_EQ(copies.size(), 3u); // cube field, smoke, then the glow's full frame
    EXPECT_EQ(copies[2].arg(6), 1024);

    const long smokeCopy = glrec::find("glCopyTexImage2D", glrec::find("glCopyTexImage2D") + 1);
    const long grey = glrec::find("glClearColor", smokeCopy);
    EXPECT_EQ(calls[grey - 1].name, "glLoadIdentity"); // right after the two pictures
    EXPECT_EQ(calls[grey].args, (std::vector<double>{0.05f, 0.05f, 0.05f, 1}));
    const long camera = glrec::find("gluLookAt", grey);
    EXPECT_EQ(calls[camera].args, (std::vector<double>{0, 0, 800, 0, 0, 0, 0, 1, 0}));

    std::vector<Draw> drawn;
    for (const Draw& d : draws())
        if (long(d.at) > camera) drawn.push_back(d);
    ASSERT_EQ(drawn.size(), 12u * 15 + 3);
    const Draw &greet = drawn[180], &glow = drawn[181], &mask = drawn[182];
    EXPECT_EQ(greet.state.boundTexture, tex::greeting);
    EXPECT_EQ(glow.state.boundTexture, tex::lateScenesGlow);
    EXPECT_GT(long(glow.at), glrec::find("glCopyTexImage2D", greet.at));
    EXPECT_EQ(mask.state.boundTexture, tex::eyeMask);
    EXPECT_EQ(mask.state.blendSrc, GLenum(GL_ZERO));
    EXPECT_EQ(mask.state.blendDst, GLenum(GL_SRC_COLOR));
    EXPECT_EQ(mask.xyz[0], -400);
    EXPECT_EQ(mask.xyz[1], 300);
    for (const Draw& d : drawn) EXPECT_TRUE(d.state.isEnabled(GL_LIGHTING));

    // Left for the next frame: the grey clear and the scene's perspective.
    EXPECT_EQ(glrec::state().clearColor[0], 0.05f);
    EXPECT_EQ(glrec::state().matrixMode, GLenum(GL_MODELVIEW));
    EXPECT_GT(glrec::find("gluPerspective", mask.at), long(mask.at));
    EXPECT_EQ(glrec::named("gluPerspective").back().args,
              (std::vector<double>{60, 1.3333333333333333, 1, 2500}));
}

TEST_F(SceneFour, FrameAllocatesNothing) {
    drawSceneFour(0.95f); // anything set up on first use
    glrec::setRecording(false);
    const size_t before = alloc_counter::count();
    for (float t : {0.9f, 0.94f, 0.98f}) drawSceneFour(t);
    const size_t after = alloc_counter::count();
    glrec::setRecording(true);
    EXPECT_EQ(after - before, 0u);
}

} // namespace
