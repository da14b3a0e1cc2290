// Blocks, tumbling cubes, wall tiles and the title: where they stand and how they are coloured.
#include "gfx/textures.h"
#include "scenes/scene1/orbiting_blocks.h"
#include "scenes/scene1/title.h"
#include "scenes/scene1/tumbling_cubes.h"
#include "scenes/scene1/wall_tiles.h"
#include "tests/support/glrec.h"

#include <gtest/gtest.h>

namespace {

void expectAt(const CubePose& p, float x, float y, float z, float tolerance = 0.01f) {
    EXPECT_NEAR(p.x, x, tolerance);
    EXPECT_NEAR(p.y, y, tolerance);
    EXPECT_NEAR(p.z, z, tolerance);
}

TEST(OrbitingBlocks, StandFarOutsideTheRoom) {
    const float at0[5][3] = {{0, 0, 1500},
                             {1483.33f, 1499.29f, 357.71f},
                             {-441.0f, 92.33f, -1329.39f},
                             {-1352.23f, -1493.6f, -991.77f},
                             {843.02f, -184.31f, 856.36f}};
    for (int k = 0; k < 5; ++k) {
        const CubePose p = orbitingBlock(k, 0);
        expectAt(p, at0[k][0], at0[k][1], at0[k][2], 0.05f);
        EXPECT_EQ(p.ax + p.ay + p.az, 0);
    }
    glrec::reset();
    drawOrbitingBlocks(0.05f);
    const auto moves = glrec::named("glTranslatef");
    ASSERT_EQ(moves.size(), 5u);
    EXPECT_NEAR(moves[0].arg(0), -1438.39, 0.01);
    EXPECT_NEAR(moves[0].arg(1), -1438.39, 0.01);
    EXPECT_NEAR(moves[0].arg(2), 425.49, 0.01);
    const auto turns = glrec::named("glRotatef");
    EXPECT_EQ(turns[0].args, (std::vector<double>{60, 1, 0, 0}));
    EXPECT_EQ(turns[1].args, (std::vector<double>{70, 0, 1, 0}));
    EXPECT_EQ(turns[2].args, (std::vector<double>{75, 1, 0, 1}));
}

TEST(TumblingCubes, TwoStringsWithPulsingEdges) {
    TumblingCube c = tumblingCube(0, 0);
    expectAt(c.pose, 0, 250, 0);
    EXPECT_NEAR(c.edge, 23.97f - 0.1f, 0.01f);
    c = tumblingCube(6, 0);
    expectAt(c.pose, 186.48f, 195.83f, 186.48f);
    EXPECT_NEAR(c.edge, 49.58f - 0.1f, 0.01f);

    c = tumblingCube(0, 0.05f);
    expectAt(c.pose, -163.21f, -118.88f, -300);
    EXPECT_FLOAT_EQ(c.pose.ax, 140);
    EXPECT_FLOAT_EQ(c.pose.ay, 200);
    EXPECT_FLOAT_EQ(c.pose.az, 220);
    EXPECT_NEAR(c.edge, -35.28f - 0.1f, 0.01f);
}

TEST(TumblingCubes, NegativeEdgeIsDrawnMirrored) {
    glrec::reset();
    drawTumblingCubes(0.05f);
    const auto cubes = glrec::named("glDrawArrays");
    ASSERT_EQ(cubes.size(), 12u);
    // The first corner of the front face, (-h, h, h), lands on the far side.
    const float h = tumblingCube(0, 0.05f).edge * 0.5f;
    ASSERT_LT(h, 0);
    EXPECT_EQ(cubes[0].vertices[5], -h);
    EXPECT_EQ(cubes[0].vertices[6], h);
}

TEST(WallTiles, TableFacingAndColours) {
    tex::wallPicture = 20;
    glrec::reset();
    drawWallTiles(0, true);
    const float* first = wallTilePosition(0, 0, 0);
    EXPECT_EQ(std::vector<float>(first, first + 3), (std::vector<float>{-400, -400, -500}));
    const float* ceiling = wallTilePosition(4, 2, 3);
    EXPECT_EQ(std::vector<float>(ceiling, ceiling + 3), (std::vector<float>{0, 500, 200}));

    // Every tile's face normal, turned by its wall, points at the room's middle.
    for (const glrec::Call& square : glrec::named("glDrawArrays")) {
        if (square.arg(0) != GL_QUADS) continue;
        const auto centre = glrec::apply(square.modelview, 0, 0, 0);
        const auto front = glrec::apply(square.modelview, 0, 0, 1);
        double inward = 0;
        for (int a = 0; a < 3; ++a) inward += (front[a] - centre[a]) * -centre[a];
        EXPECT_GT(inward, 0);
    }
    EXPECT_EQ(glrec::count("glDrawArrays"), 300u);

    const TileColour near = wallTileColour(0, 0, 0), far = wallTileColour(5, 4, 4);
    EXPECT_FLOAT_EQ(near.red, 0.9f);
    EXPECT_EQ(near.green, 1);
    EXPECT_EQ(near.blue, 1);
    EXPECT_NEAR(far.red, 0.6317, 1e-4);
    EXPECT_NEAR(far.green, 0.8253, 1e-4);
    EXPECT_EQ(glrec::named("glColor4f")[0].args, (std::vector<double>{0.9f, 1, 1, 1}));
    EXPECT_EQ(glrec::named("glBindTexture")[0].arg(1), tex::wallPicture);
}

TEST(WallTiles, RowsWaverDownToHalfInTheMainPassOnly) {
    EXPECT_EQ(wallTileAlpha(0, 0), 1);
    const float trough = 3 * 3.14159265f / 400; // 200 t = 3 pi / 2
    EXPECT_NEAR(wallTileAlpha(0, trough), 0.5f, 1e-5f);
    EXPECT_GT(wallTileAlpha(1, trough), wallTileAlpha(0, trough)); // each row 0.3 ahead

    glrec::reset();
    drawWallTiles(trough, false);
    EXPECT_EQ(glrec::count("glColor4f"), 0u);
    EXPECT_EQ(glrec::named("glColor3f")[0].args, (std::vector<double>{0.9f, 1, 1}));
    for (const glrec::Call& c : glrec::named("glEnable")) EXPECT_EQ(c.arg(0), GL_BLEND);
}

TEST(Title, FadesInAndOutOnce) {
    EXPECT_EQ(titleStrength(0), 0);
    EXPECT_EQ(titleStrength(0.01f), 0);
    EXPECT_NEAR(titleStrength(0.02f), 0.33f, 0.01f);
    EXPECT_EQ(titleStrength(0.045f), 1);
    EXPECT_NEAR(titleStrength(0.065f), 0.66f, 0.01f);
    EXPECT_EQ(titleStrength(0.09f), 0);

    tex::title = 1;
    glrec::reset();
    drawTitle(0.045f);
    EXPECT_EQ(glrec::named("glBindTexture")[0].arg(1), tex::title);
    EXPECT_EQ(glrec::named("glColor4f")[0].args, (std::vector<double>{1, 1, 1, 1}));
    EXPECT_FALSE(glrec::state().isEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glrec::state().isEnabled(GL_BLEND));
}

} // namespace
