// Reads back the discs, circles and spheres a frame drew, from the recorded GL calls.
#pragma once

#include "tests/support/glrec.h"

#include <vector>

namespace probe {

// Indices of the glBegin calls of one primitive mode, from `from` on.
inline std::vector<long> begins(GLenum mode, size_t from = 0) {
    std::vector<long> out;
    const auto& calls = glrec::calls();
    for (size_t k = from; k < calls.size(); ++k)
        if (calls[k].name == "glBegin" && calls[k].arg(0) == mode) out.push_back(long(k));
    return out;
}

// A disc's rim starts at (0, -radius), right after the centre: the radius, sign included.
inline double discRadius(long begin) {
    const long centre = glrec::find("glVertex3f", size_t(begin));
    return -glrec::calls().at(glrec::find("glVertex3f", size_t(centre) + 1)).arg(1);
}

// A circle starts at its top point (0, radius).
inline double circleRadius(long begin) {
    return glrec::calls().at(glrec::find("glVertex3f", size_t(begin))).arg(1);
}

// A sphere's first point is its lower pole (0, 0, -radius).
inline double sphereDiameter(long begin) {
    return -2 * glrec::calls().at(glrec::find("glVertex3f", size_t(begin))).arg(2);
}

// Where the shape begun at `begin` has its centre, in the coordinates the effect started in.
inline std::array<double, 3> centreOf(long begin) {
    return glrec::apply(glrec::calls().at(size_t(begin)).modelview, 0, 0, 0);
}

} // namespace probe
