#include "scenes/scene3/boxes.h"

#include "gfx/gl.h"

namespace {

// GL_T2F_N3F_V3F
struct Vertex {
    float s, t, nx, ny, nz, x, y, z;
};

struct Face {
    float n[3];
    // Corners top-left, bottom-left, bottom-right, top-right seen from outside, as signs of
    // the half-extents; y is 1 for the top edge, 0 for the bottom one.
    signed char c[4][3];
};

// Sides first, then top and bottom; the cage uses only the four sides.
constexpr Face kFaces[6] = {
    {{0, 0, 1}, {{-1, 1, 1}, {-1, 0, 1}, {1, 0, 1}, {1, 1, 1}}},      // front
    {{1, 0, 0}, {{1, 1, 1}, {1, 0, 1}, {1, 0, -1}, {1, 1, -1}}},      // right
    {{0, 0, -1}, {{1, 1, -1}, {1, 0, -1}, {-1, 0, -1}, {-1, 1, -1}}}, // back
    {{-1, 0, 0}, {{-1, 1, -1}, {-1, 0, -1}, {-1, 0, 1}, {-1, 1, 1}}}, // left
    {{0, 1, 0}, {{-1, 1, -1}, {-1, 1, 1}, {1, 1, 1}, {1, 1, -1}}},    // top
    {{0, -1, 0}, {{-1, 0, 1}, {-1, 0, -1}, {1, 0, -1}, {1, 0, 1}}},   // bottom
};

// One face with half-extents w and d between the heights bottom and top; tex is the texture
// coordinate of each corner in turn.
void buildFace(const Face& f, float w, float bottom, float top, float d, const float (*tex)[2],
               Vertex* out) {
    for (int k = 0; k < 4; ++k)
        out[k] = {tex[k][0],
                  tex[k][1],
                  f.n[0],
                  f.n[1],
                  f.n[2],
                  f.c[k][0] * w,
                  f.c[k][1] ? top : bottom,
                  f.c[k][2] * d};
}

} // namespace

void drawBox(float width, float height, float depth) {
    const float w = width / 2, d = depth / 2;
    const float r = height / 60;
    const float tex[4][2] = {{0, 0}, {0, r}, {1, r}, {1, 0}};
    Vertex v[24];
    // The bottom sits one unit up, inside the cage's floor rim.
    for (int f = 0; f < 6; ++f) buildFace(kFaces[f], w, 1, height, d, tex, v + 4 * f);
    glInterleavedArrays(GL_T2F_N3F_V3F, 0, v);
    glDrawArrays(GL_QUADS, 0, 24);
}

void drawBoxWire(float width, float height, float depth) {
    const float w = width / 2 + 1, d = depth / 2 + 1;
    const float tex[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
    for (int f = 0; f < 4; ++f) {
        Vertex v[4];
        buildFace(kFaces[f], w, 0, height + 1, d, tex, v);
        glInterleavedArrays(GL_T2F_N3F_V3F, 0, v);
        glDrawArrays(GL_LINE_LOOP, 0, 4);
    }
}
