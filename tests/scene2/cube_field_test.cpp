#include "scenes/scene2/cube_field.h"

#include "gfx/textures.h"
#include "tests/support/glrec.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Each cube is one solid draw and four outline loops, in row-major order of (i, j).
struct DrawnCube {
    glrec::Call place, colour, solid, wire;
};

DrawnCube drawnCube(int i, int j) {
    const int k = i * 20 + j;
    return {glrec::named("glTranslatef").at(k), glrec::named("glColor4f").at(k),
            glrec::named("glDrawArrays").at(5 * k), glrec::named("glDrawArrays").at(5 * k + 1)};
}

// The first vertex of a front face is (-h, h, h): its x is minus half the edge.
float edgeOf(const glrec::Call& draw) {
    return -2 * draw.vertices.at(5);
}

TEST(CubeField, CubeTenTenAtPointTwo) {
    glrec::reset();
    drawCubeField(0.2f);
    const DrawnCube c = drawnCube(10, 10);
    EXPECT_EQ(c.place.args, (std::vector<double>{0, -500, 275}));
    EXPECT_NEAR(edgeOf(c.wire), -45.92, 0.01); // negative sizes are passed on
    EXPECT_NEAR(edgeOf(c.solid), edgeOf(c.wire) - 0.1, 1e-4);
    EXPECT_NEAR(c.colour.arg(0), 0.535, 0.001);
    EXPECT_NEAR(c.colour.arg(1), -0.081, 0.001);
    EXPECT_NEAR(c.colour.arg(2), 0.068, 0.001);
    EXPECT_FLOAT_EQ(c.colour.arg(3), 0.3f);
}

TEST(CubeField, CubeFiveSevenAtPointOneFive) {
    glrec::reset();
    drawCubeField(0.15f);
    const DrawnCube c = drawnCube(5, 7);
    EXPECT_EQ(c.place.args, (std::vector<double>{-600, -500, -85}));
    EXPECT_NEAR(edgeOf(c.wire), 25.24, 0.01);
}

// Over the whole scene no edge passes 100, the edge reaches that cap somewhere, and every
// value handed to GL is finite, the zero row and column included.
TEST(CubeField, SizesCappedAndFiniteAcrossTheScene) {
    bool reachedCap = false, wentNegative = false;
    for (float t = 0.100144f; t < 0.299523f; t += 0.0031f) {
        glrec::reset();
        drawCubeField(t);
        ASSERT_EQ(glrec::count("glDrawArrays"), 2000u);
        for (const glrec::Call& c : glrec::named("glColor4f"))
            for (double v : c.args) ASSERT_TRUE(std::isfinite(v)) << "t = " << t;
        const auto draws = glrec::named("glDrawArrays");
        for (size_t k = 1; k < draws.size(); k += 5) {
            const float edge = edgeOf(draws[k]);
            ASSERT_TRUE(std::isfinite(edge)) << "t = " << t << " cube " << k / 5;
            ASSERT_LE(edge, 100.0f) << "t = " << t << " cube " << k / 5;
            reachedCap = reachedCap || edge == 100.0f;
            wentNegative = wentNegative || edge < 0;
        }
    }
    EXPECT_TRUE(reachedCap);
    EXPECT_TRUE(wentNegative);
}

// The row i = 0 and column j = 0 divide by a zero index; they are drawn with that quotient
// taken as zero, which leaves their colour waves in step with the clock alone.
TEST(CubeField, ZeroIndexCubesUseAZeroQuotient) {
    glrec::reset();
    drawCubeField(0.2f);
    const double w = 100.0 * 0.2f;
    const float cornerGreen = static_cast<float>((std::cos(float(w)) + 1) * 0.5) - 0.1f;
    const float cornerRed = static_cast<float>((std::sin(float(w)) + 1) * 0.5) - 0.1f;
    EXPECT_NEAR(drawnCube(0, 0).colour.arg(1), cornerGreen, 1e-6);
    EXPECT_NEAR(drawnCube(0, 7).colour.arg(1), cornerGreen, 1e-6);
    EXPECT_NEAR(drawnCube(7, 0).colour.arg(0), cornerRed, 1e-6);
    EXPECT_NEAR(drawnCube(7, 0).colour.arg(2), cornerRed, 1e-6);
    EXPECT_EQ(drawnCube(0, 0).place.args, (std::vector<double>{-1200, -500, -925}));
    EXPECT_EQ(drawnCube(19, 19).place.args, (std::vector<double>{1080, -500, 1355}));
}

// The solid cube is textured with floorCubeSkin; the outline is plain black.
TEST(CubeField, TexturesSolidsOnly) {
    glrec::reset();
    tex::floorCubeSkin = 33;
    drawCubeField(0.2f);
    EXPECT_EQ(glrec::count("glBindTexture"), 400u);
    EXPECT_EQ(glrec::named("glBindTexture").at(0).arg(1), 33);
    const auto seq = glrec::names({"glEnable", "glDisable", "glDrawArrays", "glColor3f"});
    ASSERT_GE(seq.size(), 8u);
    EXPECT_EQ(
        std::vector<std::string>(seq.begin(), seq.begin() + 8),
        (std::vector<std::string>{"glEnable", "glDrawArrays", "glDisable", "glColor3f",
                                  "glDrawArrays", "glDrawArrays", "glDrawArrays", "glDrawArrays"}));
    EXPECT_FALSE(glrec::state().isEnabled(GL_TEXTURE_2D));
}

} // namespace
