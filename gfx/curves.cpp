#include "gfx/curves.h"

#include "gfx/extended.h"

float pingPong(float x, float start, float end, float base, float peak) {
    Extended xe = x;
    if (xe >= end) xe = end;
    const Extended span = static_cast<Extended>(end) - start;
    const Extended u = (xe - start) / span;
    const Extended f = u < 0.5L ? 2 * (xe - start) / span : 2 - 2 * (xe - start) / span;
    return static_cast<float>(base + (static_cast<Extended>(peak) - base) * f);
}

void setBreakpoints(float start, float end, float (&breakpoints)[9]) {
    const float d = static_cast<float>((static_cast<Extended>(end) - start) * 0.125L);
    breakpoints[0] = start;
    for (int k = 1; k <= 8; ++k)
        breakpoints[k] = static_cast<float>(start + static_cast<Extended>(k) * d);
}
