// The cube cluster: cycles and slots, the pops, the burst, the spin and the alpha beat.
#include "scenes/scene1/cube_cluster.h"
#include "tests/support/glrec.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void expectCorner(const CubePose& c, int corner, float scale) {
    EXPECT_NEAR(c.x, clusterCorners[corner][0] * scale, 1e-3f);
    EXPECT_NEAR(c.y, clusterCorners[corner][1] * scale, 1e-3f);
    EXPECT_NEAR(c.z, clusterCorners[corner][2] * scale, 1e-3f);
}

void expectSpin(const CubePose& c, double factor, float t) {
    EXPECT_FLOAT_EQ(c.ax, float(factor * 12000 * t));
    EXPECT_FLOAT_EQ(c.ay, float(factor * 8000 * t));
    EXPECT_FLOAT_EQ(c.az, c.ay);
}

TEST(CubeCluster, CyclesOneAndFourSplitIntoEightSlots) {
    const double cycle1[9] = {0,         0.0031288, 0.0062575, 0.0093862, 0.012515,
                              0.0156437, 0.0187725, 0.0219012, 0.02503};
    const double cycle4[9] = {0.075104, 0.078234, 0.081364, 0.084494, 0.087624,
                              0.090754, 0.093884, 0.097014, 0.100144};
    float breakpoints[9];
    clusterBreakpoints(0.001f, breakpoints);
    for (int k = 0; k < 9; ++k) EXPECT_NEAR(breakpoints[k], cycle1[k], 6e-8) << k;
    clusterBreakpoints(0.1f, breakpoints);
    for (int k = 0; k < 9; ++k) EXPECT_NEAR(breakpoints[k], cycle4[k], 6e-7) << k;
    // Cycle bounds are compared as doubles: the float just below 0.02503 is still cycle 1.
    clusterBreakpoints(std::nextafter(float(0.02503), 0.f), breakpoints);
    EXPECT_EQ(breakpoints[0], 0);
}

TEST(CubeCluster, SlotCubePopsOutAlongItsDiagonalAndBack) {
    CubePose cubes[8];
    poseCubeCluster(0.0015f, cubes);
    expectCorner(cubes[0], 0, 2.5f); // (-70, 70, 70)
    for (int k = 1; k < 8; ++k) expectCorner(cubes[k], k, 1);
    expectSpin(cubes[0], 1.5, 0.0015f);

    poseCubeCluster(0.003f, cubes);
    expectCorner(cubes[0], 0, 1);

    // Cube 3 in cycle 2, a quarter into its motion: halfway out.
    float breakpoints[9];
    clusterBreakpoints(0.03f, breakpoints);
    poseCubeCluster(breakpoints[3] + 0.00075f, cubes);
    expectCorner(cubes[3], 3, 1.75f);
    expectCorner(cubes[2], 2, 1);
}

TEST(CubeCluster, SlotSevenBurstsTheWholeClusterAndSpinsFaster) {
    CubePose cubes[8];
    poseCubeCluster(0.0234012f, cubes);
    for (int k = 0; k < 8; ++k) {
        expectCorner(cubes[k], k, 4);
        expectSpin(cubes[k], 5, 0.0234012f);
    }
    poseCubeCluster(0.0249013f, cubes);
    for (int k = 0; k < 8; ++k) {
        expectCorner(cubes[k], k, 1);
        expectSpin(cubes[k], 5, 0.0249013f);
    }
    poseCubeCluster(0.0251f, cubes); // cycle 2, slot 0
    expectSpin(cubes[7], 1.5, 0.0251f);
}

TEST(CubeCluster, SolidsAndOutlinesBeatInOppositePhase) {
    for (float t : {0.0f, 0.0157f}) { // 100 t = 0 and about pi / 2
        glrec::reset();
        drawCubeCluster(t);
        const auto colours = glrec::named("glColor4f");
        ASSERT_EQ(colours.size(), 16u);
        const double solid = colours[0].arg(3), outline = colours[1].arg(3);
        EXPECT_NEAR(solid, t == 0 ? 0 : 1, 1e-3);
        EXPECT_NEAR(outline, t == 0 ? 1 : 0, 2e-3);
    }
    EXPECT_FALSE(glrec::state().isEnabled(GL_BLEND));
    EXPECT_EQ(glrec::state().modelview.size(), 1u);
}

} // namespace
