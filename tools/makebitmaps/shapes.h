// Signed distances (negative inside) of the few shapes the pictures are built from, in the
// units of their arguments.
#pragma once

#include <cmath>

inline double circleSdf(double x, double y, double cx, double cy, double radius) {
    return std::hypot(x - cx, y - cy) - radius;
}

inline double ringSdf(double rho, double inner, double outer) {
    return std::max(inner - rho, rho - outer);
}

inline double roundedBoxSdf(double x, double y, double cx, double cy, double halfW, double halfH,
                            double corner) {
    double qx = std::fabs(x - cx) - (halfW - corner), qy = std::fabs(y - cy) - (halfH - corner);
    return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) -
           corner;
}

// Distance to the segment from (ax, ay) to (bx, by) minus a half-width: a round-ended bar.
inline double barSdf(double x, double y, double ax, double ay, double bx, double by,
                     double halfWidth) {
    double dx = bx - ax, dy = by - ay;
    double k = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy);
    k = std::min(1.0, std::max(0.0, k));
    return std::hypot(x - ax - k * dx, y - ay - k * dy) - halfWidth;
}

// How much a bevel faces the light, which comes from the top left (v runs down): the slope of
// sdf seen along the light, from a central difference of step h. Positive on the lit side of
// a raised shape.
template <class Sdf> double bevelLight(Sdf sdf, double u, double v, double h) {
    double du = (sdf(u + h, v) - sdf(u - h, v)) / (2 * h);
    double dv = (sdf(u, v + h) - sdf(u, v - h)) / (2 * h);
    return -(du + dv) * 0.7071;
}
