#include "platform/webgl/line_pixels.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
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

// Whether the pixel whose centre is at (px, py) in fixed point is inside the quad: strictly
// inside every edge, or on an edge that takes ties.
bool covers(const Setup& s, int64_t px, int64_t py) {
    const int64_t cx = int64_t(s.x[0]) + s.x[1] + s.x[2] + s.x[3];
    const int64_t cy = int64_t(s.y[0]) + s.y[1] + s.y[2] + s.y[3];
    for (int i = 0; i < 4; ++i) {
        const int j = (i + 1) % 4;
        const int64_t ex = s.x[j] - s.x[i], ey = s.y[j] - s.y[i];
        const int64_t e = ex * (py - s.y[i]) - ey * (px - s.x[i]);
        const int64_t inside = ex * (cy - 4 * s.y[i]) - ey * (cx - 4 * s.x[i]);
        if (e == 0 ? !takesTies(s, i) : (e > 0) != (inside > 0)) return false;
    }
    return true;
}

int64_t floorDiv(int64_t a, int64_t b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

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

// Along the main axis each step has at most one pixel: the one of the two or three nearest
// the line that the quad covers. Steps that land in the same row (or column) join one run.
size_t linePixelRuns(LinePoint a, LinePoint b, PixelRun* runs, size_t capacity) {
    const float dx = a.x - b.x, dy = a.y - b.y;
    if (dx * dx + dy * dy == 0 || capacity == 0) return 0;
    const bool alongX = std::fabs(dx) >= std::fabs(dy);
    Setup s;
    if (alongX)
        xMajor(&a, &b, s);
    else
        yMajor(&a, &b, s);

    const int* major = alongX ? s.x : s.y;
    const int* minor = alongX ? s.y : s.x;
    const int lo = *std::min_element(major, major + 4), hi = *std::max_element(major, major + 4);
    // The line's own ends in fixed point, for where it crosses each step.
    const double m0 = alongX ? s.x[0] : s.y[0], m1 = alongX ? s.x[1] : s.y[1];
    const double n0 = (minor[0] + minor[3]) / 2.0, n1 = (minor[1] + minor[2]) / 2.0;
    size_t count = 0;
    for (int64_t step = floorDiv(lo, kFixedOne); step * kFixedOne <= hi; ++step) {
        const int64_t p = step * kFixedOne;
        const double across = m1 == m0 ? n0 : n0 + (p - m0) * (n1 - n0) / (m1 - m0);
        const int64_t near = floorDiv(int64_t(std::floor(across)), kFixedOne);
        bool found = false;
        int64_t hit = 0;
        for (int64_t k = near - 1; k <= near + 1 && !found; ++k) {
            found = alongX ? covers(s, p, k * kFixedOne) : covers(s, k * kFixedOne, p);
            hit = k;
        }
        if (!found) continue;
        // Pixel (step, hit) along x, or (hit, step) along y; centres are at whole fixed units,
        // so pixel i spans [i, i + 1) in window coordinates.
        const int col = int(alongX ? step : hit), row = int(alongX ? hit : step);
        PixelRun* last = count ? &runs[count - 1] : nullptr;
        if (last && alongX && last->y0 == row && last->x1 == col) {
            last->x1 = col + 1;
        } else if (last && !alongX && last->x0 == col && last->y1 == row) {
            last->y1 = row + 1;
        } else {
            if (count == capacity) break;
            runs[count++] = {col, col + 1, row, row + 1};
        }
    }
    return count;
}

} // namespace webgl
