#include "show/data_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using namespace data_files;

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t le(const std::vector<uint8_t>& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | b.at(at + i);
    return v;
}

// A bitmap of the Data table as the build wrote it, addressed with row 0 at the top.
struct Picture {
    explicit Picture(const char* path)
        : bytes(readFile(KV_DATA_DIR "/" + std::string(fileName(path)))) {
        if (bytes.size() >= 54) {
            w = int(le(bytes, 18, 4));
            h = int(le(bytes, 22, 4));
        }
    }
    // Mean of the three channels, 0..255.
    double grey(int x, int y) const {
        size_t at = 54 + (size_t(h - 1 - y) * w + x) * 3;
        return (bytes.at(at) + bytes.at(at + 1) + bytes.at(at + 2)) / 3.0;
    }
    double maxOnBorder() const {
        double m = 0;
        for (int x = 0; x < w; ++x) m = std::max({m, grey(x, 0), grey(x, h - 1)});
        for (int y = 0; y < h; ++y) m = std::max({m, grey(0, y), grey(w - 1, y)});
        return m;
    }
    std::vector<uint8_t> bytes;
    int w = 0, h = 0;
};

bool powerOfTwo(uint32_t n) {
    return n && !(n & (n - 1));
}

TEST(BitmapFiles, EachHasThePlainHeaderTheShowReads) {
    for (const char* path : kBitmaps) {
        SCOPED_TRACE(path);
        Picture p(path);
        ASSERT_GE(p.bytes.size(), 54u) << "missing or truncated";
        EXPECT_EQ(p.bytes[0], 'B');
        EXPECT_EQ(p.bytes[1], 'M');
        EXPECT_EQ(le(p.bytes, 2, 4), p.bytes.size());
        EXPECT_EQ(le(p.bytes, 10, 4), 54u);
        EXPECT_EQ(le(p.bytes, 14, 4), 40u);
        EXPECT_EQ(le(p.bytes, 28, 2), 24u);
        EXPECT_EQ(le(p.bytes, 30, 4), 0u) << "compressed";
        EXPECT_TRUE(powerOfTwo(p.w) && powerOfTwo(p.h)) << p.w << " x " << p.h;
        EXPECT_EQ(p.bytes.size(), 54u + size_t(p.w) * p.h * 3);
    }
}

// A texture of another shape than its rectangle would stretch the lettering.
TEST(BitmapFiles, LetteringHasTheShapeOfItsRectangle) {
    const struct {
        const char* name;
        int rectW, rectH;
    } rects[] = {{title2, 400, 100},
                 {letter01, 512, 128},
                 {letter02, 640, 80},
                 {letter03, 1280, 80},
                 {greeting, 500, 500}};
    for (const auto& r : rects) {
        Picture p(r.name);
        EXPECT_EQ(p.w * r.rectH, p.h * r.rectW) << r.name << " is " << p.w << " x " << p.h;
    }
}

// The lettering is printed dark or added into the frame, and GL_REPEAT blends opposite edges:
// the ground must be black to the very border, the letters bright.
TEST(BitmapFiles, LetteringIsBrightOnBlack) {
    for (const char* path : {title2, letter01, letter02, letter03, greeting}) {
        SCOPED_TRACE(path);
        Picture p(path);
        ASSERT_GT(p.w, 0);
        EXPECT_LE(p.maxOnBorder(), 1);
        int bright = 0;
        for (int y = 0; y < p.h; ++y)
            for (int x = 0; x < p.w; ++x) bright += p.grey(x, y) > 200;
        double share = double(bright) / (p.w * p.h);
        EXPECT_GT(share, 0.02);
        EXPECT_LT(share, 0.5);
    }
}

// Mean difference between column a and column b (rows a and b when columns is false).
double lineDifference(const Picture& p, int a, int b, bool columns) {
    double sum = 0;
    int n = columns ? p.h : p.w;
    for (int i = 0; i < n; ++i)
        sum += columns ? std::fabs(p.grey(a, i) - p.grey(b, i))
                       : std::fabs(p.grey(i, a) - p.grey(i, b));
    return sum / n;
}

// Across the wrap the picture must continue as it does between neighbouring columns inside it.
TEST(BitmapFiles, PanelsTileWithoutASeam) {
    for (const char* path : {aba2, sc03objecs03}) {
        SCOPED_TRACE(path);
        Picture p(path);
        ASSERT_GT(p.w, 0);
        for (bool columns : {true, false}) {
            int n = columns ? p.w : p.h;
            double inside = 0;
            for (int i = 0; i + 1 < n; ++i) inside += lineDifference(p, i, i + 1, columns);
            inside /= n - 1;
            EXPECT_LE(lineDifference(p, n - 1, 0, columns), inside)
                << (columns ? "left and right" : "top and bottom") << " edges do not meet";
        }
    }
}

TEST(BitmapFiles, MasksFadeToTheirEdges) {
    Picture eye(eyeeye2);
    ASSERT_GT(eye.w, 0);
    EXPECT_GE(eye.grey(eye.w / 2, eye.h / 2), 250) << "the eye mask darkens the middle";
    double previous = 255;
    for (int i = eye.w / 2; i < eye.w; ++i) { // along the diagonal to the corner
        double v = eye.grey(i, i * eye.h / eye.w);
        EXPECT_LE(v, previous + 1) << "brightens again at " << i;
        previous = v;
    }
    EXPECT_LE(eye.grey(0, 0), 5);

    Picture smoke(smoke4);
    ASSERT_GT(smoke.w, 0);
    EXPECT_LE(smoke.maxOnBorder(), 2) << "sprite edges would show";
    EXPECT_GE(smoke.grey(smoke.w / 2, smoke.h / 2), 40);

    Picture cross(sc02cross);
    ASSERT_GT(cross.w, 0);
    EXPECT_LT(cross.grey(cross.w / 2, cross.h / 2), 60) << "the stamp's middle prints dark";
    EXPECT_EQ(cross.grey(0, 0), 255) << "white paper leaves the frame alone";
}

// Every build must give the same bytes: drawing again into another directory changes nothing.
TEST(BitmapFiles, DrawingAgainGivesTheSameBytes) {
    std::string dir = testing::TempDir() + "kv_bitmaps_again";
    ASSERT_EQ(std::system(("mkdir -p '" + dir + "' && '" KV_MAKEBITMAPS "' '" + dir + "'").c_str()),
              0);
    for (const char* path : kBitmaps) {
        std::vector<uint8_t> again = readFile(dir + "/" + std::string(fileName(path)));
        EXPECT_FALSE(again.empty()) << path;
        EXPECT_TRUE(again == Picture(path).bytes) << path << " differs";
    }
}

} // namespace
