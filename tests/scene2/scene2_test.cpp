#include "scenes/scene2/scene2.h"

#include "gfx/screen_passes.h"
#include "gfx/textures.h"
#include "tests/scene2/disc_probe.h"
#include "tests/support/alloc_counter.h"

#include "tests/support/float_clock.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A frame as the dispatcher starts it, after scene one left its screen projection behind.
void drawFrame(float t) {
    glrec::reset();
    tex::floorCubeSkin = 3, tex::sceneTwoGlow = 5, tex::crossShellSkin = 6, tex::uprightBanner = 7,
    tex::bannerAlongX = 8, tex::bannerAlongZ = 9;
    setOrthoProjection();
    glrec::reset();
    glrec::state().enabled[GL_CULL_FACE] = true;
    glrec::state().enabled[GL_DEPTH_TEST] = true;
    drawSceneTwo(t);
}

std::vector<double> lookAt(float t) {
    drawFrame(t);
    const auto calls = glrec::named("gluLookAt");
    EXPECT_EQ(calls.size(), 1u);
    return calls.at(0).args;
}

void expectEye(const std::vector<double>& look, double x, double y, double z) {
    EXPECT_NEAR(look[0], x, 0.01);
    EXPECT_NEAR(look[1], y, 0.01);
    EXPECT_NEAR(look[2], z, 0.01);
    EXPECT_EQ(std::vector<double>(look.begin() + 6, look.end()), (std::vector<double>{0, 1, 0}));
}

const std::vector<double> kFloorCorner = {275, -500, 275};
const std::vector<double> kFloorMiddle = {0, -500, 0};
std::vector<double> target(const std::vector<double>& look) {
    return {look[3], look[4], look[5]};
}

TEST(SceneTwo, CameraThroughTheScene) {
    auto look = lookAt(0.12f);
    expectEye(look, -100.17, -333.36, 605.53);
    EXPECT_EQ(target(look), kFloorCorner);
    look = lookAt(0.2f);
    expectEye(look, -320.74, 75.8, 119.51);
    EXPECT_EQ(target(look), kFloorMiddle);
    look = lookAt(0.27f);
    expectEye(look, -223.9, -302.16, 308.12);
    EXPECT_EQ(target(look), kFloorCorner);
}

TEST(SceneTwo, HardCutsOnTheirFrames) {
    const float in = firstClockAtOrAbove(0.149518), out = firstClockAtOrAbove(0.249312);
    EXPECT_EQ(target(lookAt(std::nextafter(in, 0.0f))), kFloorCorner);
    EXPECT_EQ(target(lookAt(in)), kFloorMiddle);
    EXPECT_EQ(target(lookAt(std::nextafter(out, 0.0f))), kFloorMiddle);
    EXPECT_EQ(target(lookAt(out)), kFloorCorner);
}

// The 3-D effects must not be drawn with the screen projection scene one leaves; the next
// frame gets the same perspective, and the frame leaves no matrix pushed.
TEST(SceneTwo, PerspectiveBeforeTheFirstFrameAndAfterEvery) {
    drawFrame(0.100144f);
    const long perspective = glrec::find("gluPerspective");
    ASSERT_GE(perspective, 0);
    EXPECT_LT(perspective, glrec::find("gluLookAt"));
    const auto all = glrec::named("gluPerspective");
    EXPECT_EQ(all.back().args, (std::vector<double>{60, 1.3333333333333333, 1, 2500}));
    EXPECT_EQ(all.front().args, all.back().args);
    EXPECT_EQ(glrec::calls().back().name, "glMatrixMode");
    EXPECT_EQ(glrec::state().matrixMode, GLenum(GL_MODELVIEW));
    EXPECT_EQ(glrec::state().projection.size(), 1u);
    EXPECT_EQ(glrec::state().modelview.size(), 1u);
    EXPECT_FALSE(glrec::state().isEnabled(GL_LIGHTING));
    EXPECT_TRUE(glrec::state().isEnabled(GL_CULL_FACE));
}

// Floor, spheres, bullseye groups, cross shell, towers, banners, then the screen layers.
TEST(SceneTwo, EffectsInOrder) {
    drawFrame(0.14f);
    const long floor = glrec::find("glDrawArrays");
    const long spheres = probe::begins(GL_QUADS).front();
    const long groups = probe::begins(GL_POLYGON).front();
    const long shell = glrec::find("glBlendFunc", size_t(groups));
    const long towers = probe::begins(GL_LINE_STRIP).front();
    const long screen = glrec::find("glOrtho");
    const auto binds = glrec::named("glBindTexture");
    EXPECT_LT(floor, spheres);
    EXPECT_LT(spheres, groups);
    EXPECT_LT(groups, shell);
    EXPECT_EQ(glrec::calls()[size_t(shell)].arg(1), GL_SRC_COLOR);
    EXPECT_LT(shell, towers);
    EXPECT_LT(towers, screen);
    EXPECT_EQ(binds.at(400 + 200).arg(1), 7); // the banner after floor and shell
    EXPECT_LT(glrec::find("glBindTexture", size_t(towers)), screen);
}

// Glow discs and bullseyes go into sceneTwoGlow; the echo layers drawn from it do not.
TEST(SceneTwo, CopyHoldsTheOverlaysButNotTheEcho) {
    drawFrame(0.29f);
    const long copy = glrec::find("glCopyTexImage2D");
    ASSERT_GE(copy, 0);
    EXPECT_EQ(glrec::calls()[size_t(copy)].args,
              (std::vector<double>{GL_TEXTURE_2D, 0, GL_RGB, 0, 0, 1024, 1024, 0}));
    long bind = copy;
    while (--bind >= 0 && glrec::calls()[size_t(bind)].name != "glBindTexture") {
    }
    ASSERT_GE(bind, 0);
    EXPECT_EQ(glrec::calls()[size_t(bind)].args, (std::vector<double>{GL_TEXTURE_2D, 5}));
    const auto screen = probe::begins(GL_POLYGON, size_t(glrec::find("glOrtho")));
    ASSERT_EQ(screen.size(), 12u + 24u);
    EXPECT_LT(screen.back(), copy);
    const auto echo = probe::begins(GL_QUADS, size_t(copy));
    ASSERT_EQ(echo.size(), 1u);
    EXPECT_EQ(glrec::count("glCopyTexImage2D"), 1u);
    EXPECT_LT(glrec::find("glViewport", size_t(copy)), echo[0]);
    const long colour = glrec::find("glColor4f", size_t(copy));
    EXPECT_FLOAT_EQ(glrec::calls()[size_t(colour)].arg(3), 0.1f);
    EXPECT_NEAR(glrec::named("glTexCoord2f").back().arg(0), 0.78125 - 0.04, 1e-6);
}

TEST(SceneTwo, ScreenBullseyesFromTheirFrameOn) {
    const float from = firstClockAtOrAbove(0.283815);
    drawFrame(std::nextafter(from, 0.0f));
    EXPECT_EQ(probe::begins(GL_POLYGON, size_t(glrec::find("glOrtho"))).size(), 12u);
    drawFrame(from);
    EXPECT_EQ(probe::begins(GL_POLYGON, size_t(glrec::find("glOrtho"))).size(), 36u);
    // The pulse peaks where scene three starts, so on the scene's last frame mark 7 is at its
    // full 340.
    drawFrame(std::nextafter(firstClockAtOrAbove(0.299523), 0.0f));
    const auto screen = probe::begins(GL_POLYGON, size_t(glrec::find("glOrtho")));
    EXPECT_NEAR(std::fabs(probe::discRadius(screen.at(12 + 21))), 340, 1e-3);
}

TEST(SceneTwo, NoAllocationPerFrame) {
    drawFrame(0.1002f); // lets the stand-in make its state entries once
    glrec::setRecording(false);
    const size_t before = alloc_counter::count();
    for (int k = 0; k < 100; ++k) drawSceneTwo(0.100144f + k * 0.00199f);
    const size_t after = alloc_counter::count();
    glrec::setRecording(true);
    EXPECT_EQ(after - before, 0u);
}

} // namespace
