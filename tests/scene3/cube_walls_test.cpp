#include "gfx/timeline.h"
#include "scenes/scene3/cube_walls.h"
#include "structures_test_support.h"

#include <gtest/gtest.h>

using namespace structures_test;

namespace {

// One drawn cube: its centre in world space and the colours of its tile and body.
struct DrawnCube {
    std::array<double, 3> centre;
    float tile[4], body[4];
};

// Where the previous frame left the probe; far from every cube unless a test puts it near one.
ProbePoint probe = {0, 5000, 0};

std::vector<DrawnCube> drawWallsAt(float t) {
    glrec::reset();
    drawCubeWalls(t, probe);
    std::vector<DrawnCube> out;
    DrawnCube cur{};
    float colour[4] = {};
    for (const glrec::Call& c : glrec::calls()) {
        if (c.name == "glColor4f")
            for (int k = 0; k < 4; ++k) colour[k] = static_cast<float>(c.arg(k));
        if (c.name != "glDrawArrays" || c.arg(0) != GL_QUADS) continue;
        if (c.arg(2) == 4) std::copy(colour, colour + 4, cur.tile);
        if (c.arg(2) == 24) {
            std::copy(colour, colour + 4, cur.body);
            cur.centre = placed(c, 0, 0, 0);
            out.push_back(cur);
        }
    }
    return out;
}

// Cube (u, v) of a wall, in drawing order.
const DrawnCube& cube(const std::vector<DrawnCube>& cubes, int wall, int u, int v) {
    return cubes.at(100 * wall + 10 * u + v);
}

// The probe where cube (u, v) of either wall sits in the wall's own frame.
void putProbeOnCube(int u, int v) {
    probe = {0, static_cast<float>(55 * v - 247.5), static_cast<float>(55 * u - 247.5)};
}

} // namespace

// Beat 4 of the window that opens at 0.1012 + 0.1997: its middle for column 9.
TEST(CubeWalls, ColumnsHopInBeatsAndFacingCubesHopTogether) {
    const double b0 = 0.0253 * 4;
    const double beat = 0.026 / 8;
    const double lo = b0 + 0.199 + 3 * beat + 0.00015 * 9;
    const double hi = b0 + 0.199 + 4 * beat + 0.00015 * 9 - 0.0025;
    const float t = static_cast<float>((lo + hi) / 2);
    CubeWallTables tab;
    buildCubeWallTables(t, probe, tab);
    EXPECT_NEAR(tab.hop[9][0], 35, 0.01);
    EXPECT_NEAR(tab.hop[9][9], 35, 0.01);
    // Column 8 started 0.00015 earlier: 70% through its hop.
    EXPECT_NEAR(tab.hop[8][3], 140 * 0.7 * 0.3, 0.05);
    EXPECT_EQ(tab.hop[0][0], 0);

    // Wall 0 stands at x = 200 and is turned; wall 1 at x = -200. Across the corridor the
    // cube at the same z moves inwards by the same amount.
    const auto cubes = drawWallsAt(t);
    ASSERT_EQ(cubes.size(), 200u);
    EXPECT_NEAR(cube(cubes, 0, 9, 0).centre[0], 200 - 35, 0.01);
    EXPECT_NEAR(cube(cubes, 1, 0, 0).centre[0], -200 + 35, 0.01);
    for (int u = 0; u < 10; ++u) {
        const DrawnCube& a = cube(cubes, 0, u, 4);
        const DrawnCube& b = cube(cubes, 1, 9 - u, 4);
        EXPECT_NEAR(a.centre[2], b.centre[2], 1e-3);
        EXPECT_NEAR(200 - a.centre[0], b.centre[0] + 200, 1e-3) << "u " << u;
    }

    // After the last window no column hops.
    buildCubeWallTables(static_cast<float>(0.0253 * 5 + 0.225 + 0.001), probe, tab);
    for (int u = 0; u < 10; ++u) EXPECT_EQ(tab.hop[u][5], 0);
}

TEST(CubeWalls, CubesNearTheProbeOfThePreviousFrameHideTileAndBody) {
    putProbeOnCube(9, 9);
    const float t = 0.5f;
    const auto cubes = drawWallsAt(t);
    for (int wall = 0; wall < 2; ++wall) {
        const DrawnCube& near = cube(cubes, wall, 9, 9);
        EXPECT_LT(near.tile[3], 0);
        EXPECT_EQ(near.body[3], 0);
        // 275 away: visibility 0.6875, still below 0.7.
        EXPECT_LT(cube(cubes, wall, 9, 4).tile[3], 0);
        EXPECT_EQ(cube(cubes, wall, 9, 4).body[3], 0);
        // 311 away: the tile shows faintly, the body not yet.
        EXPECT_NEAR(cube(cubes, wall, 5, 5).tile[3], 220 * std::sqrt(2.0) / 400 - 0.7, 1e-5);
        EXPECT_EQ(cube(cubes, wall, 5, 5).body[3], 0);
        // 400 or more away: a clear tile and the milky white body.
        const DrawnCube& far = cube(cubes, wall, 0, 0);
        EXPECT_NEAR(far.tile[3], 0.3, 1e-6);
        EXPECT_EQ(far.body[0], 1);
        EXPECT_NEAR(far.body[3], 0.7, 1e-6);
    }
}

TEST(CubeWalls, TheProbeCirclesAtRadius300AndEachFrameSeesWhereThePreviousLeftIt) {
    ProbePoint p = {1, 2, 3};
    const ProbePoint seen = advanceProbe(p, 0.5f);
    EXPECT_EQ(seen.x, 1);
    EXPECT_EQ(seen.z, 3);
    // 150 radians: sin -0.714876, cos 0.699251.
    EXPECT_NEAR(p.x, -214.4629, 1e-3);
    EXPECT_EQ(p.y, p.x);
    EXPECT_NEAR(p.z, 209.7752, 1e-3);
}

TEST(CubeWalls, OpaqueBlackFromTheLateHalfWayWhateverTheProbe) {
    putProbeOnCube(5, 5);
    auto cubes = drawWallsAt(justBelow(kSecondHalfFromStart));
    EXPECT_EQ(cube(cubes, 0, 5, 5).body[3], 0);

    putProbeOnCube(5, 5);
    cubes = drawWallsAt(atOrAbove(kSecondHalfFromStart));
    ASSERT_EQ(cubes.size(), 200u);
    for (const DrawnCube& c : cubes) {
        EXPECT_EQ(c.body[0], 0);
        EXPECT_EQ(c.body[1], 0);
        EXPECT_EQ(c.body[2], 0);
        EXPECT_EQ(c.body[3], 1);
        EXPECT_NEAR(c.tile[3], 0.3, 1e-6);
    }
}

TEST(CubeWalls, CubesFallOneAfterAnotherUntilNoneIsLeft) {
    // Cube (0, 0) halfway through its fall has dropped a quarter of the 1200 units.
    const double first = kFallStart;
    auto cubes = drawWallsAt(static_cast<float>(first + 0.01));
    ASSERT_EQ(cubes.size(), 200u);
    EXPECT_NEAR(cube(cubes, 1, 0, 0).centre[1], -125 - 247.5 - 300, 0.1);
    EXPECT_NEAR(cube(cubes, 1, 9, 9).centre[1], -125 + 247.5, 1e-3);

    // Once a cube's fall is over it is gone: (0, 0) has ended, (0, 1) is still falling.
    cubes = drawWallsAt(static_cast<float>(first + 0.0201));
    EXPECT_EQ(cubes.size(), 198u);

    // Only the last cube of each wall is still falling.
    EXPECT_EQ(drawWallsAt(0.674f).size(), 2u);
    EXPECT_TRUE(drawWallsAt(atOrAbove(first + 0.065)).empty());
    EXPECT_EQ(glrec::count("glDrawArrays"), 0u);
}

TEST(CubeWalls, TileShowsItsCellOfThePicture) {
    glrec::reset();
    drawTextureTile(49, 3, 7);
    const auto tile = draws(GL_QUADS, 4);
    ASSERT_EQ(tile.size(), 1u);
    const std::vector<float>& v = tile[0].vertices;
    // Top-left corner first, at cell (3, 7)'s upper-left; third corner at its lower-right.
    EXPECT_EQ(std::vector<float>(v.begin(), v.begin() + 8),
              (std::vector<float>{0.3f, 0.8f, 0, 0, -1, -24.5f, 24.5f, 0}));
    EXPECT_EQ(std::vector<float>(v.begin() + 16, v.begin() + 24),
              (std::vector<float>{0.4f, 0.7f, 0, 0, -1, 24.5f, -24.5f, 0}));
}
