#include "shell/frame_box.h"

#include <gtest/gtest.h>

namespace {

void expectBox(int w, int h, FrameBox want) {
    const FrameBox got = fitFrame(w, h);
    EXPECT_EQ(got.x, want.x) << w << "x" << h;
    EXPECT_EQ(got.y, want.y) << w << "x" << h;
    EXPECT_EQ(got.width, want.width) << w << "x" << h;
    EXPECT_EQ(got.height, want.height) << w << "x" << h;
}

TEST(FrameBox, FillsTheScreenCentredWithItsAspectKept) {
    expectBox(800, 600, {0, 0, 800, 600});       // the frame's own size: no bars
    expectBox(1600, 1200, {0, 0, 1600, 1200});   // its shape, larger
    expectBox(1280, 1024, {0, 32, 1280, 960});   // taller screen: bars above and below
    expectBox(1920, 1080, {240, 0, 1440, 1080}); // wider screen: bars left and right
    expectBox(1366, 768, {171, 0, 1024, 768});
    expectBox(640, 480, {0, 0, 640, 480}); // smaller than the frame: scaled down
}

TEST(FrameBox, OddSizesRoundDownAndStayInside) {
    for (int w = 1; w < 300; w += 7)
        for (int h = 1; h < 300; h += 11) {
            const FrameBox b = fitFrame(w, h);
            EXPECT_GE(b.x, 0);
            EXPECT_GE(b.y, 0);
            EXPECT_LE(b.x + b.width, w);
            EXPECT_LE(b.y + b.height, h);
            // One side always touches the window's edges; the bars either side differ by one
            // pixel at most.
            EXPECT_TRUE(b.width == w || b.height == h) << w << "x" << h;
            EXPECT_LE((w - b.width - b.x) - b.x, 1);
            EXPECT_LE((h - b.height - b.y) - b.y, 1);
        }
}

} // namespace
