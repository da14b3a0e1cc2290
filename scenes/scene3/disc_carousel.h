// Six dark discs on a turning ring of radius 550 round the vertical axis, facing it; a
// leading disc sweeps round faster at first and sets them into their slots one by one.
#pragma once

#include <cstdint>

// Kept from frame to frame and never reset.
enum : int32_t { kCarouselNotStarted = 0, kCarouselFilling = 1, kCarouselFull = 2 };
extern int32_t carouselState;

// What one frame shows; working it out advances carouselState.
struct CarouselFrame {
    bool slot[6];    // slot i stands at 60 i degrees on the ring
    bool leading;    // the sweeping disc
    float leadAngle; // degrees about the vertical axis
    float slotAngle[6];
};
CarouselFrame advanceCarousel(float t);

void drawDiscCarousel(float t);
