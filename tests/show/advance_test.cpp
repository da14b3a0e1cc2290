// What the show carries from frame to frame: drawing and skipping ahead move it alike.
#include "show/show.h"
#include "tests/support/glrec.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <type_traits>

namespace {

// Byte for byte, so a field added to the state is compared too; the state holds only 32-bit
// fields, so there is no padding to differ.
static_assert(std::is_trivially_copyable_v<ShowState>);
static_assert(alignof(ShowState) == 4 && sizeof(ShowState) % 4 == 0);
bool sameState(const ShowState& a, const ShowState& b) {
    return std::memcmp(&a, &b, sizeof(ShowState)) == 0;
}

// The show clock of frame k of a 60 fps run over a 160 s piece.
float clockOfFrame(int k) {
    return frameClock(k, FrameRate{60, 1}, 160000);
}

class Advance : public ::testing::Test {
  protected:
    void SetUp() override {
        showState = ShowState{};
        glrec::reset();
    }
    void TearDown() override { glrec::setRecording(true); }
};

TEST_F(Advance, SkippingAheadLeavesTheStateDrawingLeavesAcrossScenesTwoToFour) {
    // From late in scene two, through the whole walk and carousel, into scene four.
    const int first = 2700, last = 8700, every = 150;
    glrec::setRecording(false);
    std::vector<ShowState> drawn;
    for (int k = first; k <= last; ++k) {
        drawShow(clockOfFrame(k));
        if (k % every == 0) drawn.push_back(showState);
    }
    ASSERT_EQ(showState.sceneThree.tracer.tracerIndex, 102) << "the walk should have run out";
    ASSERT_EQ(showState.sceneThree.carouselState, kCarouselFull);

    showState = ShowState{};
    size_t checked = 0;
    for (int k = first; k <= last; ++k) {
        advanceShow(clockOfFrame(k));
        if (k % every == 0) {
            ASSERT_TRUE(sameState(showState, drawn[checked++])) << "frame " << k;
        }
    }
    EXPECT_EQ(checked, drawn.size());
}

TEST_F(Advance, DrawsNothing) {
    for (float t : {0.05f, 0.2f, 0.5f, 0.95f}) advanceShow(t);
    EXPECT_TRUE(glrec::calls().empty());
}

TEST_F(Advance, EveryScenesFrameStampsTheClockAndAFrameWithNoSceneLeavesTheState) {
    const struct {
        float t, stamp;
    } frames[] = {{0.045f, 45000}, {0.100144f, 100144}, {0.45f, 450000}, {0.94f, 940000}};
    for (const auto& f : frames) {
        drawShow(f.t);
        EXPECT_FLOAT_EQ(showState.clockStamp, f.stamp) << "t " << f.t;
    }
    const ShowState before = showState;
    drawShow(std::numeric_limits<float>::quiet_NaN());
    advanceShow(-0.25f);
    EXPECT_TRUE(sameState(showState, before));
}

TEST_F(Advance, SceneThreesFirstFrameStepsFromTheStampSceneTwoLeft) {
    advanceShow(0.29945f);
    advanceShow(0.2996f);
    EXPECT_FLOAT_EQ(showState.clockStamp, 299600);
    // A tenth of the 150 millionths of the show clock between the two frames.
    const TracerWalk& walk = showState.sceneThree.tracer;
    EXPECT_NEAR(walk.tracerHead.x, 15, 0.01);
    EXPECT_EQ(walk.tracerHead.z, 0);
    EXPECT_EQ(showState.sceneThree.carouselState, kCarouselFilling);

    advanceShow(0.2997f);
    EXPECT_NEAR(walk.tracerHead.x, 25, 0.01);
}

TEST_F(Advance, TheProbeStaysWhereTheLastFrameOfSceneThreeLeftIt) {
    // The probe circles at radius 300, 300 radians per unit of the clock.
    advanceShow(0.45f);
    const ProbePoint& probe = showState.sceneThree.probePoint;
    EXPECT_NEAR(probe.x, 300 * std::sin(135.0), 1e-3);
    EXPECT_EQ(probe.y, probe.x);
    EXPECT_NEAR(probe.z, 300 * std::cos(135.0), 1e-3);
    // A frame of scene four keeps the probe where scene three left it.
    advanceShow(0.95f);
    EXPECT_NEAR(probe.z, 300 * std::cos(135.0), 1e-3);
}

} // namespace
