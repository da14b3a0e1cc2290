#include "platform/webgl/line_quads.h"

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

// The pixel boundary (a multiple of kFixedOne plus a half) that keeps the same centres
// (multiples of kFixedOne) on the inside of an edge at `at`, whose inside is towards +side.
double boundary(int at, int side, bool ties) {
    auto floorDiv = [](int a) { return static_cast<int>(std::floor(double(a) / kFixedOne)); };
    if (side > 0) {
        int first = floorDiv(at) * kFixedOne; // first centre inside
        if (first < at || (first == at && !ties)) first += kFixedOne;
        return first - kFixedOne / 2.0;
    }
    int last = floorDiv(at) * kFixedOne; // last centre inside, going up
    if (last == at && !ties) last -= kFixedOne;
    return last + kFixedOne / 2.0;
}

} // namespace

bool clipLine(const float a[4], const float b[4], float& t0, float& t1) {
    // Distances to the six planes: right, left, top, bottom, near, far.
    static const float kPlanes[6][4] = {{-1, 0, 0, 1}, {1, 0, 0, 1},  {0, -1, 0, 1},
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

bool lineQuad(LinePoint a, LinePoint b, LineQuad& out) {
    const float dx = a.x - b.x, dy = a.y - b.y;
    if (dx * dx + dy * dy == 0) return false;
    Setup s;
    if (std::fabs(dx) >= std::fabs(dy))
        xMajor(&a, &b, s);
    else
        yMajor(&a, &b, s);

    // Each edge as a point and a direction, in fixed point; axis-aligned ones moved.
    double px[4], py[4], ex[4], ey[4];
    const double cx = (s.x[0] + s.x[1] + s.x[2] + s.x[3]) / 4.0;
    const double cy = (s.y[0] + s.y[1] + s.y[2] + s.y[3]) / 4.0;
    for (int i = 0; i < 4; ++i) {
        const int j = (i + 1) % 4;
        px[i] = s.x[i];
        py[i] = s.y[i];
        ex[i] = s.x[j] - s.x[i];
        ey[i] = s.y[j] - s.y[i];
        if (ex[i] == 0 && ey[i] != 0) {
            px[i] = boundary(s.x[i], cx > s.x[i] ? 1 : -1, takesTies(s, i));
        } else if (ey[i] == 0 && ex[i] != 0) {
            py[i] = boundary(s.y[i], cy > s.y[i] ? 1 : -1, takesTies(s, i));
        } else {
            // A sloped edge: centres are a whole number of units of its edge function away
            // from it, so half a unit towards or away from the inside settles every tie.
            const double inside = ex[i] * (cy - py[i]) - ey[i] * (cx - px[i]);
            const double k = (inside > 0 ? 0.5 : -0.5) * (takesTies(s, i) ? -1 : 1) /
                             (ex[i] * ex[i] + ey[i] * ey[i]);
            px[i] += k * -ey[i];
            py[i] += k * ex[i];
        }
    }
    // Corner i is where edge i - 1 meets edge i. The quad is at least half a pixel across
    // and its side pairs are parallel, so neighbouring edges always cross.
    const double ax = s.second->x - s.first->x, ay = s.second->y - s.first->y;
    for (int i = 0; i < 4; ++i) {
        const int h = (i + 3) % 4;
        const double det = ex[h] * ey[i] - ey[h] * ex[i];
        double x = s.x[i], y = s.y[i];
        if (det != 0) {
            const double u = ((px[i] - px[h]) * ey[i] - (py[i] - py[h]) * ex[i]) / det;
            x = px[h] + u * ex[h];
            y = py[h] + u * ey[h];
        }
        out.x[i] = x / kFixedOne + kPixelOffset;
        out.y[i] = y / kFixedOne + kPixelOffset;
        // Attributes run along the line's main axis only, as llvmpipe interpolates them.
        const bool xAxis = std::fabs(ax) >= std::fabs(ay);
        const double t = xAxis ? (out.x[i] - s.first->x) / ax : (out.y[i] - s.first->y) / ay;
        const bool swapped = s.first != &a;
        out.along[i] = swapped ? 1.0 - t : t;
    }
    return true;
}

} // namespace webgl
