#include "scenes/scene3/boxes.h"
#include "structures_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace structures_test;

namespace {

struct Extent {
    float lo[3] = {1e9f, 1e9f, 1e9f}, hi[3] = {-1e9f, -1e9f, -1e9f};
    float size(int axis) const { return hi[axis] - lo[axis]; }
};

// The bounding box of every vertex position drawn since the last reset.
Extent extentOfDraws() {
    Extent e;
    for (const glrec::Call& c : glrec::named("glDrawArrays"))
        for (size_t v = 0; v < c.vertices.size(); v += 8)
            for (int a = 0; a < 3; ++a) {
                e.lo[a] = std::min(e.lo[a], c.vertices[v + 5 + a]);
                e.hi[a] = std::max(e.hi[a], c.vertices[v + 5 + a]);
            }
    return e;
}

} // namespace

// A box stands on y = 1, and every face winds counter-clockwise around its outward normal.
TEST(Boxes, BoxStandsOnOneWithOutwardFacesAndTextureEvery60Units) {
    glrec::reset();
    drawBox(30, 120, 20);
    const auto quads = draws(GL_QUADS, 24);
    ASSERT_EQ(quads.size(), 1u);
    const std::vector<float>& v = quads[0].vertices;
    const Extent e = extentOfDraws();
    EXPECT_FLOAT_EQ(e.lo[0], -15);
    EXPECT_FLOAT_EQ(e.hi[0], 15);
    EXPECT_FLOAT_EQ(e.lo[1], 1);
    EXPECT_FLOAT_EQ(e.hi[1], 120);
    EXPECT_FLOAT_EQ(e.lo[2], -10);
    EXPECT_FLOAT_EQ(e.hi[2], 10);
    for (int f = 0; f < 6; ++f) {
        const float* p[4];
        for (int k = 0; k < 4; ++k) p[k] = &v[(4 * f + k) * 8];
        // (p1 - p0) x (p2 - p0) points out of a counter-clockwise face.
        const float a[3] = {p[1][5] - p[0][5], p[1][6] - p[0][6], p[1][7] - p[0][7]};
        const float b[3] = {p[2][5] - p[0][5], p[2][6] - p[0][6], p[2][7] - p[0][7]};
        const float n[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2],
                            a[0] * b[1] - a[1] * b[0]};
        EXPECT_GT(n[0] * p[0][2] + n[1] * p[0][3] + n[2] * p[0][4], 0) << "face " << f;
        // The face's centre lies on the side its normal points to.
        float c[3] = {0, 0, 0};
        for (int k = 0; k < 4; ++k)
            for (int i = 0; i < 3; ++i) c[i] += p[k][5 + i] / 4;
        const float mid[3] = {0, 60.5f, 0};
        EXPECT_GT((c[0] - mid[0]) * p[0][2] + (c[1] - mid[1]) * p[0][3] + (c[2] - mid[2]) * p[0][4],
                  0)
            << "face " << f;
        EXPECT_FLOAT_EQ(p[1][1], 2) << "texture repeats every 60 units: 120 / 60";
    }
}

// A column or tower with no size yet still shows its cage, one unit larger on every side.
TEST(Boxes, CagesOfZeroSizeBoxes) {
    glrec::reset();
    drawBox(0, 0, 0);
    const Extent box = extentOfDraws();
    EXPECT_EQ(box.size(0), 0);
    EXPECT_EQ(box.size(2), 0);

    glrec::reset();
    drawBoxWire(0, 0, 0);
    ASSERT_EQ(draws(GL_LINE_LOOP, 4).size(), 4u);
    Extent cage = extentOfDraws();
    EXPECT_EQ(cage.size(0), 2);
    EXPECT_EQ(cage.size(1), 1);
    EXPECT_EQ(cage.size(2), 2);
    EXPECT_EQ(cage.lo[1], 0);

    glrec::reset();
    drawBoxWire(25, 0, 25);
    cage = extentOfDraws();
    EXPECT_EQ(cage.size(0), 27);
    EXPECT_EQ(cage.size(1), 1);
    EXPECT_EQ(cage.size(2), 27);
}
