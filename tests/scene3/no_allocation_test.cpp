#include "scenes/scene3/column_rings.h"
#include "scenes/scene3/cube_walls.h"
#include "scenes/scene3/towers.h"
#include "scenes/scene3/wheels.h"
#include "tests/support/alloc_counter.h"
#include "tests/support/glrec.h"

#include <gtest/gtest.h>

TEST(Structures, DrawWithoutHeapAllocation) {
    glrec::reset();
    glrec::setRecording(false);
    const float times[] = {0.36f, 0.45f, 0.58f, 0.62f, 0.75f};
    const ProbePoint probe = {100, 0, 100};
    // A first frame may set up what lives for the whole show; later frames may not allocate.
    for (float t : times) {
        drawTowers(t);
        drawColumnRings(t);
        drawCubeWalls(t, probe);
        drawWheels(t);
    }
    size_t allocations = 0;
    for (float t : times) {
        const size_t before = alloc_counter::count();
        drawTowers(t);
        drawColumnRings(t);
        drawCubeWalls(t, probe);
        drawWheels(t);
        allocations += alloc_counter::count() - before;
    }
    glrec::setRecording(true);
    EXPECT_EQ(allocations, 0u);
}
