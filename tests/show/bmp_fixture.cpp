#include "tests/show/bmp_fixture.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {
void put16(std::vector<unsigned char>& b, size_t at, uint16_t v) {
    b[at] = v & 0xff;
    b[at + 1] = v >> 8;
}
void put32(std::vector<unsigned char>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = (v >> (8 * i)) & 0xff;
}
} // namespace

std::string tempDir() {
    static std::string dir;
    if (dir.empty()) {
        char name[] = "/tmp/kv_bmp_XXXXXX";
        dir = mkdtemp(name);
    }
    return dir;
}

void writeBmp(const std::string& path, const BmpFixture& f) {
    const size_t headers = 14 + std::max<size_t>(f.infoSize, 40 + 4 * f.masks.size());
    std::vector<unsigned char> b(std::max<size_t>(headers, f.dataOffset), 0);
    b[0] = 'B', b[1] = 'M';
    put32(b, 2, uint32_t(b.size() + f.pixels.size()));
    put32(b, 10, f.claimOffset ? f.claimOffset : uint32_t(b.size()));
    put32(b, 14, f.infoSize);
    put32(b, 18, uint32_t(f.width));
    put32(b, 22, uint32_t(f.height));
    put16(b, 26, 1);
    put16(b, 28, f.bits);
    put32(b, 30, f.compression);
    for (size_t i = 0; i < f.masks.size(); ++i) put32(b, 54 + 4 * i, f.masks[i]);
    b.insert(b.end(), f.pixels.begin(), f.pixels.end());
    if (f.truncateTo) b.resize(f.truncateTo);
    FILE* out = std::fopen(path.c_str(), "wb");
    std::fwrite(b.data(), 1, b.size(), out);
    std::fclose(out);
}
