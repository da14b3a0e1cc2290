#include "gfx/curves.h"

float breakpoints[9];

float pingPong(float x, float start, float end, float base, float peak) {
    long double xe = x;
    if (xe >= end) xe = end;
    const long double span = static_cast<long double>(end) - start;
    const long double u = (xe - start) / span;
    const long double f = u < 0.5L ? 2 * (xe - start) / span : 2 - 2 * (xe - start) / span;
    return static_cast<float>(base + (static_cast<long double>(peak) - base) * f);
}

void setBreakpoints(float start, float end) {
    const float d = static_cast<float>((static_cast<long double>(end) - start) * 0.125L);
    breakpoints[0] = start;
    for (int k = 1; k <= 8; ++k)
        breakpoints[k] = static_cast<float>(start + static_cast<long double>(k) * d);
}
