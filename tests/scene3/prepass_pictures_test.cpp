#include "gfx/textures.h"
#include "scenes/scene3/cube_field_picture.h"
#include "scenes/scene3/smoke_picture.h"
#include "tests/support/draws.h"

#include <gtest/gtest.h>

namespace {

class Pictures : public ::testing::Test {
  protected:
    void SetUp() override {
        glrec::reset();
        tex::smokePuff = 14, tex::cubeFieldPicture = 12, tex::smokePicture = 16;
        // Left over from an earlier frame; the smoke picture must not depend on it.
        auto& s = glrec::state();
        s.enabled[GL_BLEND] = s.enabled[GL_TEXTURE_2D] = s.enabled[GL_LIGHTING] = true;
        s.clearColor[1] = 0.25f;
        start = s;
    }
    glrec::State start;
};

// One copy of the 512 x 512 corner into target, then a full clear, then nothing drawn.
void expectCopiedThenCleared(GLuint target, const std::vector<Draw>& drawn) {
    ASSERT_EQ(glrec::count("glCopyTexImage2D"), 1u);
    const long copy = glrec::find("glCopyTexImage2D");
    EXPECT_EQ(glrec::calls()[copy].args,
              (std::vector<double>{GL_TEXTURE_2D, 0, GL_RGB, 0, 0, 512, 512, 0}));
    long bind = copy;
    while (--bind >= 0 && glrec::calls()[bind].name != "glBindTexture") {
    }
    ASSERT_GE(bind, 0);
    EXPECT_EQ(glrec::calls()[bind].arg(1), target);
    const long clear = glrec::find("glClear", copy);
    ASSERT_GE(clear, 0);
    EXPECT_EQ(glrec::calls()[clear].arg(0), GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (!drawn.empty()) {
        EXPECT_LT(long(drawn.back().at), copy);
    }
    // Ready for the scene: full viewport, identity modelview, no blending or texturing.
    const auto& s = glrec::state();
    EXPECT_EQ(std::vector<int>(s.viewport, s.viewport + 4), (std::vector<int>{0, 0, 800, 600}));
    EXPECT_EQ(s.matrixMode, GLenum(GL_MODELVIEW));
    EXPECT_EQ(glrec::apply(s.modelview.back(), 7, 8, 9), (std::array<double, 3>{7, 8, 9}));
    EXPECT_FALSE(s.isEnabled(GL_BLEND) || s.isEnabled(GL_TEXTURE_2D));
}

TEST_F(Pictures, SmokeLayersInTheCornerThenInvertedCopiedAndCleared) {
    renderSmokePicture(0);
    const auto drawn = draws();
    ASSERT_EQ(drawn.size(), 16u);
    expectCopiedThenCleared(tex::smokePicture, drawn);
    for (const Draw& d : drawn) EXPECT_EQ(d.state.viewport[2] * 1000 + d.state.viewport[3], 512512);
    // At t = 0 the first layer sits 10 above the centre at 500 x 500; layer i is i nearer.
    EXPECT_EQ(drawn[0].centre(), (std::array<double, 3>{0, 10, -650}));
    EXPECT_EQ(drawn[0].xyz[6], 250);
    EXPECT_EQ(drawn[0].xyz[7], -250);
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(drawn[i].centre()[2], i - 650.0);
        EXPECT_EQ(drawn[i].state.boundTexture, tex::smokePuff);
    }
    // The inversion covers the whole corner, untextured, v -> v (1 - v).
    const Draw& inv = drawn[15];
    EXPECT_FALSE(inv.state.isEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(inv.state.blendDst, GLenum(GL_ONE_MINUS_DST_COLOR));
    EXPECT_EQ(inv.xyz,
              (std::vector<float>{-400, 300, 0, -400, -300, 0, 400, -300, 0, 400, 300, 0}));
    // Clear colour and lighting are the caller's; the projection is the scene's perspective.
    EXPECT_EQ(glrec::state().clearColor[1], start.clearColor[1]);
    EXPECT_TRUE(glrec::state().isEnabled(GL_LIGHTING));
    const auto& p = glrec::state().projection.back();
    EXPECT_NEAR(p[0] / p[5], 0.75, 1e-12);
    EXPECT_NEAR(glrec::apply(p, 0, 0, -1)[2], -1, 1e-9);
    EXPECT_NEAR(glrec::apply(p, 0, 0, -2500)[2], 1, 1e-9);
}

TEST_F(Pictures, SmokeLayersPulseBetween200And800) {
    for (float t : {0.3f, 0.61f, 0.9f, 0.95f, 0.986f}) {
        glrec::reset();
        renderSmokePicture(t);
        const auto drawn = draws();
        for (int i = 0; i < 15; ++i) {
            const float w = drawn[i].xyz[6] * 2, h = drawn[i].xyz[1] * 2;
            EXPECT_TRUE(w >= 200 && w <= 800 && h >= 200 && h <= 800) << t << " " << i;
        }
    }
}

TEST_F(Pictures, CubeFieldFromTheCirclingEyeCopiedThenClearedWhite) {
    start.enabled[GL_BLEND] = start.enabled[GL_TEXTURE_2D] = false; // as the scenes call it
    const float quarterTurn = float(M_PI / 2 / 25);
    for (float t : {0.0f, quarterTurn}) {
        glrec::reset();
        glrec::state() = start;
        renderCubeFieldPicture(t);
        ASSERT_EQ(glrec::count("gluLookAt"), 1u);
        const auto eye = glrec::named("gluLookAt")[0].args;
        EXPECT_NEAR(eye[0], t == 0 ? 0 : 500, 1e-4);
        EXPECT_NEAR(eye[2], t == 0 ? 500 : 0, 1e-4);
        EXPECT_EQ(std::vector<double>(eye.begin() + 1, eye.end()),
                  (std::vector<double>{-400, eye[2], 275, -500, 275, 0, 1, 0}));
    }
    const auto drawn = draws();
    for (const Draw& d : drawn) EXPECT_FALSE(d.state.isEnabled(GL_LIGHTING));
    expectCopiedThenCleared(tex::cubeFieldPicture, drawn);
    const auto& s = glrec::state();
    EXPECT_EQ(std::vector<float>(s.clearColor, s.clearColor + 4), (std::vector<float>{1, 1, 1, 1}));
    EXPECT_TRUE(s.isEnabled(GL_LIGHTING));
}

// Only the kept corner is rasterised; the frame is cleared whole afterwards, and later calls
// copy into the picture in place.
TEST_F(Pictures, CubeFieldRasterisedOnlyInTheKeptCorner) {
    start.enabled[GL_BLEND] = start.enabled[GL_TEXTURE_2D] = false;
    glrec::state() = start;
    renderCubeFieldPicture(0.4f);
    const auto drawn = draws();
    ASSERT_EQ(drawn.size(), 400u * 5);
    for (const Draw& d : drawn) {
        ASSERT_TRUE(d.state.isEnabled(GL_SCISSOR_TEST));
        ASSERT_EQ(std::vector<int>(d.state.scissor, d.state.scissor + 4),
                  (std::vector<int>{0, 0, 512, 512}));
        ASSERT_EQ(std::vector<int>(d.state.viewport, d.state.viewport + 4),
                  (std::vector<int>{0, 0, 800, 600}))
            << "the picture keeps its full-size framing";
    }
    const long clear = glrec::find("glClear", glrec::find("glCopyTexImage2D"));
    ASSERT_GE(clear, 0);
    EXPECT_FALSE(glrec::state().isEnabled(GL_SCISSOR_TEST));
    long scissorOff = -1;
    for (long i = 0; i < clear; ++i)
        if (glrec::calls()[size_t(i)].name == "glDisable" &&
            glrec::calls()[size_t(i)].arg(0) == GL_SCISSOR_TEST)
            scissorOff = i;
    EXPECT_GT(scissorOff, long(drawn.back().at)) << "the clear must reach the whole frame";

    renderCubeFieldPicture(0.41f);
    EXPECT_EQ(glrec::count("glCopyTexImage2D"), 1u);
    ASSERT_EQ(glrec::count("glCopyTexSubImage2D"), 1u);
    EXPECT_EQ(glrec::named("glCopyTexSubImage2D")[0].args,
              (std::vector<double>{GL_TEXTURE_2D, 0, 0, 0, 0, 0, 512, 512}));
}

} // namespace
