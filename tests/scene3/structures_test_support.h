// Small helpers shared by the tests of scene three's structures.
#pragma once

#include "gfx/textures.h"
#include "tests/support/float_clock.h"
#include "tests/support/glrec.h"

#include <cmath>
#include <vector>

namespace structures_test {

// Show clocks are floats: the first one at or above a double threshold, and the last below it.
inline float atOrAbove(double x) {
    return firstClockAtOrAbove(x);
}
inline float justBelow(double x) {
    return lastClockBelow(x);
}

// Distinct texture names, so tests can tell which picture a draw shows.
inline void nameTextures() {
    tex::wheelFace = 13, tex::smokePuff = 14, tex::structureSkin = 15, tex::cubeFieldPicture = 12,
    tex::smokePicture = 16, tex::hubMark = 17;
}

// The glDrawArrays calls that drew `count` vertices with `mode`, in order.
inline std::vector<glrec::Call> draws(GLenum mode, int count) {
    std::vector<glrec::Call> out;
    for (const glrec::Call& c : glrec::calls())
        if (c.name == "glDrawArrays" && c.arg(0) == mode && c.arg(2) == count) out.push_back(c);
    return out;
}

// Where the local point (x, y, z) of a draw lands in world (camera-free) space.
inline std::array<double, 3> placed(const glrec::Call& c, double x, double y, double z) {
    return glrec::apply(c.modelview, x, y, z);
}

} // namespace structures_test
