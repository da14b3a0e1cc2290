#include "gfx/textures.h"
#include "scenes/scene4/greeting.h"
#include "scenes/scene4/scene4.h"
#include "scenes/scene4/wheel_wall.h"
#include "tests/scene4/draws.h"
#include "tests/support/alloc_counter.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class SceneFour : public ::testing::Test {
  protected:
    void SetUp() override {
        glrec::reset();
        target5 = 11, target6 = 12, moll4 = 13, smoke4 = 14, target7 = 16, r = 17, eyeeye2 = 18,
        greeting = 19;
        glrec::state().enabled[GL_LIGHTING] = glrec::state().enabled[GL_DEPTH_TEST] = true;
        start = glrec::state();
    }
    glrec::State start;
};

// The rotation each wheel is drawn with, read from the recorded calls.
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

TEST_F(SceneFour, WheelsStartSpreadAndTurnOneDegreePerThousandthOfT) {
    const float first = 0.899144f;
    const auto a = recordedWheelAngles(first);
    ASSERT_EQ(a.size(), 12u);
    EXPECT_NEAR(a[0], 899.144, 1e-3);
    EXPECT_NEAR(a[1], -912.744, 1e-3);
    EXPECT_NEAR(a[11], -(11 * 13.6 + 899.144), 1e-3);

    const float later = first + 0.001f;
    const double step = (double(later) - first) * 1000; // 0.001 as far as floats reach it
    const auto b = recordedWheelAngles(later);
    for (int i = 0; i < 12; ++i) {
        EXPECT_NEAR(b[i] - a[i], i % 2 ? -step : step, 2e-4) << "wheel " << i;
        EXPECT_EQ(b[i], wheelAngle(later, i));
    }
    EXPECT_NEAR(greetingHeight(first), -200, 1e-4);
    EXPECT_NEAR(greetingHeight(later) - greetingHeight(first), step, 1e-4);
    EXPECT_NEAR(greetingHeight(0.986539f), -112.605, 1e-3);
}

TEST_F(SceneFour, EachWheelHasFaceGlassSixHubsAndAHaloBehind) {
    drawWheelWall(0.95f);
    const auto drawn = draws(start);
    ASSERT_EQ(drawn.size(), 12u * 15);
    for (int w = 0; w < 12; ++w) {
        const Draw* d = &drawn[w * 15];
        const auto centre = d[0].centre();
        EXPECT_EQ(centre, (std::array<double, 3>{wheelPositions[w][0], wheelPositions[w][1],
                                                 wheelPositions[w][2]}));
        EXPECT_NEAR(d[0].radius(), 180, 1e-3);
        EXPECT_EQ(d[0].texture, moll4);
        EXPECT_NEAR(d[1].radius(), 150, 1e-3);
        EXPECT_EQ(d[1].texture, target6);
        EXPECT_TRUE(d[1].blended && d[1].colour[3] == 0.5f);
        EXPECT_DOUBLE_EQ(d[1].centre()[2] - centre[2], 3);
        for (int k = 0; k < 6; ++k) {
            const Draw& hub = d[2 + 2 * k];
            const Draw& cap = d[3 + 2 * k];
            // Black where untextured: only the small cap carries the picture.
            EXPECT_NEAR(hub.radius(), 40, 1e-3);
            EXPECT_FALSE(hub.textured);
            EXPECT_EQ(std::vector<float>(hub.colour, hub.colour + 3),
                      (std::vector<float>{0, 0, 0}));
            EXPECT_NEAR(cap.radius(), 30, 1e-3);
            EXPECT_TRUE(cap.textured);
            EXPECT_EQ(cap.texture, r);
            const auto h = hub.centre(), c = cap.centre();
            EXPECT_NEAR(std::hypot(h[0] - centre[0], h[1] - centre[1]), 220, 1e-3);
            EXPECT_NEAR(std::hypot(c[0] - centre[0], c[1] - centre[1]), 240, 1e-3);
            EXPECT_NEAR(c[2] - h[2], 1, 1e-9);
        }
        const Draw& halo = d[14];
        EXPECT_EQ(halo.texture, target7);
        EXPECT_EQ(halo.xyz[6], 325);
        EXPECT_DOUBLE_EQ(halo.centre()[2] - centre[2], -2);
        EXPECT_EQ(halo.blendSrc, GLenum(GL_ONE_MINUS_DST_COLOR));
        EXPECT_EQ(halo.blendDst, GLenum(GL_ONE));
    }
    EXPECT_FALSE(glrec::state().isEnabled(GL_BLEND) || glrec::state().isEnabled(GL_TEXTURE_2D));
}

TEST_F(SceneFour, FrameRunsPicturesWheelsGreetingGlowThenMask) {
    const float t = 0.94f;
    drawSceneFour(t);
    EXPECT_EQ(clockStamp, 940000.0f);
    const auto& calls = glrec::calls();
    const auto copies = glrec::named("glCopyTexImage2D");
    ASSERT_EQ(copies.size(), 3u);
    EXPECT_EQ(copies[0].arg(5), 512); // cube field, then smoke, then the glow's full frame
    EXPECT_EQ(copies[1].arg(5), 512);
    EXPECT_EQ(copies[2].arg(5), 1024);

    const long smokeCopy = glrec::find("glCopyTexImage2D", glrec::find("glCopyTexImage2D") + 1);
    const long grey = glrec::find("glClearColor", smokeCopy);
    ASSERT_GE(grey, 0);
    EXPECT_EQ(calls[grey].args, (std::vector<double>{0.05f, 0.05f, 0.05f, 1}));
    const long camera = glrec::find("gluLookAt", grey);
    ASSERT_GT(glrec::find("glClear", grey), grey);
    EXPECT_EQ(calls[camera].args, (std::vector<double>{0, 0, 800, 0, 0, 0, 0, 1, 0}));

    std::vector<Draw> drawn;
    for (const Draw& d : draws(start))
        if (long(d.at) > camera) drawn.push_back(d);
    ASSERT_EQ(drawn.size(), 12u * 15 + 1 + 1 + 1);
    const Draw& greet = drawn[180];
    EXPECT_EQ(greet.texture, greeting);
    EXPECT_EQ(greet.centre(), (std::array<double, 3>{100, greetingHeight(t), 250 - 800.0}));
    const Draw& glow = drawn[181];
    EXPECT_EQ(glow.texture, target5);
    EXPECT_GT(long(glow.at), glrec::find("glCopyTexImage2D", greet.at));
    const Draw& mask = drawn[182];
    EXPECT_EQ(mask.texture, eyeeye2);
    EXPECT_EQ(mask.blendSrc, GLenum(GL_ZERO));
    EXPECT_EQ(mask.blendDst, GLenum(GL_SRC_COLOR));
    EXPECT_EQ(mask.xyz[0], -400);
    EXPECT_EQ(mask.xyz[1], 300);
    for (const Draw& d : drawn) EXPECT_TRUE(d.lit);

    // Left for the next frame: the grey clear and the scene's perspective.
    const auto& s = glrec::state();
    EXPECT_EQ(s.clearColor[0], 0.05f);
    EXPECT_EQ(s.matrixMode, GLenum(GL_MODELVIEW));
    EXPECT_EQ(glrec::named("gluPerspective").back().args,
              (std::vector<double>{60, 1.3333333333333333, 1, 2500}));
    EXPECT_GT(glrec::find("gluPerspective", mask.at), long(mask.at));
}

TEST_F(SceneFour, FrameAllocatesNothing) {
    drawSceneFour(0.95f); // first use may set up lazily
    glrec::setRecording(false);
    const size_t before = alloc_counter::count();
    for (float t : {0.9f, 0.94f, 0.98f}) drawSceneFour(t);
    const size_t after = alloc_counter::count();
    glrec::setRecording(true);
    EXPECT_EQ(after - before, 0u);
}

} // namespace
