#include "gfx/textures.h"
#include "scenes/scene3/pictures.h"
#include "tests/scene4/draws.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class Pictures : public ::testing::Test {
  protected:
    void SetUp() override {
        glrec::reset();
        smoke4 = 14, target6 = 12, target7 = 16;
        // Left over from an earlier frame; the pictures must not depend on it.
        auto& s = glrec::state();
        s.enabled[GL_BLEND] = s.enabled[GL_TEXTURE_2D] = s.enabled[GL_LIGHTING] = true;
        s.clearColor[0] = s.clearColor[1] = s.clearColor[2] = 0;
        start = s;
    }
    glrec::State start;
};

// The one framebuffer copy: its arguments and the texture bound for it.
void expectCopy(GLuint target, int side) {
    ASSERT_EQ(glrec::count("glCopyTexImage2D"), 1u);
    const long copy = glrec::find("glCopyTexImage2D");
    EXPECT_EQ(glrec::calls()[copy].args,
              (std::vector<double>{GL_TEXTURE_2D, 0, GL_RGB, 0, 0, double(side), double(side), 0}));
    long bind = -1;
    for (long i = glrec::find("glBindTexture"); i >= 0 && i < copy;
         i = glrec::find("glBindTexture", i + 1))
        bind = i;
    ASSERT_GE(bind, 0);
    EXPECT_EQ(glrec::calls()[bind].arg(1), target);
}

// The frame is cleared after the copy and nothing is drawn into it again.
void expectClearedAfterCopy(const std::vector<Draw>& drawn) {
    const long clear = glrec::find("glClear", glrec::find("glCopyTexImage2D"));
    ASSERT_GE(clear, 0);
    EXPECT_EQ(glrec::calls()[clear].arg(0), GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    EXPECT_LT(long(drawn.back().at), clear);
}

void expectSceneReady() {
    const auto& s = glrec::state();
    EXPECT_EQ(std::vector<int>(s.viewport, s.viewport + 4), (std::vector<int>{0, 0, 800, 600}));
    EXPECT_EQ(s.matrixMode, GLenum(GL_MODELVIEW));
    EXPECT_EQ(glrec::apply(s.modelview.back(), 7, 8, 9), (std::array<double, 3>{7, 8, 9}));
    EXPECT_FALSE(s.isEnabled(GL_BLEND));
    EXPECT_FALSE(s.isEnabled(GL_TEXTURE_2D));
}

TEST_F(Pictures, SmokeIsCopiedIntoTarget7AndTheFrameLeftClearedForTheScene) {
    renderSmokePicture(0.93f);
    const auto drawn = draws(start);
    expectCopy(target7, 512);
    expectClearedAfterCopy(drawn);
    expectSceneReady();
    // The scene's perspective: 4:3, the near plane at 1 and the far plane at 2500.
    const auto& p = glrec::state().projection.back();
    EXPECT_NEAR(p[0] / p[5], 0.75, 1e-12);
    EXPECT_NEAR(glrec::apply(p, 0, 0, -1)[2], -1, 1e-9);
    EXPECT_NEAR(glrec::apply(p, 0, 0, -2500)[2], 1, 1e-9);
    // Everything is drawn into the 512 x 512 corner that is copied.
    for (const Draw& d : drawn) EXPECT_EQ(d.viewport[2] * 1000 + d.viewport[3], 512512);
}

TEST_F(Pictures, FifteenSmokeLayersOnWhiteThenTheInversion) {
    renderSmokePicture(0);
    const auto drawn = draws(start);
    ASSERT_EQ(drawn.size(), 16u);
    // At t = 0 the first layer sits 10 above the centre at 500 x 500.
    EXPECT_EQ(drawn[0].centre(), (std::array<double, 3>{0, 10, -650}));
    EXPECT_FLOAT_EQ(drawn[0].xyz[3 * 2], 250);
    EXPECT_FLOAT_EQ(drawn[0].xyz[3 * 2 + 1], -250);
    for (int i = 0; i < 15; ++i) {
        const Draw& d = drawn[i];
        EXPECT_DOUBLE_EQ(d.centre()[2], i - 650.0) << "layer " << i;
        EXPECT_TRUE(d.textured && d.blended);
        EXPECT_EQ(d.texture, smoke4);
        EXPECT_EQ(d.blendSrc, GLenum(GL_ZERO));
        EXPECT_EQ(d.blendDst, GLenum(GL_ONE_MINUS_SRC_COLOR));
        EXPECT_EQ(std::vector<float>(d.colour, d.colour + 3), (std::vector<float>{0, 1, 1}));
    }
    // Screen-wide, untextured: each channel v becomes v (1 - v).
    const Draw& inv = drawn[15];
    EXPECT_FALSE(inv.textured);
    EXPECT_TRUE(inv.blended);
    EXPECT_EQ(inv.blendDst, GLenum(GL_ONE_MINUS_DST_COLOR));
    EXPECT_EQ(inv.blendSrc, GLenum(GL_ZERO));
    EXPECT_EQ(inv.xyz,
              (std::vector<float>{-400, 300, 0, -400, -300, 0, 400, -300, 0, 400, 300, 0}));
}

TEST_F(Pictures, SmokeLayersPulseBetween200And800) {
    for (float t : {0.3f, 0.61f, 0.9f, 0.95f, 0.986f}) {
        glrec::reset();
        glrec::state() = start;
        renderSmokePicture(t);
        const auto drawn = draws(start);
        for (int i = 0; i < 15; ++i) {
            const float w = drawn[i].xyz[6] * 2, h = drawn[i].xyz[1] * 2;
            EXPECT_TRUE(w >= 200 && w <= 800 && h >= 200 && h <= 800) << t << " " << i;
        }
    }
}

TEST_F(Pictures, CubeFieldSeenFromTheCirclingEyeIsCopiedIntoTarget6) {
    // The scenes call it with blending and texturing off.
    start.enabled[GL_BLEND] = start.enabled[GL_TEXTURE_2D] = false;
    const float quarterTurn = float(M_PI / 2 / 25);
    for (float t : {0.0f, quarterTurn}) {
        glrec::reset();
        glrec::state() = start;
        renderCubeFieldPicture(t);
        ASSERT_EQ(glrec::count("gluLookAt"), 1u);
        const auto eye = glrec::named("gluLookAt")[0].args;
        EXPECT_NEAR(eye[0], t == 0 ? 0 : 500, 1e-4);
        EXPECT_EQ(eye[1], -400);
        EXPECT_NEAR(eye[2], t == 0 ? 500 : 0, 1e-4);
        EXPECT_EQ(std::vector<double>(eye.begin() + 3, eye.end()),
                  (std::vector<double>{275, -500, 275, 0, 1, 0}));
    }
    const auto drawn = draws(start);
    for (const Draw& d : drawn) EXPECT_FALSE(d.lit);
    expectCopy(target6, 512);
    if (!drawn.empty()) expectClearedAfterCopy(drawn);
    expectSceneReady();
    // Whatever the caller cleared with, the frame is left white and lit.
    EXPECT_EQ(std::vector<float>(glrec::state().clearColor, glrec::state().clearColor + 4),
              (std::vector<float>{1, 1, 1, 1}));
    EXPECT_TRUE(glrec::state().isEnabled(GL_LIGHTING));
}

} // namespace
