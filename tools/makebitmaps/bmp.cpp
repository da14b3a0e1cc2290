#include "bmp.h"

#include <cmath>
#include <cstdio>

namespace {

void put16(std::vector<uint8_t>& out, unsigned v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

uint8_t toByte(double v) {
    return uint8_t(std::lround(clamp01(v) * 255.0));
}

} // namespace

std::vector<uint8_t> encodeBmp(const Image& image) {
    const uint32_t w = image.width(), h = image.height();
    const uint32_t pixelBytes = w * h * 3; // widths are powers of two, so rows need no padding
    std::vector<uint8_t> out;
    out.reserve(54 + pixelBytes);

    out.push_back('B');
    out.push_back('M');
    put32(out, 54 + pixelBytes);
    put32(out, 0); // reserved
    put32(out, 54);

    put32(out, 40);
    put32(out, w);
    put32(out, h);
    put16(out, 1);  // planes
    put16(out, 24); // bits per pixel
    put32(out, 0);  // no compression
    put32(out, pixelBytes);
    put32(out, 2835); // 72 dpi, for viewers that care
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);

    for (int y = int(h) - 1; y >= 0; --y)
        for (uint32_t x = 0; x < w; ++x) {
            const Rgb& p = image.at(int(x), y);
            out.push_back(toByte(p.b));
            out.push_back(toByte(p.g));
            out.push_back(toByte(p.r));
        }
    return out;
}

bool writeBmp(const std::string& path, const Image& image) {
    std::vector<uint8_t> bytes = encodeBmp(image);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}
