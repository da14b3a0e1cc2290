#include "gfx/primitives.h"

#include "gfx/gl.h"
#include "gfx/rounded_pi.h"

#include <algorithm>
#include <cmath>

namespace {

// One vertex as GL_T2F_N3F_V3F lays it out.
struct Vertex {
    float s, t, nx, ny, nz, x, y, z;
};
static_assert(sizeof(Vertex) == 8 * sizeof(float), "interleaved vertices must be tightly packed");

// Corner k of a face takes these texture coordinates (t = 0 along the first edge).
constexpr float kFaceTex[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};

// Faces in drawing order: normal, then four corners as signs of h, counter-clockwise outside.
struct Face {
    float n[3];
    signed char c[4][3];
};
constexpr Face kCubeFaces[6] = {
    {{0, 0, 1}, {{-1, 1, 1}, {-1, -1, 1}, {1, -1, 1}, {1, 1, 1}}},      // front
    {{1, 0, 0}, {{1, 1, 1}, {1, -1, 1}, {1, -1, -1}, {1, 1, -1}}},      // right
    {{0, 0, -1}, {{1, 1, -1}, {1, -1, -1}, {-1, -1, -1}, {-1, 1, -1}}}, // back
    {{-1, 0, 0}, {{-1, 1, -1}, {-1, -1, -1}, {-1, -1, 1}, {-1, 1, 1}}}, // left
    {{0, 1, 0}, {{-1, 1, -1}, {-1, 1, 1}, {1, 1, 1}, {1, 1, -1}}},      // top
    {{0, -1, 0}, {{-1, -1, 1}, {-1, -1, -1}, {1, -1, -1}, {1, -1, 1}}}, // bottom
};

void buildFace(const Face& f, float h, Vertex* out) {
    for (int k = 0; k < 4; ++k)
        out[k] = {kFaceTex[k][0], kFaceTex[k][1], f.n[0],        f.n[1],
                  f.n[2],         f.c[k][0] * h,  f.c[k][1] * h, f.c[k][2] * h};
}

void drawArray(GLenum mode, const Vertex* v, int count) {
    glInterleavedArrays(GL_T2F_N3F_V3F, 0, v);
    glDrawArrays(mode, 0, count);
}

// The flat quad shared by drawSquare and drawRect: half-extents a and b.
void drawFlatQuad(float a, float b) {
    const Vertex v[4] = {{0, 1, 0, 0, 1, -a, b, 0},
                         {0, 0, 0, 0, 1, -a, -b, 0},
                         {1, 0, 0, 0, 1, a, -b, 0},
                         {1, 1, 0, 0, 1, a, b, 0}};
    drawArray(GL_QUADS, v, 4);
}

// The rim angle of point i, held as a float.
float rimAngle(int i, int segments) {
    return static_cast<float>(2.0 * i * kPi / segments);
}

} // namespace

void drawCube(float size) {
    const float h = size * 0.5f;
    Vertex v[24];
    for (int f = 0; f < 6; ++f) buildFace(kCubeFaces[f], h, v + 4 * f);
    drawArray(GL_QUADS, v, 24);
}

void drawCubeWire(float size) {
    const float h = size * 0.5f;
    for (int f = 0; f < 4; ++f) {
        Vertex v[4];
        buildFace(kCubeFaces[f], h, v);
        drawArray(GL_LINE_LOOP, v, 4);
    }
}

void drawSquare(float size) {
    const float h = size * 0.5f;
    drawFlatQuad(h, h);
}

void drawSquareOutline(float size) {
    const float h = size * 0.5f;
    Vertex v[4];
    buildFace(kCubeFaces[0], h, v);
    for (Vertex& p : v) p.z = 0;
    drawArray(GL_LINE_LOOP, v, 4);
}

void drawRect(float width, float height) {
    drawFlatQuad(width * 0.5f, height * 0.5f);
}

void drawSphere(float size) {
    const double r = size * 0.5;
    float p[20][20][3];
    for (int i = 0; i < 20; ++i) {
        const double phi = i / 19.0 * kPi;
        const double rho = std::sin(phi) * r;
        const float z = static_cast<float>(std::sin(phi - kHalfPi) * r);
        for (int j = 0; j < 20; ++j) {
            const double theta = j / 19.0 * 2 * kPi;
            p[i][j][0] = static_cast<float>(std::cos(theta) * rho);
            p[i][j][1] = static_cast<float>(std::sin(theta) * rho);
            p[i][j][2] = z;
        }
    }
    glBegin(GL_QUADS);
    for (int a = 0; a < 20; ++a) {
        const int a1 = std::min(a + 1, 19);
        for (int j = 0; j < 20; ++j) {
            const int j1 = std::min(j + 1, 19);
            glVertex3f(p[a][j][0], p[a][j][1], p[a][j][2]);
            glVertex3f(p[a][j1][0], p[a][j1][1], p[a][j1][2]);
            glVertex3f(p[a1][j1][0], p[a1][j1][1], p[a1][j1][2]);
            glVertex3f(p[a1][j][0], p[a1][j][1], p[a1][j][2]);
        }
    }
    glEnd();
}

void drawDisc(float radius, int segments) {
    if (segments == 0) return; // a rim of no points has no angle step
    glBegin(GL_POLYGON);
    glTexCoord2f(0.5f, 0.5f);
    glVertex3f(0, 0, 0);
    for (int i = 0; i <= segments; ++i) {
        const float theta = rimAngle(i, segments);
        const float c = static_cast<float>(std::cos(theta));
        const float s = static_cast<float>(std::sin(theta));
        glTexCoord2f(static_cast<float>(0.5 + 0.5 * s), static_cast<float>(0.5 - 0.5 * c));
        glVertex3f(radius * s, -radius * c, 0);
    }
    glEnd();
}

void drawCircle(float radius, int segments) {
    if (segments == 0) return;
    glBegin(GL_LINE_STRIP);
    for (int i = 0; i <= segments; ++i) {
        const float theta = rimAngle(i, segments);
        glVertex3f(static_cast<float>(radius * std::sin(static_cast<double>(theta))),
                   static_cast<float>(radius * std::cos(static_cast<double>(theta))), 0);
    }
    glEnd();
}
