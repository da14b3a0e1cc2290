#include "gfx/timeline.h"
#include "shell/callbacks.h"
#include "tests/support/float_clock.h"
#include "tests/support/glrec.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>

namespace {

int framesDrawn = 0;
void countingDispatcher(float) {
    ++framesDrawn;
    std::fprintf(stderr, "drawn\n");
}

TEST(ShowFrameDeathTest, TheFrameAtTheEndIsDrawnThenTheProcessEnds) {
    sceneDispatcher = countingDispatcher;
    EXPECT_EXIT(showFrame(0.99f), ::testing::ExitedWithCode(0), "drawn");
    EXPECT_EXIT(showFrame(firstClockAtOrAbove(kEndThreshold)), ::testing::ExitedWithCode(0), "");
}

TEST(ShowFrame, BeforeTheEndAndWithNoClockTheShowGoesOn) {
    sceneDispatcher = countingDispatcher;
    framesDrawn = 0;
    glrec::reset();
    showFrame(std::nextafter(firstClockAtOrAbove(kEndThreshold), 0.0f));
    showFrame(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(framesDrawn, 2);
    EXPECT_EQ(glrec::count("glutSwapBuffers"), 2u) << "each frame drawn is shown";
}

TEST(Callbacks, ResizeSnapsBackAndOnlyEscapeEnds) {
    glrec::reset();
    onReshape(1024, 768);
    EXPECT_EQ(glrec::named("glutReshapeWindow").at(0).args, (std::vector<double>{800, 600}));
    onIdle();
    EXPECT_EQ(glrec::count("glutPostRedisplay"), 1u);
    for (int key = 0; key < 256; ++key)
        if (key != 27) onKeyboard(static_cast<unsigned char>(key), 0, 0);
    EXPECT_EXIT(onKeyboard(27, 0, 0), ::testing::ExitedWithCode(0), "");
}

} // namespace
