#include "noise.h"

#include <cmath>

namespace {

uint32_t hash(int32_t x, int32_t y, uint32_t seed) {
    uint32_t h = seed ^ (uint32_t(x) * 0x8da6b343u) ^ (uint32_t(y) * 0xd8163841u);
    h ^= h >> 15;
    h *= 0x2c1b3c6du;
    h ^= h >> 12;
    h *= 0x297a2d39u;
    h ^= h >> 15;
    return h;
}

int32_t wrap(int32_t i, int period) {
    return period > 0 ? ((i % period) + period) % period : i;
}

double lattice(int32_t x, int32_t y, uint32_t seed, int periodX, int periodY) {
    return (hash(wrap(x, periodX), wrap(y, periodY), seed) & 0xffffff) / double(0xffffff);
}

double fade(double k) {
    return k * k * k * (k * (k * 6 - 15) + 10);
}

} // namespace

double valueNoise(double x, double y, uint32_t seed, int periodX, int periodY) {
    double fx = std::floor(x), fy = std::floor(y);
    int32_t ix = int32_t(fx), iy = int32_t(fy);
    double kx = fade(x - fx), ky = fade(y - fy);
    auto at = [&](int32_t dx, int32_t dy) {
        return lattice(ix + dx, iy + dy, seed, periodX, periodY);
    };
    double top = at(0, 0) * (1 - kx) + at(1, 0) * kx;
    double bottom = at(0, 1) * (1 - kx) + at(1, 1) * kx;
    return top * (1 - ky) + bottom * ky;
}

double fbm(double x, double y, uint32_t seed, int octaves, int periodX, int periodY) {
    double sum = 0, amplitude = 1, total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += valueNoise(x, y, seed + 1013u * uint32_t(i), periodX, periodY) * amplitude;
        total += amplitude;
        x *= 2;
        y *= 2;
        periodX *= 2;
        periodY *= 2;
        amplitude *= 0.5;
    }
    return sum / total;
}
