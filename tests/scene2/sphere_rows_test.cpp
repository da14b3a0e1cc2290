#include "scenes/scene2/sphere_rows.h"

#include "tests/scene2/disc_probe.h"

#include <gtest/gtest.h>

namespace {

void expectNear(const std::array<double, 3>& got, const std::array<double, 3>& want, double tol) {
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(got[c], want[c], tol) << "component " << c;
}

TEST(SphereRows, FirstRowAtPointOneTwo) {
    glrec::reset();
    drawSphereRows(0.12f);
    const auto spheres = probe::begins(GL_QUADS);
    ASSERT_EQ(spheres.size(), 24u);
    expectNear(probe::centreOf(spheres[0]), {0, -250 - 53.657, 1500 + 33.754}, 0.001);
    EXPECT_NEAR(probe::sphereDiameter(spheres[0]), 67.81, 0.01);
    const glrec::Call colour = glrec::named("glColor4f").at(0);
    EXPECT_NEAR(colour.arg(0), 0.1317, 0.0001);
    EXPECT_NEAR(colour.arg(1), 0.8219, 0.0001);
    EXPECT_NEAR(colour.arg(2), 0.1317, 0.0001);
    EXPECT_FLOAT_EQ(colour.arg(3), 0.2f);
    expectNear(probe::centreOf(spheres[3]), {225, -250 - 93.107, 1500 + 14.593}, 0.001);
    EXPECT_NEAR(probe::sphereDiameter(spheres[3]), 115.23, 0.01);
}

// Row 1 runs along -Z from (1500, -250, 0), row 2 along -X, row 3 along +Z.
TEST(SphereRows, RowsTurnAboutTheFloor) {
    glrec::reset();
    drawSphereRows(0.2f);
    const auto spheres = probe::begins(GL_QUADS);
    const auto first = probe::centreOf(spheres[3]);
    const double x = first[0], y = first[1] + 250, z = first[2] - 1500;
    expectNear(probe::centreOf(spheres[6 + 3]), {1500 + z, -250 + y, -x}, 1e-3);
    expectNear(probe::centreOf(spheres[12 + 3]), {-x, -250 + y, -1500 - z}, 1e-3);
    expectNear(probe::centreOf(spheres[18 + 3]), {-1500 - z, -250 + y, x}, 1e-3);
}

} // namespace
