#include "gfx/rounded_pi.h"
#include "gfx/textures.h"
#include "scenes/scene3/facing_smoke.h"
#include "tests/support/glrec.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class FacingSmoke : public ::testing::Test {
  protected:
    void SetUp() override {
        glrec::reset();
        tex::smokePuff = 14;
        glrec::state().enabled[GL_CULL_FACE] = true;
    }
};

TEST_F(FacingSmoke, HeadingForEyesOnTheAxesAndTheDiagonal) {
    EXPECT_EQ(facingHeading(0, 900), 360);
    EXPECT_EQ(facingHeading(0, -900), 180);
    const float diagonal = facingHeading(900, 900);
    EXPECT_LT(diagonal, 405);
    EXPECT_NEAR(diagonal, 45 * M_PI / kPi + 360, 1e-4);
}

// Where the sprites' front (+z) points in the horizontal plane once turned by the heading.
std::array<double, 2> frontFor(float eyeX, float eyeZ) {
    glrec::reset();
    glRotatef(facingHeading(eyeX, eyeZ), 0, 1, 0);
    const auto f = glrec::apply(glrec::state().modelview.back(), 0, 0, 1);
    return {f[0], f[2]};
}

TEST_F(FacingSmoke, SpritesTurnTowardsTheEyeFromEverySide) {
    // All round the circle, including eyes exactly on the x axis (z = 0) and above the centre.
    for (int k = 0; k < 16; ++k) {
        const double a = k * M_PI / 8;
        const float x = static_cast<float>(900 * std::sin(a));
        const float z = k % 8 == 4 ? 0.0f : static_cast<float>(900 * std::cos(a));
        const auto f = frontFor(x, z);
        const double len = std::hypot(x, z);
        EXPECT_NEAR(f[0], x / len, 1e-4) << "eye (" << x << ", " << z << ")";
        EXPECT_NEAR(f[1], z / len, 1e-4) << "eye (" << x << ", " << z << ")";
    }
    EXPECT_TRUE(std::isfinite(facingHeading(0, 0)));
    EXPECT_TRUE(std::isfinite(facingHeading(-0.0f, -0.0f)));
}

TEST_F(FacingSmoke, FirstSpriteAtTheStartOfTheClock) {
    drawFacingSmoke(0, 0, 900, 0);
    const auto translates = glrec::named("glTranslatef");
    ASSERT_EQ(translates.size(), 15u);
    EXPECT_EQ(translates[0].args, (std::vector<double>{0, 10, 0}));
    for (int i = 0; i < 15; ++i) EXPECT_EQ(translates[i].arg(2), i) << "sprite " << i;
    const auto colours = glrec::named("glColor3f");
    ASSERT_EQ(colours.size(), 15u);
    EXPECT_FLOAT_EQ(colours[0].arg(0), 0.4f);
    EXPECT_FLOAT_EQ(colours[0].arg(1), 0.9f);
    EXPECT_FLOAT_EQ(colours[0].arg(2), 0.4f);
    const auto quads = glrec::named("glDrawArrays");
    ASSERT_EQ(quads.size(), 15u);
    EXPECT_EQ(quads[0].vertices[5], -250); // first corner (-w/2, h/2) of a 500 x 500 rectangle
    EXPECT_EQ(quads[0].vertices[6], 250);
}

TEST_F(FacingSmoke, AddsInvertedSmokeWithCullingOffAndRestoresIt) {
    drawFacingSmoke(500, 300, -700, 0.7f);
    EXPECT_EQ(glrec::names({"glDisable", "glEnable"}).front(), "glDisable");
    EXPECT_EQ(glrec::named("glDisable").front().arg(0), GL_CULL_FACE);
    for (const glrec::Call& b : glrec::named("glBlendFunc")) {
        EXPECT_EQ(b.arg(0), GL_ONE_MINUS_DST_COLOR);
        EXPECT_EQ(b.arg(1), GL_ONE);
    }
    EXPECT_EQ(glrec::state().boundTexture, tex::smokePuff);
    EXPECT_TRUE(glrec::state().isEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glrec::state().isEnabled(GL_BLEND));
    EXPECT_FALSE(glrec::state().isEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(glrec::state().modelview.size(), 1u);
}

} // namespace
