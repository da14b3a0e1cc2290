#include "tools/psnr/psnr.h"

#include <cmath>
#include <cstring>
#include <limits>

double psnr(const RgbFrame& a, const RgbFrame& b, int dx, int dy) {
    double sum = 0;
    long count = 0;
    for (int y = 0; y < a.height; ++y) {
        const int by = y + dy;
        if (by < 0 || by >= b.height) continue;
        for (int x = 0; x < a.width; ++x) {
            const int bx = x + dx;
            if (bx < 0 || bx >= b.width) continue;
            const unsigned char* p = &a.rgb[(size_t(y) * a.width + x) * 3];
            const unsigned char* q = &b.rgb[(size_t(by) * b.width + bx) * 3];
            for (int c = 0; c < 3; ++c) {
                const double d = double(p[c]) - double(q[c]);
                sum += d * d;
            }
            count += 3;
        }
    }
    if (count == 0) return 0;
    if (sum == 0) return std::numeric_limits<double>::infinity();
    return 10 * std::log10(255.0 * 255.0 * count / sum);
}

bool isBlank(const RgbFrame& f) {
    for (size_t i = 3; i + 2 < f.rgb.size(); i += 3)
        if (std::memcmp(&f.rgb[i], &f.rgb[0], 3) != 0) return false;
    return true;
}

void bestShift(const RgbFrame& a, const RgbFrame& b, int reach, int& dx, int& dy) {
    dx = dy = 0;
    double best = psnr(a, b);
    for (int y = -reach; y <= reach; ++y)
        for (int x = -reach; x <= reach; ++x) {
            if (x == 0 && y == 0) continue;
            const double score = psnr(a, b, x, y);
            if (score > best) {
                best = score;
                dx = x;
                dy = y;
            }
        }
}
