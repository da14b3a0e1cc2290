// What Mesa's pipeline does to a depth-tested triangle before rasterising it, to the bit: its
// clipper (draw module, no guard band), and llvmpipe's depth plane. Faces and the lines on
// them meet at equal depth, and which wins turns on the last bit of both.
#pragma once

#include "platform/webgl/fixed_function.h"

#include <cstddef>

namespace webgl {

// A vertex with its window coordinates (y from the top) and depth.
struct SetupVertex {
    OutVertex vertex;
    float window[3];
};

// The viewport as the native side applies it: window = clip / w * scale + translate.
struct ViewportMap {
    float scale[3], translate[3];
};

// Whether the native side clips a triangle with this vertex.
bool outsideView(const float clip[4]);

// Cuts the triangle to the view volume plane by plane, as the draw module does: the polygon
// left, in order, in `out`; its count (0 if nothing is left). New vertices get their window
// coordinates by the draw module's unfused arithmetic.
constexpr size_t kMaxClipped = 10;
size_t clipTriangle(const SetupVertex (&triangle)[3], const ViewportMap& map,
                    SetupVertex (&out)[kMaxClipped]);

// llvmpipe's plane for depth, from the three vertices in the order set up (it swaps the
// first two of a triangle clockwise on the screen).
DepthPlane depthPlane(const float a[3], const float b[3], const float c[3]);

} // namespace webgl
