#include "gfx/primitives.h"
#include "tests/support/glrec.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

std::vector<float> vertex(const glrec::Call& draw, int i) {
    return {draw.vertices.begin() + i * draw.stride, draw.vertices.begin() + (i + 1) * draw.stride};
}

TEST(Primitives, CubeSendsSixFacesOfFourCornersAtHalfTheSize) {
    glrec::reset();
    drawCube(2);
    ASSERT_EQ(glrec::names(), (std::vector<std::string>{"glInterleavedArrays", "glDrawArrays"}));
    const glrec::Call draw = glrec::calls()[1];
    EXPECT_EQ(draw.arg(0), GL_QUADS);
    EXPECT_EQ(draw.arg(2), 24);
    EXPECT_EQ(glrec::calls()[0].arg(0), GL_T2F_N3F_V3F);
    // s, t, normal, position of the front face's first corner
    EXPECT_EQ(vertex(draw, 0), (std::vector<float>{0, 0, 0, 0, 1, -1, 1, 1}));
    // Every corner at +-1, every face's corners on the side its normal points to.
    for (int i = 0; i < 24; ++i) {
        const std::vector<float> v = vertex(draw, i);
        for (int a = 0; a < 3; ++a) EXPECT_EQ(std::fabs(v[5 + a]), 1.0f);
        const float along = v[2] * v[5] + v[3] * v[6] + v[4] * v[7];
        EXPECT_EQ(along, 1.0f) << "vertex " << i;
    }
    // Texture corners cycle (0,0) (0,1) (1,1) (1,0) on every face.
    const float tex[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
    for (int i = 0; i < 24; ++i) {
        EXPECT_EQ(vertex(draw, i)[0], tex[i % 4][0]);
        EXPECT_EQ(vertex(draw, i)[1], tex[i % 4][1]);
    }
}

TEST(Primitives, FacesWindCounterClockwiseSeenFromOutside) {
    glrec::reset();
    drawCube(3);
    const glrec::Call draw = glrec::calls()[1];
    for (int f = 0; f < 6; ++f) {
        const auto a = vertex(draw, 4 * f), b = vertex(draw, 4 * f + 1),
                   c = vertex(draw, 4 * f + 2);
        const float u[3] = {b[5] - a[5], b[6] - a[6], b[7] - a[7]};
        const float w[3] = {c[5] - a[5], c[6] - a[6], c[7] - a[7]};
        const float n[3] = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2],
                            u[0] * w[1] - u[1] * w[0]};
        EXPECT_GT(n[0] * a[2] + n[1] * a[3] + n[2] * a[4], 0) << "face " << f;
    }
}

TEST(Primitives, WireCubeDrawsOnlyTheFourSides) {
    glrec::reset();
    drawCubeWire(2);
    const auto draws = glrec::named("glDrawArrays");
    ASSERT_EQ(draws.size(), 4u);
    for (const auto& d : draws) {
        EXPECT_EQ(d.arg(0), GL_LINE_LOOP);
        EXPECT_EQ(d.arg(2), 4);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(vertex(d, i)[3], 0) << "no top or bottom face";
    }
}

TEST(Primitives, SquareAndRectStandUprightInTheirPlane) {
    glrec::reset();
    drawRect(6, 10);
    const glrec::Call rect = glrec::named("glDrawArrays")[0];
    EXPECT_EQ(vertex(rect, 0), (std::vector<float>{0, 1, 0, 0, 1, -3, 5, 0}));
    EXPECT_EQ(vertex(rect, 2), (std::vector<float>{1, 0, 0, 0, 1, 3, -5, 0}));

    glrec::reset();
    drawSquareOutline(4);
    const glrec::Call outline = glrec::named("glDrawArrays")[0];
    EXPECT_EQ(outline.arg(0), GL_LINE_LOOP);
    // Same corners as the square, but texture as the cube's faces.
    EXPECT_EQ(vertex(outline, 1), (std::vector<float>{0, 1, 0, 0, 1, -2, -2, 0}));
}

TEST(Primitives, SphereAlwaysSendsTheFullGridFromPoleToPole) {
    glrec::reset();
    drawSphere(10);
    const auto verts = glrec::named("glVertex3f");
    ASSERT_EQ(verts.size(), 1600u);
    EXPECT_NEAR(verts[0].arg(2), -5, 1e-4); // ring 0 is the -z pole
    EXPECT_NEAR(verts.back().arg(2), 5, 1e-4);
    for (const auto& v : verts)
        EXPECT_NEAR(std::sqrt(v.arg(0) * v.arg(0) + v.arg(1) * v.arg(1) + v.arg(2) * v.arg(2)), 5,
                    1e-3);

    glrec::reset();
    drawSphere(0);
    for (const auto& v : glrec::named("glVertex3f")) EXPECT_EQ(v.args, std::vector<double>(3, 0));
}

TEST(Primitives, DiscAndCircleRimsStartAtOppositePoints) {
    glrec::reset();
    drawDisc(2, 4);
    auto verts = glrec::named("glVertex3f");
    ASSERT_EQ(verts.size(), 6u);
    EXPECT_EQ(verts[0].args, (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(verts[1].arg(1), -2); // the bottom point first
    EXPECT_NEAR(verts[2].arg(0), 2, 1e-5);
    EXPECT_NEAR(verts[5].arg(1), -2, 1e-5);
    const auto tex = glrec::named("glTexCoord2f");
    EXPECT_EQ(tex[1].args, (std::vector<double>{0.5, 0.0})) << "texture bottom at the bottom point";

    glrec::reset();
    drawCircle(2, 4);
    verts = glrec::named("glVertex3f");
    ASSERT_EQ(verts.size(), 5u);
    EXPECT_EQ(verts[0].arg(1), 2); // the top point first, then clockwise
    EXPECT_NEAR(verts[1].arg(0), 2, 1e-5);
    EXPECT_EQ(glrec::named("glBegin")[0].arg(0), GL_LINE_STRIP);
}

TEST(Primitives, DegenerateSegmentCounts) {
    glrec::reset();
    drawDisc(1, -3);
    EXPECT_EQ(glrec::count("glVertex3f"), 1u); // only the centre
    glrec::reset();
    drawCircle(1, -3);
    EXPECT_EQ(glrec::count("glVertex3f"), 0u);
    glrec::reset();
    drawDisc(1, 0);
    drawCircle(1, 0);
    EXPECT_TRUE(glrec::calls().empty()) << "no rim and no division by zero";
}

} // namespace
