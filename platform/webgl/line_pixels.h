// One-pixel lines with exactly the pixels Mesa's llvmpipe gives them: the diamond-exit rule on
// a quad in 1/256-pixel fixed point. The quad is worked out once a line on the CPU; which
// pixels it covers is decided per fragment on the GPU (lineCovers is that test in C++, in the
// same 32-bit arithmetic as the shader). WebGL's own lines, and even thin quads under a
// coarser sub-pixel grid, choose some pixels differently, and the show's wireframes are fine
// enough for that to show.
#pragma once

#include <cstdint>

namespace webgl {

// Window coordinates with y growing downwards from the framebuffer's top edge, pixel centres
// at half-integers: llvmpipe's view of a window-system framebuffer.
struct LinePoint {
    float x, y;
};

// Cuts a line given in clip coordinates (x, y, z, w) to the view volume as Mesa's draw
// module does: t0 is how far end a moves towards b, t1 how far b moves towards a. False if
// nothing of the line is left.
bool clipLine(const float a[4], const float b[4], float& t0, float& t1);

// The quad llvmpipe rasterises for a line, in fixed point with pixel (col, row) centred at
// (256 col, 256 row). Its corners are (x0, y0), (x1, y1), then the same two moved one pixel
// across the main axis, back to front. `edges` holds, per edge i, whether the inside lies where
// the edge function is positive (bit i), whether a centre on the edge counts (bit 4 + i), and
// in bit kAlongX whether x is the main axis.
struct LineQuad {
    static constexpr int kAlongX = 8;
    int32_t x0, x1, y0, y1;
    int32_t edges;
    int32_t x(int i) const;
    int32_t y(int i) const;
};

// False if the line has no length. Window coordinates must lie within a few thousand pixels
// of the framebuffer (a clipped line's do), for the fixed point to fit the shader's integers.
bool lineQuad(LinePoint a, LinePoint b, LineQuad& quad);

// Whether the line lights pixel (col, row).
bool lineCovers(const LineQuad& quad, int col, int row);

} // namespace webgl
