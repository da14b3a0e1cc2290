#include "tools/bench/stretches.h"

#include "gfx/timeline.h"
#include "show/show.h"

#include <gtest/gtest.h>

namespace {

constexpr double kShowMs = 160000; // the show's own music

// Scene three's halves share a scene number; the half is told by the clock.
int windowOf(float t) {
    const int scene = sceneFor(t);
    return scene == 3 && double(t) >= kSecondHalf ? 5 : scene;
}

TEST(Stretches, EachLiesWhollyInItsOwnWindowAtTheLongestLength) {
    int seen[6] = {};
    for (const Stretch& s : kStretches) {
        int64_t first = -1;
        ASSERT_TRUE(stretchFirstFrame(s, kMaxStretchFrames, kShowMs, first, nullptr)) << s.name;
        const float a = frameClock(first, kBenchRate, kShowMs);
        const float b = frameClock(first + kMaxStretchFrames - 1, kBenchRate, kShowMs);
        EXPECT_GE(a, s.start) << s.name;
        EXPECT_LT(frameClock(first - 1, kBenchRate, kShowMs), s.start) << s.name;
        EXPECT_EQ(windowOf(a), windowOf(b)) << s.name;
        ++seen[windowOf(a)];
    }
    for (int w = 1; w <= 5; ++w) EXPECT_EQ(seen[w], 1) << "window " << w;
    EXPECT_EQ(findStretch("3b"), &kStretches[3]);
    EXPECT_EQ(findStretch("5"), nullptr);
}

TEST(Stretches, RefusesAStretchThatRunsPastItsWindow) {
    const Stretch& four = *findStretch("4");
    int64_t first = 0;
    std::string error;
    // Music of 20 s leaves scene four about 1 s, 60 frames.
    EXPECT_TRUE(stretchFirstFrame(four, 20, 20000, first, &error));
    EXPECT_FALSE(stretchFirstFrame(four, 120, 20000, first, &error));
    EXPECT_NE(error.find("stretch 4"), std::string::npos) << error;
    EXPECT_FALSE(stretchFirstFrame(four, 1, 0, first, &error));
}

} // namespace
