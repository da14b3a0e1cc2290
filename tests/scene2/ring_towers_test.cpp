#include "scenes/scene2/ring_towers.h"

#include "tests/scene2/disc_probe.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Rings {
    std::vector<long> discs, circles;
    double disc(int tower, int ring) const { return probe::discRadius(discs.at(8 * tower + ring)); }
    double circle(int tower, int ring) const {
        return probe::circleRadius(circles.at(8 * tower + ring));
    }
};

Rings drawAt(float t) {
    glrec::reset();
    drawRingTowers(t);
    return {probe::begins(GL_POLYGON), probe::begins(GL_LINE_STRIP)};
}

TEST(RingTowers, GrowthAtTheSceneStart) {
    const Rings r = drawAt(0.100144f);
    EXPECT_NEAR(r.disc(0, 0), 11.66, 0.01);
    EXPECT_EQ(r.disc(0, 1), 0);
    EXPECT_EQ(r.circle(0, 1), 0);
    EXPECT_EQ(r.disc(7, 7), 0);
}

TEST(RingTowers, GrowthAtPointOneFive) {
    const Rings r = drawAt(0.15f);
    EXPECT_NEAR(r.disc(3, 2), 5.15, 0.01);
    EXPECT_NEAR(r.disc(4, 1), 7.2, 0.05);
    EXPECT_EQ(r.disc(4, 2), 0);
}

// Once grown, a ring breathes between 5 and 35; ring 7 of tower 7 is the last to get there.
TEST(RingTowers, AllGrownByPointTwoOne) {
    const Rings r = drawAt(0.21f);
    EXPECT_NEAR(r.disc(7, 7), 33.91, 0.01);
    const double w = 100.0 * 0.21f;
    for (int i = 0; i < 8; ++i)
        for (int n = 0; n < 8; ++n) {
            const double full = 15 * std::sin(float(double(23.2f) * n + w)) + 20;
            EXPECT_NEAR(r.disc(i, n), full, 1e-4) << "tower " << i << " ring " << n;
            EXPECT_EQ(r.circle(i, n), r.disc(i, n));
        }
}

TEST(RingTowers, RadiusNeverNegative) {
    for (float t = 0.100144f; t < 0.2075f; t += 0.0007f) {
        const Rings r = drawAt(t);
        for (int k = 0; k < 64; ++k) ASSERT_GE(r.disc(k / 8, k % 8), 0) << "t = " << t;
    }
}

// Both faces of a fin show; culling is back on and blending off afterwards.
TEST(RingTowers, CullingOffWhileDrawing) {
    glrec::reset();
    glrec::state().enabled[GL_CULL_FACE] = true;
    drawRingTowers(0.18f);
    const long off = glrec::find("glDisable");
    ASSERT_GE(off, 0);
    EXPECT_EQ(glrec::calls()[size_t(off)].arg(0), GL_CULL_FACE);
    EXPECT_LT(off, probe::begins(GL_POLYGON).front());
    EXPECT_EQ(glrec::calls().back().name, "glEnable");
    EXPECT_EQ(glrec::calls().back().arg(0), GL_CULL_FACE);
    EXPECT_FALSE(glrec::state().isEnabled(GL_BLEND));
    // Ring n stands 70 n above its tower's foot: tower 0 is at (300, -400, 180).
    const auto top = probe::centreOf(probe::begins(GL_POLYGON).at(7));
    EXPECT_NEAR(top[0], 300, 1e-3);
    EXPECT_NEAR(top[1], -400 + 490, 1e-3);
    EXPECT_NEAR(top[2], 180, 1e-3);
}

} // namespace
