#include "gfx/timeline.h"
#include "scenes/scene3/towers.h"
#include "structures_test_support.h"

#include <gtest/gtest.h>

using namespace structures_test;

namespace {

// Per drawn tower, in drawing order: the x-axis swing handed to GL and the box's draw call.
struct DrawnTower {
    double swing;
    glrec::Call box;
};

std::vector<DrawnTower> drawTowersAt(float t) {
    glrec::reset();
    drawTowers(t);
    std::vector<DrawnTower> out;
    const auto boxes = draws(GL_QUADS, 24);
    size_t b = 0;
    for (const glrec::Call& c : glrec::named("glRotatef"))
        if (c.arg(1) == 1) out.push_back({c.arg(0), boxes.at(b++)});
    EXPECT_EQ(b, boxes.size());
    return out;
}

// Centre of a drawn box in world space: its local y runs from 1 to its height.
std::array<double, 3> boxCentre(const glrec::Call& box) {
    const float top = box.vertices[6];
    return placed(box, 0, (1 + top) / 2, 0);
}

} // namespace

TEST(Towers, NothingUntilTheFirstStartsToGrow) {
    const double start = kSceneThreeStart + 0.05;
    EXPECT_TRUE(drawTowersAt(justBelow(start)).empty());
    EXPECT_EQ(glrec::count("glDrawArrays"), 0u);

    // Tower 0 of the turned copy comes first, on the positive z side.
    const auto early = drawTowersAt(static_cast<float>(start + 0.0001));
    ASSERT_EQ(early.size(), 1u);
    EXPECT_NEAR(placed(early[0].box, 0, 0, 0)[2], 400, 1e-3);
    EXPECT_LT(early[0].box.vertices[6], 700 * 0.01) << "tower 0 has only begun to grow";
}

TEST(Towers, LiftAtSecondHalfBeforeAnySwing) {
    // The first float at the lift threshold is still below the swing threshold.
    const float t = atOrAbove(kSecondHalf);
    ASSERT_LT(t, kSecondHalfFromStart);
    const auto towers = drawTowersAt(t);
    ASSERT_EQ(towers.size(), 140u);
    for (const DrawnTower& d : towers) {
        EXPECT_EQ(d.swing, 0);
        EXPECT_NEAR(boxCentre(d.box)[1], -49.5, 1e-3);
    }
    // A frame earlier they still stand on the ground.
    const auto before = drawTowersAt(justBelow(kSecondHalf));
    EXPECT_NEAR(placed(before[0].box, 0, 1, 0)[1], -399, 1e-3);
}

TEST(Towers, EachTowerSwingsAboutTheXAxisFromItsOwnStart) {
    const float t = 0.73f; // tower 0 swings, tower 69 starts at kSecondHalfFromStart + 0.138
    auto towers = drawTowersAt(t);
    ASSERT_EQ(towers.size(), 140u);
    for (int copy = 0; copy < 2; ++copy) {
        EXPECT_NEAR(towers[70 * copy].swing, (kSecondHalfFromStart - t) * 2500, 1e-3);
        EXPECT_EQ(towers[70 * copy + 69].swing, 0);
    }
    // Tower 1 of copy 1 orbits the x axis through the origin, not its own base.
    const double a = towers[71].swing * M_PI / 180;
    const Tower& tw = towerTable[1];
    const double y = tw.y + (700 - tw.height) / 2 + 1, z = tw.z;
    const auto base = placed(towers[71].box, 0, 1, 0);
    EXPECT_NEAR(base[0], tw.x, 1e-3);
    EXPECT_NEAR(base[1], y * std::cos(a) - z * std::sin(a), 1e-3);
    EXPECT_NEAR(base[2], y * std::sin(a) + z * std::cos(a), 1e-3);

    towers = drawTowersAt(0.75f);
    EXPECT_NEAR(towers[69].swing, (0.002 * 69 + kSecondHalfFromStart - 0.75f) * 2500, 1e-3);
    EXPECT_LT(towers[69].swing, 0);
}
