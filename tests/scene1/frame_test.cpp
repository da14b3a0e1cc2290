// One frame of scene one: the camera, the two passes and their copies, no allocation.
#include "gfx/textures.h"
#include "scenes/scene1/scene1.h"
#include "scenes/scene1/title.h"
#include "tests/support/alloc_counter.h"
#include "tests/support/glrec.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class SceneOneFrame : public ::testing::Test {
  protected:
    void SetUp() override {
        tex::title = 1, tex::sceneOneGlow = 2, tex::wallPicture = 20;
        glrec::reset();
    }
    // The texture bound last before call i.
    static GLuint boundBefore(long i) {
        for (long k = i; k >= 0; --k)
            if (glrec::calls()[k].name == "glBindTexture") return GLuint(glrec::calls()[k].arg(1));
        return 0;
    }
    static int cubesBetween(long from, long to) {
        int n = 0;
        for (long k = from; k < to; ++k) {
            const glrec::Call& c = glrec::calls()[k];
            n += c.name == "glDrawArrays" && c.arg(0) == GL_QUADS && c.arg(2) == 24;
        }
        return n;
    }
};

void expectEye(const glrec::Call& look, double x, double y, double z) {
    EXPECT_NEAR(look.arg(0), x, 0.05);
    EXPECT_NEAR(look.arg(1), y, 0.05);
    EXPECT_NEAR(look.arg(2), z, 0.05);
    const std::vector<double> rest(look.args.begin() + 3, look.args.end());
    EXPECT_EQ(rest, (std::vector<double>{0, 0, 0, 0, 1, 0}));
}

TEST_F(SceneOneFrame, BothPassesLookFromTheSameCirclingEye) {
    drawSceneOne(0);
    auto looks = glrec::named("gluLookAt");
    ASSERT_EQ(looks.size(), 2u);
    expectEye(looks[0], 203.7, 285.6, 284.6);
    EXPECT_EQ(looks[0].args, looks[1].args);

    glrec::reset();
    drawSceneOne(0.05f);
    looks = glrec::named("gluLookAt");
    ASSERT_EQ(looks.size(), 2u);
    expectEye(looks[1], 337.6, 13.0, -92.4);
    for (const glrec::Call& p : glrec::named("gluPerspective"))
        EXPECT_EQ(p.args, (std::vector<double>{60, 1.3333333333333333, 1, 2500}));
}

TEST_F(SceneOneFrame, EyeMovesInQuantisedSteps) {
    // 150 t stays below half a float step of 20000 and of 10000: the eye has not moved yet.
    drawSceneOne(0);
    const std::vector<double> still = glrec::named("gluLookAt")[0].args;
    glrec::reset();
    drawSceneOne(3e-6f);
    EXPECT_EQ(glrec::named("gluLookAt")[0].args, still);
    glrec::reset();
    drawSceneOne(1e-5f); // past the step of a
    EXPECT_NE(glrec::named("gluLookAt")[0].arg(0), still[0]);
}

TEST_F(SceneOneFrame, PassesClearsViewportsAndCopiesInOrder) {
    drawSceneOne(0.045f);
    const std::vector<std::string> order = {
        "glViewport", "gluPerspective", "glOrtho", "glCopyTexImage2D", "glClear",   "glViewport",
        "glClear",    "gluPerspective", "glOrtho", "glCopyTexImage2D", "glViewport"};
    EXPECT_EQ(
        glrec::names({"glViewport", "glClear", "glCopyTexImage2D", "gluPerspective", "glOrtho"}),
        order);
    auto viewports = glrec::named("glViewport");
    EXPECT_EQ(viewports[0].args, (std::vector<double>{0, 0, 256, 256}));
    EXPECT_EQ(viewports[1].args, (std::vector<double>{0, 0, 800, 600}));
    EXPECT_EQ(viewports[2].args, (std::vector<double>{0, 0, 800, 600}));
    for (const glrec::Call& c : glrec::named("glClear"))
        EXPECT_EQ(c.arg(0), GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    const long wall = glrec::find("glCopyTexImage2D");
    const long glow = glrec::find("glCopyTexImage2D", wall + 1);
    EXPECT_EQ(glrec::calls()[wall].args,
              (std::vector<double>{GL_TEXTURE_2D, 0, GL_LUMINANCE, 0, 0, 256, 256, 0}));
    EXPECT_EQ(boundBefore(wall), tex::wallPicture);
    EXPECT_EQ(glrec::calls()[glow].args,
              (std::vector<double>{GL_TEXTURE_2D, 0, GL_RGB, 0, 0, 1024, 1024, 0}));
    EXPECT_EQ(boundBefore(glow), tex::sceneOneGlow);

    // The wall picture has no tumbling cubes; the main pass has all 25 cubes.
    EXPECT_EQ(cubesBetween(0, wall), 5 + 8);
    EXPECT_EQ(cubesBetween(wall, glow), 5 + 12 + 8);

    // The title goes into the wall picture and over the glow; the bars come last of all.
    const std::vector<double> titleBlend = {GL_ZERO, GL_ONE_MINUS_SRC_COLOR};
    std::vector<long> titles;
    for (long i = 0; i < long(glrec::calls().size()); ++i)
        if (glrec::calls()[i].name == "glBlendFunc" && glrec::calls()[i].args == titleBlend)
            titles.push_back(i);
    ASSERT_EQ(titles.size(), 2u);
    EXPECT_LT(titles[0], wall);
    const long zoom = glrec::find("glBegin", glow);
    EXPECT_EQ(boundBefore(zoom), tex::sceneOneGlow);
    EXPECT_LT(zoom, titles[1]);
    const auto colours = glrec::named("glColor4f");
    EXPECT_EQ(colours.back().args, (std::vector<double>{0, 0, 0, 0.8f}));
    EXPECT_EQ(glrec::named("glTranslatef").back().args, (std::vector<double>{0, -250, 1}));
}

TEST_F(SceneOneFrame, HundredFramesAllocateNothing) {
    drawSceneOne(0); // the wall tile table is built here, once
    glrec::setRecording(false);
    const size_t before = alloc_counter::count();
    for (int i = 0; i < 100; ++i) drawSceneOne(0.001f * i);
    const size_t after = alloc_counter::count();
    glrec::setRecording(true);
    EXPECT_EQ(after - before, 0u);
}

// The first float in (lo, hi] at which the title's strength is positive or, with `shown`
// false, zero; the strength changes once in the range.
float firstWhere(float lo, float hi, bool shown) {
    while (std::nextafter(lo, hi) < hi) {
        const float mid = lo + (hi - lo) / 2;
        if ((titleStrength(mid) > 0) == shown)
            hi = mid;
        else
            lo = mid;
    }
    return hi;
}

// Where its strength is 0 the title is left out of both passes; anywhere else it is in both.
TEST_F(SceneOneFrame, TitleDrawnOnlyWhileItHasStrength) {
    const float fadeIn = firstWhere(0.01f, 0.02f, true);
    const float gone = firstWhere(0.07f, 0.08f, false);
    ASSERT_EQ(titleStrength(std::nextafter(fadeIn, 0.0f)), 0);
    ASSERT_GT(titleStrength(std::nextafter(gone, 0.0f)), 0);
    const float frames[] = {
        0, std::nextafter(fadeIn, 0.0f), fadeIn, 0.045f, std::nextafter(gone, 0.0f), gone, 0.1f};
    for (float t : frames) {
        glrec::reset();
        drawSceneOne(t);
        size_t titles = 0;
        for (const glrec::Call& c : glrec::named("glBindTexture")) titles += c.arg(1) == tex::title;
        EXPECT_EQ(titles, titleStrength(t) > 0 ? 2u : 0u) << "t " << t;
        // The bars are drawn either way, last.
        EXPECT_EQ(glrec::named("glTranslatef").back().args, (std::vector<double>{0, -250, 1}));
    }
}

} // namespace
