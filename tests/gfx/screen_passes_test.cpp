#include "gfx/screen_passes.h"
#include "gfx/textures.h"
#include "tests/support/glrec.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::vector<double>> texCoords() {
    std::vector<std::vector<double>> out;
    for (const auto& c : glrec::named("glTexCoord2f")) out.push_back(c.args);
    return out;
}

TEST(ScreenPasses, TextureZoomInsetsEachLayerByTheStep) {
    glrec::reset();
    drawTextureZoom(0.01f, 0.1f, 7);
    const auto tc = texCoords();
    ASSERT_EQ(tc.size(), 20u);
    EXPECT_EQ(tc[0], (std::vector<double>{0, 0.5859375}));
    // Fifth layer: s from 0.04 to 0.74125, t from 0.04 to 0.5459375 (float inset sums).
    const float c = 0.01f + 0.01f + 0.01f + 0.01f;
    EXPECT_EQ(tc[16], (std::vector<double>{c, 0.5859375f - c}));
    EXPECT_EQ(tc[18], (std::vector<double>{0.78125f - c, c}));
    EXPECT_NEAR(tc[18][0], 0.74125, 1e-6);
    const auto pos = glrec::named("glVertex2f");
    EXPECT_EQ(pos[0].args, (std::vector<double>{-400, 300}));
    EXPECT_EQ(pos[2].args, (std::vector<double>{400, -300}));
    const auto colours = glrec::named("glColor4f");
    ASSERT_EQ(colours.size(), 1u);
    EXPECT_EQ(colours[0].args, (std::vector<double>{1, 1, 1, 0.1f}));
    EXPECT_EQ(glrec::named("glBindTexture")[0].arg(1), 7);
}

TEST(ScreenPasses, FeedbackZoomFadesLayersFromTarget1) {
    tex::sceneOneGlow = 42;
    glrec::reset();
    drawFeedbackZoom(0.03f);
    EXPECT_EQ(glrec::named("glBindTexture")[0].arg(1), 42);
    const auto colours = glrec::named("glColor4f");
    ASSERT_EQ(colours.size(), 5u);
    const double expected[5] = {0.2, 0.16, 0.12, 0.08, 0.04};
    for (int k = 0; k < 5; ++k) EXPECT_NEAR(colours[k].arg(3), expected[k], 1e-7);
    // The colour of each layer comes before its first vertex, inside one quad batch.
    EXPECT_LT(glrec::find("glBegin"), glrec::find("glColor4f"));
}

TEST(ScreenPasses, OverlaysLeaveTexturingAndBlendingOffAndDepthOn) {
    glrec::reset();
    glEnable(GL_LIGHTING);
    drawTextureZoom(0, 1, 3);
    const glrec::State& s = glrec::state();
    EXPECT_FALSE(s.isEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(s.isEnabled(GL_BLEND));
    EXPECT_TRUE(s.isEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(s.isEnabled(GL_LIGHTING)) << "overlays leave lighting to the caller";
    EXPECT_EQ(s.boundTexture, 0u);
    EXPECT_EQ(s.blendSrc, GLenum(GL_SRC_ALPHA));
    EXPECT_EQ(s.blendDst, GLenum(GL_ONE_MINUS_SRC_ALPHA));
}

TEST(ScreenPasses, OrthoProjectionIsOneUnitPerPixelAboutTheCentre) {
    glrec::reset();
    setOrthoProjection();
    const glrec::State& s = glrec::state();
    EXPECT_EQ(s.matrixMode, GLenum(GL_MODELVIEW));
    const auto corner = glrec::apply(s.projection.back(), 400, -300, 0);
    EXPECT_DOUBLE_EQ(corner[0], 1);
    EXPECT_DOUBLE_EQ(corner[1], -1);
    EXPECT_EQ(glrec::named("glOrtho")[0].args,
              (std::vector<double>{-400, 400, -300, 300, -50, 50}));

    glrec::reset();
    copyFrameTo(9);
    const auto copy = glrec::named("glCopyTexImage2D")[0];
    EXPECT_EQ(copy.args, (std::vector<double>{GL_TEXTURE_2D, 0, GL_RGB, 0, 0, 1024, 1024, 0}));
    EXPECT_EQ(glrec::state().boundTexture, 9u);
}

// A target keeps its storage once it has the size and format asked for, and then takes only
// the part of the 800 x 600 window that it holds.
TEST(ScreenPasses, RenderTargetIsDefinedOnceThenCopiedIntoInPlace) {
    struct Case {
        GLenum format;
        GLsizei side;
        std::vector<double> sub; // x offset, y offset, x, y, width, height
    };
    const Case cases[] = {
        {GL_RGB, 1024, {0, 0, 0, 0, 800, 600}},
        {GL_RGB, 512, {0, 0, 0, 0, 512, 512}},
        {GL_LUMINANCE, 256, {0, 0, 0, 0, 256, 256}},
    };
    for (const Case& c : cases) {
        glrec::reset();
        // As made at start-up: a small RGBA texture.
        glBindTexture(GL_TEXTURE_2D, 4);
        glTexImage2D(GL_TEXTURE_2D, 0, 4, 128, 128, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        glBindTexture(GL_TEXTURE_2D, 0);
        for (int frame = 0; frame < 3; ++frame) copyWindowCorner(4, c.format, c.side);
        EXPECT_EQ(glrec::state().boundTexture, 4u);
        const auto defined = glrec::named("glCopyTexImage2D");
        ASSERT_EQ(defined.size(), 1u) << c.side;
        EXPECT_EQ(defined[0].args, (std::vector<double>{GL_TEXTURE_2D, 0, double(c.format), 0, 0,
                                                        double(c.side), double(c.side), 0}));
        const auto copied = glrec::named("glCopyTexSubImage2D");
        ASSERT_EQ(copied.size(), 2u) << c.side;
        for (const auto& copy : copied) {
            EXPECT_EQ(copy.arg(0), GL_TEXTURE_2D);
            EXPECT_EQ(copy.arg(1), 0);
            EXPECT_EQ(std::vector<double>(copy.args.begin() + 2, copy.args.end()), c.sub);
        }
        EXPECT_LT(glrec::find("glCopyTexImage2D"), glrec::find("glCopyTexSubImage2D"));
    }
}

// Another size or format than the target holds means a new definition, each time it changes.
TEST(ScreenPasses, RenderTargetIsRedefinedWhenItsSizeOrFormatChanges) {
    glrec::reset();
    copyWindowCorner(6, GL_RGB, 512);
    copyWindowCorner(6, GL_LUMINANCE, 512);
    copyWindowCorner(6, GL_LUMINANCE, 256);
    copyWindowCorner(6, GL_LUMINANCE, 256);
    copyFrameTo(6);
    copyFrameTo(6);
    EXPECT_EQ(glrec::names({"glCopyTexImage2D", "glCopyTexSubImage2D"}),
              (std::vector<std::string>{"glCopyTexImage2D", "glCopyTexImage2D", "glCopyTexImage2D",
                                        "glCopyTexSubImage2D", "glCopyTexImage2D",
                                        "glCopyTexSubImage2D"}));
    // Targets are told apart: a copy into one does not define another.
    copyWindowCorner(7, GL_RGB, 1024);
    EXPECT_EQ(glrec::calls().back().name, "glCopyTexImage2D");
}

} // namespace
