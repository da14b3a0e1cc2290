// One-pixel lines with exactly the pixels Mesa's llvmpipe gives them (the diamond-exit rule
// on a quad in 1/256-pixel fixed point), as runs of whole pixels. Drawn as rectangles whose
// edges lie on pixel boundaries, they cover the same pixels on any GPU; WebGL's own lines,
// and even thin quads under a coarser sub-pixel grid, choose some pixels differently, and
// the show's wireframes are fine enough for that to show.
#pragma once

#include <cstddef>

namespace webgl {

// Window coordinates with y growing downwards from the framebuffer's top edge, pixel centres
// at half-integers: llvmpipe's view of a window-system framebuffer.
struct LinePoint {
    float x, y;
};

// Pixels x0 <= x < x1, y0 <= y < y1 (y counted from the top).
struct PixelRun {
    int x0, x1, y0, y1;
};

// Cuts a line given in clip coordinates (x, y, z, w) to the view volume as Mesa's draw
// module does: t0 is how far end a moves towards b, t1 how far b moves towards a. False if
// nothing of the line is left.
bool clipLine(const float a[4], const float b[4], float& t0, float& t1);

// The line's pixels from a to b as runs along its main axis, at most `capacity` of them;
// returns how many. A line longer than the capacity allows is cut short.
size_t linePixelRuns(LinePoint a, LinePoint b, PixelRun* runs, size_t capacity);

} // namespace webgl
