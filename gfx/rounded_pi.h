// The show turns and swings with pi rounded to four places, in double precision. The rim points
// of every disc and sphere and the phase of every swing come from these values, so a truer pi
// would move pixels.
#pragma once

constexpr double kPi = 3.1416;
constexpr double kHalfPi = 1.5708;
constexpr double kTwoPi = 6.2832;

// Halving and doubling are exact, so the three agree to the last bit.
static_assert(kHalfPi == kPi / 2 && kTwoPi == kPi * 2);
