// The two pictures without edges: smoke and the closing mask.
#include "noise.h"
#include "bitmap_makers.h"
#include "shapes.h"

// Wispy cloud fading to black well inside the square: the sprites are stacked, scaled and
// multiplied or added, so any light at the border would show the rectangle.
Image makeSmoke(int w, int h) {
    Image img(w, h);
    img.shade([](double u, double v, double) {
        double warpX = fbm(u * 3, v * 3, 51, 5), warpY = fbm(u * 3 + 5.2, v * 3 + 1.3, 52, 5);
        double n = fbm(u * 4 + 2 * warpX, v * 4 + 2 * warpY, 53, 6);
        double rho = std::hypot(u - 0.5, v - 0.5) * 2;
        double falloff = smoothstep(0.95, 0.15, rho);
        double cloud = smoothstep(0.32, 0.78, n);
        return grey(falloff * (0.12 * falloff + 0.75 * cloud));
    });
    return img;
}

// An almond-shaped opening (two overlapping circles, their meeting points rounded off) sized for
// the 800 x 600 screen it is stretched over: the middle is untouched and the corners go black.
Image makeEyeMask(int w, int h) {
    Image img(w, h);
    const double halfWidth = 400, halfHeight = 270;
    const double sum = halfWidth * halfWidth / halfHeight; // = R + d for the two circles
    const double radius = (sum + halfHeight) / 2, offset = (sum - halfHeight) / 2;
    const double rounding = 70; // screen units over which the two circles blend
    img.shade([=](double u, double v, double) {
        double x = (u - 0.5) * 800, y = (v - 0.5) * 600;
        double a = std::hypot(x, y - offset), b = std::hypot(x, y + offset);
        double k = std::max(rounding - std::fabs(a - b), 0.0) / rounding;
        double d = std::max(a, b) + k * k * rounding / 4 - radius;
        return grey(1 - smoothstep(-160, 70, d));
    });
    return img;
}
