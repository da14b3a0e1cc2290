#include "platform/webgl/line_pixels.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <utility>

namespace webgl {

namespace {

constexpr int kFixedOne = 256;
constexpr float kPixelOffset = 0.5f; // pixel centres at half-integers
constexpr int kHalfWidth = kFixedOne / 2;

int snap(float v) {
    return static_cast<int>(std::lround(kFixedOne * v));
}

bool nonNegative(float v) {
    return v >= 0;
}

float fraction(float v) {
    return v - std::floor(v);
}

// Which end pixels the diamond-exit rule draws, and where llvmpipe puts the quad for it.
struct Setup {
    int x[4], y[4];
    const LinePoint* first;
    const LinePoint* second;
};

void xMajor(const LinePoint* v1, const LinePoint* v2, Setup& s) {
    float dx = v1->x - v2->x;
    const float dy = v1->y - v2->y;
    const float dydx = dy / dx;
    const float x1diff = v1->x - std::floor(v1->x) - 0.5f;
    const float y1diff = v1->y - std::floor(v1->y) - 0.5f;
    const float x2diff = v2->x - std::floor(v2->x) - 0.5f;
    float y2diff = v2->y - std::floor(v2->y) - 0.5f;
    if (y2diff == -0.5f && dy < 0.0f) y2diff = 0.5f;

    bool drawStart, drawEnd;
    if (std::fabs(x1diff) + std::fabs(y1diff) < 0.5f)
        drawStart = true;
    else if (nonNegative(x1diff) == nonNegative(-dx))
        drawStart = false;
    else if (nonNegative(-y1diff) != nonNegative(dy))
        drawStart = true;
    else {
        const float hit = fraction(v1->y) + x1diff * dydx;
        drawStart = hit < 1.0f && hit > 0.0f;
    }
    if (std::fabs(x2diff) + std::fabs(y2diff) < 0.5f)
        drawEnd = false;
    else if (nonNegative(x2diff) != nonNegative(-dx))
        drawEnd = false;
    else if (nonNegative(-y2diff) == nonNegative(dy))
        drawEnd = true;
    else {
        const float hit = fraction(v2->y) + x2diff * dydx;
        drawEnd = hit < 1.0f && hit > 0.0f;
    }

    float xOffset = 0, yOffset = 0, xOffsetEnd = 0, yOffsetEnd = 0;
    if (dx < 0.0f) {
        std::swap(v1, v2);
        dx = -dx;
        if ((x1diff <= 0.f) != drawStart) {
            xOffsetEnd = -x1diff - 0.5f;
            yOffsetEnd = xOffsetEnd * dydx;
        }
        if ((x2diff > 0.f) != drawEnd) {
            xOffset = -x2diff - 0.5f;
            yOffset = xOffset * dydx;
        }
    } else {
        if ((x1diff > 0.f) != drawStart) {
            xOffset = -x1diff + 0.5f;
            yOffset = xOffset * dydx;
        }
        if ((x2diff <= 0.f) != drawEnd) {
            xOffsetEnd = -x2diff + 0.5f;
            yOffsetEnd = xOffsetEnd * dydx;
        }
    }
    s.first = v1;
    s.second = v2;
    s.x[0] = snap(v1->x + xOffset - kPixelOffset);
    s.x[1] = snap(v2->x + xOffsetEnd - kPixelOffset);
    s.x[2] = s.x[1];
    s.x[3] = s.x[0];
    s.y[0] = snap(v1->y + yOffset - kPixelOffset) - kHalfWidth;
    s.y[1] = snap(v2->y + yOffsetEnd - kPixelOffset) - kHalfWidth;
    s.y[2] = s.y[1] + 2 * kHalfWidth;
    s.y[3] = s.y[0] + 2 * kHalfWidth;
}

// The framebuffer is addressed top-down, for which llvmpipe fills with the bottom-edge rule.
void yMajor(const LinePoint* v1, const LinePoint* v2, Setup& s) {
    const float dx = v1->x - v2->x;
    float dy = v1->y - v2->y;
    const float dxdy = dx / dy;
    const float x1diff = v1->x - std::floor(v1->x) - 0.5f;
    const float y1diff = v1->y - std::floor(v1->y) - 0.5f;
    float x2diff = v2->x - std::floor(v2->x) - 0.5f;
    const float y2diff = v2->y - std::floor(v2->y) - 0.5f;
    if (x2diff == -0.5f && dx < 0.0f) x2diff = 0.5f;

    bool drawStart, drawEnd;
    if (std::fabs(x1diff) + std::fabs(y1diff) < 0.5f)
        drawStart = true;
    else if (nonNegative(-y1diff) == nonNegative(dy))
        drawStart = false;
    else if (nonNegative(x1diff) != nonNegative(-dx))
        drawStart = true;
    else {
        const float hit = fraction(v1->x) + y1diff * dxdy;
        drawStart = hit < 1.0f && hit > 0.0f;
    }
    if (std::fabs(x2diff) + std::fabs(y2diff) < 0.5f)
        drawEnd = false;
    else if (nonNegative(-y2diff) != nonNegative(dy))
        drawEnd = false;
    else if (nonNegative(x2diff) == nonNegative(-dx))
        drawEnd = true;
    else {
        const float hit = fraction(v2->x) + y2diff * dxdy;
        drawEnd = hit < 1.0f && hit >= 0.0f;
    }

    float xOffset = 0, yOffset = 0, xOffsetEnd = 0, yOffsetEnd = 0;
    if (dy > 0.0f) {
        std::swap(v1, v2);
        dy = -dy;
        if ((y1diff >= 0.f) != drawStart) {
            yOffsetEnd = -y1diff + 0.5f;
            xOffsetEnd = yOffsetEnd * dxdy;
        }
        if ((y2diff < 0.f) != drawEnd) {
            yOffset = -y2diff + 0.5f;
            xOffset = yOffset * dxdy;
        }
    } else {
        if ((y1diff < 0.f) != drawStart) {
            yOffset = -y1diff - 0.5f;
            xOffset = yOffset * dxdy;
        }
        if ((y2diff >= 0.f) != drawEnd) {
            yOffsetEnd = -y2diff - 0.5f;
            xOffsetEnd = yOffsetEnd * dxdy;
        }
    }
    s.first = v1;
    s.second = v2;
    s.x[0] = snap(v1->x + xOffset - kPixelOffset) - kHalfWidth;
    s.x[1] = snap(v2->x + xOffsetEnd - kPixelOffset) - kHalfWidth;
    s.x[2] = s.x[1] + 2 * kHalfWidth;
    s.x[3] = s.x[0] + 2 * kHalfWidth;
    s.y[0] = snap(v1->y + yOffset - kPixelOffset);
    s.y[1] = snap(v2->y + yOffsetEnd - kPixelOffset);
    s.y[2] = s.y[1];
    s.y[3] = s.y[0];
}

// A pixel centre exactly on an edge counts as inside for left edges and, under the
// bottom-edge rule, for bottom edges: those are the edges whose plane llvmpipe bumps by one.
bool takesTies(const Setup& s, int i) {
    const int j = (i + 1) % 4;
    const int dcdx = s.y[i] - s.y[j];
    const int dcdy = s.x[i] - s.x[j];
    return dcdx < 0 || (dcdx == 0 && dcdy < 0);
}

// Which side of edge i the quad's centre lies on.
bool insideIsPositive(const Setup& s, int i) {
    const int j = (i + 1) % 4;
    const int64_t cx = int64_t(s.x[0]) + s.x[1] + s.x[2] + s.x[3];
    const int64_t cy = int64_t(s.y[0]) + s.y[1] + s.y[2] + s.y[3];
    const int64_t ex = s.x[j] - s.x[i], ey = s.y[j] - s.y[i];
    return ex * (cy - 4 * s.y[i]) - ey * (cx - 4 * s.x[i]) > 0;
}

// A value past 32 bits as high * 1024 + low, 0 <= low < 1024, as the shader has to hold it.
struct Wide {
    int32_t high, low;
};

Wide normalized(int32_t high, int32_t low) {
    return {high + (low >> 10), low & 1023};
}

// ex * dy - ey * dx, with dx and dy split at bit 10; every factor is under 2^19.
Wide cross(int32_t ex, int32_t ey, int32_t dx, int32_t dy) {
    return normalized(ex * (dy >> 10) - ey * (dx >> 10), ex * (dy & 1023) - ey * (dx & 1023));
}

// k - w.
Wide minus(int32_t k, Wide w) {
    return normalized((k >> 10) - w.high, (k & 1023) - w.low);
}

int signOf(Wide w) {
    if (w.high != 0) return w.high > 0 ? 1 : -1;
    return w.low != 0 ? 1 : 0;
}

int signOf(int32_t v) {
    return (v > 0) - (v < 0);
}

// Beyond this the products in crossSign would overflow.
constexpr int32_t kFixedLimit = 1 << 18;

} // namespace

bool clipLine(const float a[4], const float b[4], float& t0, float& t1) {
    // Distances to the six planes: right, left, top, bottom, near, far.
    static const float kPlanes[6][4] = {{-1, 0, 0, 1}, {1, 0, 0, 1}, {0, -1, 0, 1},
                                        {0, 1, 0, 1},  {0, 0, 1, 1}, {0, 0, -1, 1}};
    t0 = t1 = 0;
    for (const float* p : kPlanes) {
        const float d0 = a[0] * p[0] + a[1] * p[1] + a[2] * p[2] + a[3] * p[3];
        const float d1 = b[0] * p[0] + b[1] * p[1] + b[2] * p[2] + b[3] * p[3];
        if (!std::isfinite(d0) || !std::isfinite(d1)) return false;
        if (d1 < 0.0f) t1 = std::max(t1, d1 / (d1 - d0));
        if (d0 < 0.0f) t0 = std::max(t0, d0 / (d0 - d1));
        if (t0 + t1 >= 1.0f) return false;
    }
    return true;
}

int32_t LineQuad::x(int i) const {
    const bool alongX = edges >> kAlongX & 1;
    const int32_t across = alongX ? 0 : 2 * kHalfWidth;
    return i == 0 ? x0 : i == 1 ? x1 : i == 2 ? x1 + across : x0 + across;
}

int32_t LineQuad::y(int i) const {
    const bool alongX = edges >> kAlongX & 1;
    const int32_t across = alongX ? 2 * kHalfWidth : 0;
    return i == 0 ? y0 : i == 1 ? y1 : i == 2 ? y1 + across : y0 + across;
}

bool lineQuad(LinePoint a, LinePoint b, LineQuad& quad) {
    const float dx = a.x - b.x, dy = a.y - b.y;
    if (dx * dx + dy * dy == 0) return false;
    for (float v : {a.x, a.y, b.x, b.y})
        if (!(std::fabs(v) * kFixedOne < kFixedLimit - 4 * kFixedOne)) return false;
    const bool alongX = std::fabs(dx) >= std::fabs(dy);
    Setup s;
    if (alongX)
        xMajor(&a, &b, s);
    else
        yMajor(&a, &b, s);
    quad = {s.x[0], s.x[1], s.y[0], s.y[1], alongX ? 1 << LineQuad::kAlongX : 0};
    for (int i = 0; i < 4; ++i)
        quad.edges |= int(insideIsPositive(s, i)) << i | int(takesTies(s, i)) << (4 + i);
    return true;
}

// Strictly inside every edge, or on an edge that takes ties. Only the first edge needs a wide
// product: the third is the first moved a pixel across the main axis, and the other two are
// across it.
bool lineCovers(const LineQuad& q, int col, int row) {
    const int32_t px = col * kFixedOne, py = row * kFixedOne;
    const bool alongX = q.edges >> LineQuad::kAlongX & 1;
    const int32_t ex = q.x1 - q.x0, ey = q.y1 - q.y0;
    const Wide first = cross(ex, ey, px - q.x0, py - q.y0);
    const int32_t shift = alongX ? 2 * kHalfWidth * ex : -2 * kHalfWidth * ey;
    const int signs[4] = {signOf(first), signOf(alongX ? q.x1 - px : py - q.y1),
                          signOf(minus(shift, first)), signOf(alongX ? px - q.x0 : q.y0 - py)};
    for (int i = 0; i < 4; ++i) {
        const bool insidePositive = q.edges >> i & 1, ties = q.edges >> (4 + i) & 1;
        if (signs[i] == 0 ? !ties : (signs[i] > 0) != insidePositive) return false;
    }
    return true;
}

} // namespace webgl
