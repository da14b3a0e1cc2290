// The frame the show draws: its size, its shape and the projections laid on it. Another frame
// size is a change here and in the sizes of the picture targets the scenes copy into.
#pragma once

#include "gfx/gl.h"

constexpr int kFrameWidth = 800;
constexpr int kFrameHeight = 600;

// The projections take the shape as a double; 800 / 600 rounds to the 4:3 written out.
constexpr double kFrameAspect = double(kFrameWidth) / kFrameHeight;
static_assert(kFrameAspect == 1.3333333333333333);

struct Perspective {
    double fovY, aspect, zNear, zFar;
};

// The far planes differ, and neither frames nor the GL calls tell them apart: start-up's 3000 is
// only ever replaced, since every director sets the scenes' own before it draws anything.
constexpr Perspective kStartPerspective = {60, kFrameAspect, 1, 3000};
constexpr Perspective kScenePerspective = {60, kFrameAspect, 1, 2500};

inline void applyPerspective(const Perspective& p) {
    gluPerspective(p.fovY, p.aspect, p.zNear, p.zFar);
}

// The whole frame as the viewport again, after a picture drawn into a corner of it.
inline void restoreFrameViewport() {
    glViewport(0, 0, kFrameWidth, kFrameHeight);
}
