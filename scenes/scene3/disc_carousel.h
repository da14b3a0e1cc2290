// Six dark discs on a turning ring of radius 550 round the vertical axis, facing it; a
// leading disc sweeps round faster at first and sets them into their slots one by one.
#pragma once

#include <cstdint>

// The carousel's progress, carried from frame to frame as carouselState.
enum : int32_t { kCarouselNotStarted = 0, kCarouselFilling = 1, kCarouselFull = 2 };

// What one frame shows.
struct CarouselFrame {
    bool slot[6];    // slot i stands at 60 i degrees on the ring
    bool leading;    // the sweeping disc
    float leadAngle; // degrees about the vertical axis
    float slotAngle[6];
};
// Works out what the frame at t shows from the state the previous frame left, and moves the
// state on.
CarouselFrame advanceCarousel(int32_t& carouselState, float t);

void drawDiscCarousel(const CarouselFrame& f);
