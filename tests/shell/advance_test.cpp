#include "gfx/textures.h"
#include "scenes/scene3/cube_walls.h"
#include "scenes/scene3/disc_carousel.h"
#include "scenes/scene3/tracer_paths.h"
#include "shell/show.h"
#include "tests/support/glrec.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Everything the scenes carry from one frame to the next.
struct CarriedState {
    float clock;
    int32_t index, carousel;
    float headX, headZ, probeX, probeY, probeZ;
    bool operator==(const CarriedState& o) const {
        return clock == o.clock && index == o.index && carousel == o.carousel && headX == o.headX &&
               headZ == o.headZ && probeX == o.probeX && probeY == o.probeY && probeZ == o.probeZ;
    }
};

CarriedState carried() {
    return {clockStamp,   tracerIndex,  carouselState, tracerHead.x,
            tracerHead.z, probePoint.x, probePoint.y,  probePoint.z};
}

void startFresh() {
    clockStamp = 0;
    tracerIndex = 1;
    tracerHead = {0, 0};
    carouselState = kCarouselNotStarted;
    probePoint = {0, 0, 0};
}

// The show clock of frame k of a 60 fps run over a 160 s piece, as the program forms it.
float frameClock(int k) {
    return showClock(DWORD(k * 1000 / 60), 160000);
}

TEST(AdvanceShow, LeavesTheStateDrawingWouldLeaveAcrossScenesTwoToFour) {
    // From late in scene two, through the whole walk and carousel, into scene four.
    const int first = 2700, last = 8700, every = 150;
    glrec::reset();
    glrec::setRecording(false);

    startFresh();
    std::vector<CarriedState> drawn;
    for (int k = first; k <= last; ++k) {
        drawShow(frameClock(k));
        if (k % every == 0) drawn.push_back(carried());
    }
    ASSERT_EQ(tracerIndex, 102) << "the walk should have run to its end";
    ASSERT_EQ(carouselState, kCarouselFull);

    startFresh();
    size_t checked = 0;
    for (int k = first; k <= last; ++k) {
        advanceShow(frameClock(k));
        if (k % every == 0) {
            ASSERT_TRUE(carried() == drawn[checked++]) << "frame " << k;
        }
    }
    EXPECT_EQ(checked, drawn.size());
    EXPECT_EQ(glrec::calls().size(), 0u);
    glrec::setRecording(true);
}

TEST(AdvanceShow, DrawsNothing) {
    glrec::reset();
    for (float t : {0.05f, 0.2f, 0.5f, 0.95f}) advanceShow(t);
    EXPECT_TRUE(glrec::calls().empty());
    EXPECT_EQ(clockStamp, 0.95f * 1000000.0f);
}

} // namespace
