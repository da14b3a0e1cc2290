// The shapes a recorded run drew, each with the state it was drawn under.
#pragma once

#include "tests/support/glrec.h"

#include <cmath>
#include <vector>

struct Draw {
    size_t at;               // index of the glDrawArrays or glEnd that drew it
    std::vector<float> xyz;  // positions as sent, 3 floats a vertex
    glrec::Matrix modelview; // when drawn
    glrec::State state;      // enables, texture, blend, colour and viewport when drawn
    std::array<double, 3> centre() const { return glrec::apply(modelview, 0, 0, 0); }
    double radius() const { return std::hypot(xyz.at(3) - xyz[0], xyz.at(4) - xyz[1]); }
};

// The shapes drawn since the last reset, in order.
std::vector<Draw> draws();
