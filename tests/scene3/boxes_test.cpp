#include "scenes/scene3/boxes.h"
#include "structures_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace structures_test;

namespace {

using Extent = std::array<std::array<float, 3>, 2>;

// Lower and upper corner of every vertex position drawn since the last reset.
Extent extentOfDraws() {
    Extent e{{{1e9f, 1e9f, 1e9f}, {-1e9f, -1e9f, -1e9f}}};
    for (const glrec::Call& c : glrec::named("glDrawArrays"))
        for (size_t v = 0; v < c.vertices.size(); v += 8)
            for (int a = 0; a < 3; ++a) {
                e[0][a] = std::min(e[0][a], c.vertices[v + 5 + a]);
                e[1][a] = std::max(e[1][a], c.vertices[v + 5 + a]);
            }
    return e;
}

} // namespace

// A box stands on y = 1, and every face winds counter-clockwise around its outward normal.
TEST(Boxes, BoxStandsOnOneWithOutwardFacesAndTextureEvery60Units) {
    glrec::reset();
    drawBox(30, 120, 20);
    EXPECT_EQ(extentOfDraws(), (Extent{{{-15, 1, -10}, {15, 120, 10}}}));
    const std::vector<float> v = draws(GL_QUADS, 24).at(0).vertices;
    for (int f = 0; f < 6; ++f) {
        const float* p[3] = {&v[32 * f + 5], &v[32 * f + 13], &v[32 * f + 21]};
        const float* normal = &v[32 * f + 2];
        float a[3], b[3], centreOut = 0, windingOut = 0;
        for (int i = 0; i < 3; ++i) a[i] = p[1][i] - p[0][i], b[i] = p[2][i] - p[0][i];
        const float cross[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2],
                                a[0] * b[1] - a[1] * b[0]};
        // The face's middle, seen from the box's middle (0, 60.5, 0), lies along its normal.
        const float mid[3] = {(p[0][0] + p[2][0]) / 2, (p[0][1] + p[2][1]) / 2 - 60.5f,
                              (p[0][2] + p[2][2]) / 2};
        for (int i = 0; i < 3; ++i)
            centreOut += mid[i] * normal[i], windingOut += cross[i] * normal[i];
        EXPECT_GT(centreOut, 0) << "face " << f;
        EXPECT_GT(windingOut, 0) << "face " << f;
        EXPECT_FLOAT_EQ(v[32 * f + 8 + 1], 2) << "texture repeats every 60 units: 120 / 60";
    }
}

// A column or tower with no size yet still shows its cage, one unit larger on every side.
TEST(Boxes, CagesOfZeroSizeBoxes) {
    glrec::reset();
    drawBox(0, 0, 0);
    EXPECT_EQ(extentOfDraws(), (Extent{{{0, 0, 0}, {0, 1, 0}}}));
    glrec::reset();
    drawBoxWire(0, 0, 0);
    EXPECT_EQ(draws(GL_LINE_LOOP, 4).size(), 4u);
    EXPECT_EQ(extentOfDraws(), (Extent{{{-1, 0, -1}, {1, 1, 1}}}));
    glrec::reset();
    drawBoxWire(25, 0, 25);
    EXPECT_EQ(extentOfDraws(), (Extent{{{-13.5f, 0, -13.5f}, {13.5f, 1, 13.5f}}}));
}
