// One-pixel lines as the quads Mesa's llvmpipe rasterizes them with (the diamond-exit rule,
// 1/256-pixel fixed point), so that lines drawn as two triangles on any GPU cover the same
// pixels as on the native renderer. WebGL's own lines choose their pixels differently, and
// the show's wireframes are thin enough for that to show.
#pragma once

namespace webgl {

// Window coordinates with y growing downwards from the framebuffer's top edge, pixel centres
// at half-integers: llvmpipe's view of a window-system framebuffer.
struct LinePoint {
    float x, y;
};

// The quad's corners in the same coordinates, in drawing order (one winding), and for each
// corner how far along the line from a to b it lies (0 at a, 1 at b), for interpolation.
struct LineQuad {
    double x[4], y[4];
    double along[4];
};

// Cuts a line given in clip coordinates (x, y, z, w) to the view volume as Mesa's draw
// module does: t0 is how far end a moves towards b, t1 how far b moves towards a. False if
// nothing of the line is left.
bool clipLine(const float a[4], const float b[4], float& t0, float& t1);

// False if the line covers nothing (both ends at one point). Edges that run along a pixel
// row or column are moved to the nearest pixel boundary that keeps the same pixels inside,
// so no pixel centre lies on them and any rasterizer's tie rule gives the same coverage.
bool lineQuad(LinePoint a, LinePoint b, LineQuad& out);

} // namespace webgl
