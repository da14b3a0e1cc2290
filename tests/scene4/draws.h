// The shapes a recorded run drew, each with the state it was drawn under.
#pragma once

#include "tests/support/glrec.h"

#include <vector>

struct Draw {
    size_t at;               // index of the call that drew it (glDrawArrays or glEnd)
    GLenum mode;             // GL_QUADS, GL_POLYGON, ...
    std::vector<float> xyz;  // positions as sent, 3 floats a vertex
    glrec::Matrix modelview; // when drawn
    bool textured, blended, lit;
    GLuint texture;
    GLenum blendSrc, blendDst;
    float colour[4];
    int viewport[4];
    std::array<double, 3> centre() const { return glrec::apply(modelview, 0, 0, 0); }
    // Distance of the second vertex from the first: a disc's radius, sent centre first.
    double radius() const;
};

// Replays the recorded calls since the last reset; `start` is the state they began from.
std::vector<Draw> draws(const glrec::State& start);
