// A picture being drawn: linear 0..1 channels, row 0 at the top, plus the small shading helpers
// every picture shares.
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

struct Rgb {
    double r = 0, g = 0, b = 0;
};

inline Rgb operator+(Rgb a, Rgb b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}
inline Rgb operator*(Rgb a, double k) {
    return {a.r * k, a.g * k, a.b * k};
}
inline Rgb operator*(Rgb a, Rgb b) {
    return {a.r * b.r, a.g * b.g, a.b * b.b};
}
inline Rgb grey(double v) {
    return {v, v, v};
}
inline Rgb mix(Rgb a, Rgb b, double k) {
    return a * (1 - k) + b * k;
}

inline double clamp01(double v) {
    return std::min(1.0, std::max(0.0, v));
}
inline double smoothstep(double e0, double e1, double x) {
    double k = clamp01((x - e0) / (e1 - e0));
    return k * k * (3 - 2 * k);
}
// Anti-aliased coverage of a shape from its signed distance (negative inside), both in pixels.
inline double coverage(double sdfPixels) {
    return clamp01(0.5 - sdfPixels);
}

class Image {
  public:
    Image(int width, int height) : w_(width), h_(height), px_(size_t(width) * height) {}
    int width() const { return w_; }
    int height() const { return h_; }
    Rgb& at(int x, int y) { return px_[size_t(y) * w_ + x]; }
    const Rgb& at(int x, int y) const { return px_[size_t(y) * w_ + x]; }

    // Sets every pixel from f(u, v, pixel), u and v the pixel centre in 0..1 (v down) and pixel
    // the size of one pixel in u units, for shapes that anti-alias themselves by distance.
    template <class F> void shade(F f) {
        double pixel = 1.0 / w_;
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x) at(x, y) = f((x + 0.5) / w_, (y + 0.5) / h_, pixel);
    }

  private:
    int w_, h_;
    std::vector<Rgb> px_;
};

// A grey coverage layer (text, glows) to be composed into an Image.
struct Mask {
    Mask(int width, int height) : w(width), h(height), v(size_t(width) * height, 0.0) {}
    double& at(int x, int y) { return v[size_t(y) * w + x]; }
    double at(int x, int y) const { return v[size_t(y) * w + x]; }
    int w, h;
    std::vector<double> v;
};
