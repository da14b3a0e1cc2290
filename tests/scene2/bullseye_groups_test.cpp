#include "scenes/scene2/bullseye_groups.h"

#include "tests/scene2/disc_probe.h"

#include <gtest/gtest.h>

namespace {

TEST(BullseyeGroups, ScalesAtPointTwo) {
    glrec::reset();
    drawBullseyeGroups(0.2f);
    const auto discs = probe::begins(GL_POLYGON);
    ASSERT_EQ(discs.size(), 150u);
    for (int group = 0; group < 5; ++group) {
        const size_t first = 30 * group;
        EXPECT_NEAR(probe::discRadius(discs[first]), 219.23, 0.01);
        EXPECT_NEAR(probe::discRadius(discs[first + 1]), 159.86, 0.01);
        EXPECT_NEAR(probe::discRadius(discs[first + 2]), 68.51, 0.01);
        EXPECT_NEAR(probe::discRadius(discs[first + 9]), 96 * 2.4414, 0.01);
    }
    // The mark's own placement is the second translation of its draw.
    const glrec::Call place = glrec::named("glTranslatef").at(3 * 4 + 1);
    EXPECT_NEAR(place.arg(0), 536.398, 0.001);
    EXPECT_NEAR(place.arg(1), -234.545, 0.001);
    EXPECT_NEAR(place.arg(2), 139.997, 0.001);
}

// Each group's marks face the middle of the floor: the nearer discs lie that way.
TEST(BullseyeGroups, GroupsFaceTheFloor) {
    glrec::reset();
    drawBullseyeGroups(0.2f);
    const auto discs = probe::begins(GL_POLYGON);
    const std::array<double, 3> facing[5] = {
        {0, 1, 0}, {0, 0, -1}, {-1, 0, 0}, {0, 0, 1}, {1, 0, 0}};
    for (int group = 0; group < 5; ++group) {
        const auto outer = probe::centreOf(discs[30 * group]);
        const auto white = probe::centreOf(discs[30 * group + 1]);
        const auto inner = probe::centreOf(discs[30 * group + 2]);
        for (int c = 0; c < 3; ++c) {
            EXPECT_NEAR(white[c] - outer[c], 2 * facing[group][c], 1e-6) << "group " << group;
            EXPECT_NEAR(inner[c] - outer[c], 4 * facing[group][c], 1e-6) << "group " << group;
        }
    }
}

} // namespace
