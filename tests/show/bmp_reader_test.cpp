#include "show/graphics.h"
#include "tests/show/bmp_fixture.h"
#include "tests/support/glrec.h"

#include <gtest/gtest.h>

namespace {

std::string fixture(const std::string& name, const BmpFixture& f) {
    const std::string path = tempDir() + "/" + name;
    writeBmp(path, f);
    return path;
}

TEST(BmpReader, SwapsBlueAndRedAndKeepsRowsBottomUp) {
    BmpFixture f;
    f.pixels = {10, 20, 30, 40, 50, 60};
    const std::string path = fixture("two.bmp", f);
    glrec::reset();
    GLuint name = 0;
    ASSERT_EQ(loadBmpTexture(path.c_str(), name), BmpStatus::Ok);
    const auto upload = glrec::named("glTexImage2D").at(0);
    EXPECT_EQ(upload.args,
              (std::vector<double>{GL_TEXTURE_2D, 0, GL_RGB, 2, 1, 0, GL_RGB, GL_UNSIGNED_BYTE}));
    ASSERT_GE(upload.bytes.size(), 6u);
    EXPECT_EQ(std::vector<unsigned char>(upload.bytes.begin(), upload.bytes.begin() + 6),
              (std::vector<unsigned char>{30, 20, 10, 60, 50, 40}));
    EXPECT_EQ(glrec::state().boundTexture, name);
    const auto params = glrec::named("glTexParameteri");
    ASSERT_EQ(params.size(), 4u);
    EXPECT_EQ(params[0].arg(1), GL_TEXTURE_MAG_FILTER);
    EXPECT_EQ(params[3].args, (std::vector<double>{GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT}));
}

// One 3 x 2 picture, rows bottom first, as red, green, blue; 9 bytes a row need padding.
constexpr unsigned char kPicture[2][3][3] = {{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}},
                                             {{11, 12, 13}, {14, 15, 16}, {17, 18, 19}}};
const std::vector<unsigned char> kUpright = {1,  2,  3,  4,  5,  6,  7,  8,  9,  0, 0, 0,
                                             11, 12, 13, 14, 15, 16, 17, 18, 19, 0, 0, 0};

constexpr int kBgr[3] = {2, 1, 0}, kRgb[3] = {0, 1, 2}; // where red, green, blue sit

struct Variant {
    const char* name;
    uint16_t bits;
    uint32_t infoSize, compression;
    std::vector<uint32_t> masks;
    const int* order;
    bool topDown, read; // else refused with a reason
    uint32_t offset = 0, claim = 0, cut = 0;
};

// The picture as a file of this variant stores it.
BmpFixture picture(const Variant& v) {
    BmpFixture f{3,  v.topDown ? -2 : 2, v.bits,  v.infoSize, v.compression, v.masks,
                 {}, v.offset,           v.claim, v.cut};
    for (int row = 0; row < 2; ++row) {
        for (const auto& p : kPicture[v.topDown ? 1 - row : row]) {
            std::vector<unsigned char> px(std::max(v.bits / 8, 3), 0xee);
            for (int c = 0; c < 3; ++c) px[size_t(v.order[c])] = p[c];
            f.pixels.insert(f.pixels.end(), px.begin(), px.end());
        }
        f.pixels.resize((f.pixels.size() + 3) & ~size_t(3));
    }
    return f;
}

TEST(BmpReader, ReadsWhatEditorsWriteAndRefusesTheRest) {
    const std::vector<uint32_t> bgra = {0xff0000, 0xff00, 0xff, 0xff000000};
    const Variant variants[] = {
        {"info_24", 24, 40, 0, {}, kBgr, false, true},
        {"info_32_bgrx", 32, 40, 0, {}, kBgr, false, true},
        {"top_down", 24, 40, 0, {}, kBgr, true, true},
        {"v5_at_138", 24, 124, 0, {}, kBgr, false, true},
        {"v5_gap_to_154", 24, 124, 0, {}, kBgr, false, true, 154},
        {"v4_bitfields_bgra", 32, 108, 3, bgra, kBgr, false, true},
        {"info_bitfields_rgba", 32, 40, 3, {0xff, 0xff00, 0xff0000}, kRgb, false, true},
        {"bits_1", 1, 40, 0, {}, kBgr, false, false},
        {"bits_4", 4, 40, 0, {}, kBgr, false, false},
        {"rle8", 8, 40, 1, {}, kBgr, false, false},
        {"jpeg_32", 32, 40, 4, {}, kBgr, false, false},
        {"ten_bit_masks", 32, 40, 3, {0x3ff00000, 0xffc00, 0x3ff}, kBgr, false, false},
        {"one_mask_twice", 32, 40, 3, {0xff, 0xff, 0xff0000}, kBgr, false, false},
        {"core_header", 24, 12, 0, {}, kBgr, false, false},
        {"offset_in_header", 24, 40, 0, {}, kBgr, false, false, 0, 40},
        {"v5_pixels_cut", 24, 124, 0, {}, kBgr, false, false, 0, 0, 138 + 20},
    };
    for (const Variant& v : variants) {
        BmpImage image;
        std::string reason;
        const BmpStatus status =
            readBmp(fixture(std::string(v.name) + ".bmp", picture(v)).c_str(), 64, image, &reason);
        EXPECT_EQ(status, v.read ? BmpStatus::Ok : BmpStatus::ReadError) << v.name << reason;
        EXPECT_EQ(image.rgb, v.read ? kUpright : std::vector<unsigned char>{}) << v.name;
        EXPECT_EQ(image.height, v.read ? 2 : 0) << v.name;
        EXPECT_EQ(reason.empty(), v.read) << v.name << ": a refusal says why";
    }
}

struct BadFile {
    const char* name;
    BmpFixture f;
};

BmpFixture with(int w, int h, uint16_t bits, size_t pixelBytes, size_t truncate = 0) {
    BmpFixture f;
    f.width = w, f.height = h, f.bits = bits;
    f.pixels.assign(pixelBytes, 7);
    f.truncateTo = truncate;
    return f;
}

TEST(BmpReader, RefusesEveryBrokenFileBeforeAllocating) {
    const BadFile bad[] = {
        {"header_cut", with(2, 1, 24, 8, 30)},
        {"pixels_cut", with(4, 4, 24, 48, 54 + 47)},
        {"zero_width", with(0, 4, 24, 48)},
        {"zero_height", with(4, 0, 24, 48)},
        {"negative_width", with(-4, 4, 24, 48)},
        {"wider_than_gl", with(65536, 1, 24, 16)},
        {"absurd_height", with(1, 0x7fffffff, 24, 16)},
        {"most_negative_height", with(1, INT32_MIN, 24, 16)},
    };
    for (const BadFile& b : bad) {
        BmpImage image;
        EXPECT_EQ(readBmp(fixture(std::string(b.name) + ".bmp", b.f).c_str(), 16384, image),
                  BmpStatus::ReadError)
            << b.name;
        EXPECT_TRUE(image.rgb.empty()) << b.name;
    }
    BmpImage image;
    EXPECT_EQ(readBmp((tempDir() + "/absent.bmp").c_str(), 16384, image), BmpStatus::OpenError);
}

} // namespace
