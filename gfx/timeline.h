// Where the show's parts fall on the show clock. A float clock is widened to double to be
// compared with these.
#pragma once

constexpr double kSceneTwoStart = 0.100144;
constexpr double kSceneThreeStart = 0.299523;
constexpr double kSceneFourStart = 0.899144;
// Scene two's camera cuts to circle the centre, and back; its banners change with them.
constexpr double kCutToCentre = 0.149518;
constexpr double kCutBack = 0.249312;
// The frame at or past this is the last one drawn.
constexpr double kEndThreshold = 0.986539;

// Scene three turns dark half-way. Most of it switches at the decimal 0.599523; the cube walls'
// blackening, the rings' glow and tumble and the towers' swing reckon the half as the scene's
// start plus a single-precision 0.3, which lands a hair later. Only one float clock lies
// between the two, 0.599523f itself: there the towers lift and the rings shrink while the
// walls, the glow and the swing still wait. The swing and the tumble also measure their angles
// from the later value, so it is kept as it is rather than rounded to the decimal.
constexpr double kSecondHalf = 0.599523;
constexpr double kSecondHalfFromStart = kSceneThreeStart + 0.3f;
static_assert(kSecondHalfFromStart == 0.5995230119209289);

// The tracer's arms and the wall cubes start to fall a single-precision 0.31 into scene three.
constexpr double kFallStart = kSceneThreeStart + 0.31f;
static_assert(kFallStart == 0.6095230023841858);
