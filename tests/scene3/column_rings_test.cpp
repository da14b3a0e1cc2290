#include "gfx/timeline.h"
#include "scenes/scene3/column_rings.h"
#include "structures_test_support.h"

#include <gtest/gtest.h>

using namespace structures_test;

namespace {

// What GL was told for one drawn column.
struct DrawnColumn {
    double roll, yaw; // the two tumble rotations
    float colour[4];  // set before the box
    GLenum blendDst;  // blend destination factor of the box
    glrec::Call box;
};

std::vector<DrawnColumn> drawRingsAt(float t) {
    glrec::reset();
    drawColumnRings(t);
    std::vector<DrawnColumn> out;
    DrawnColumn cur{};
    for (const glrec::Call& c : glrec::calls()) {
        if (c.name == "glRotatef" && c.arg(3) == 1) cur.roll = c.arg(0);
        if (c.name == "glRotatef" && c.arg(2) == 1) cur.yaw = c.arg(0);
        if (c.name == "glBlendFunc") cur.blendDst = static_cast<GLenum>(c.arg(1));
        if (c.name == "glColor4f")
            for (int k = 0; k < 4; ++k) cur.colour[k] = static_cast<float>(c.arg(k));
        if (c.name == "glDrawArrays" && c.arg(0) == GL_QUADS) {
            cur.box = c;
            out.push_back(cur);
        }
    }
    return out;
}

double meanRadius(const std::vector<DrawnColumn>& cols, int ring) {
    double sum = 0;
    for (int i = 0; i < 90; ++i) {
        const auto p = placed(cols[90 * ring + i].box, 0, 0, 0);
        sum += std::hypot(p[0], p[2]);
    }
    return sum / 90;
}

} // namespace

TEST(ColumnRings, NothingUntilTheFirstColumnGrows) {
    const double start = kSceneThreeStart + 0.085;
    EXPECT_TRUE(drawRingsAt(justBelow(start)).empty());
    EXPECT_EQ(glrec::count("glDrawArrays"), 0u);
    // The first column starts pure red.
    const auto first = drawRingsAt(static_cast<float>(start + 0.00001));
    ASSERT_EQ(first.size(), 1u);
    EXPECT_FLOAT_EQ(first[0].colour[0], 0.9f);
    EXPECT_NEAR(first[0].colour[1], 0, 0.001);
    EXPECT_NEAR(first[0].colour[2], 0, 0.001);
}

TEST(ColumnRings, OpaqueGreyWhiteUntilT1ThenAdditivePulses) {
    // At the lift threshold the rings shrink and float up, still opaque grey-white.
    const float t0 = atOrAbove(kSecondHalf);
    ASSERT_LT(t0, kSecondHalfFromStart);
    auto cols = drawRingsAt(t0);
    ASSERT_EQ(cols.size(), 270u);
    for (const DrawnColumn& c : cols) {
        EXPECT_EQ(c.blendDst, static_cast<GLenum>(GL_ONE_MINUS_SRC_ALPHA));
        EXPECT_FLOAT_EQ(c.colour[1], 0.9f);
        EXPECT_EQ(c.colour[3], 1);
        EXPECT_EQ(c.yaw, 0);
        EXPECT_EQ(c.roll, 0);
        const float top = c.box.vertices[6];
        EXPECT_NEAR(placed(c.box, 0, (1 + top) / 2, 0)[1], -99.5, 1e-3);
    }
    EXPECT_NEAR(meanRadius(cols, 0), 500, 10);
    EXPECT_NEAR(meanRadius(drawRingsAt(justBelow(kSecondHalf)), 0), 600, 10);

    // A crest of the travelling wave sits on column 0: 400 t = pi/2 + 2 pi 39.
    const float t = static_cast<float>((M_PI / 2 + 2 * M_PI * 39) / 400);
    cols = drawRingsAt(t);
    for (int ring = 0; ring < 3; ++ring) {
        const DrawnColumn& crest = cols[90 * ring];
        EXPECT_EQ(crest.blendDst, static_cast<GLenum>(GL_ONE));
        EXPECT_NEAR(crest.colour[0], 0.8 * 0.9 + 0.1, 1e-3);
        EXPECT_NEAR(crest.colour[1], 1.0, 1e-3);
        EXPECT_NEAR(crest.colour[3], 0.4, 1e-6);
        // Column 45 is 9 radians further along the wave, in its trough.
        const DrawnColumn& trough = cols[90 * ring + 45];
        EXPECT_FLOAT_EQ(trough.colour[0], 0.1f);
        EXPECT_FLOAT_EQ(trough.colour[1], 0.1f);
    }
}

TEST(ColumnRings, MiddleRingYawsAgainstTheOthers) {
    const float t = 0.62f;
    const auto cols = drawRingsAt(t);
    ASSERT_EQ(cols.size(), 270u);
    const double yaw = (kSecondHalfFromStart - t) * 2000, roll = (kSecondHalfFromStart - t) * 2300;
    for (int ring = 0; ring < 3; ++ring)
        for (int i = 0; i < 90; i += 30) {
            const DrawnColumn& c = cols[90 * ring + i];
            EXPECT_NEAR(c.roll, roll, 1e-3);
            EXPECT_NEAR(c.yaw, ring == 1 ? -yaw : yaw, 1e-3) << "ring " << ring;
        }
    EXPECT_LT(yaw, 0);
}
