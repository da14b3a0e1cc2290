#include "shell/graphics.h"
#include "tests/shell/bmp_fixture.h"
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
    const GLuint name = loadBmpTexture(path.c_str());
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

// The picture as a file stores it: where red, green and blue sit in each pixel of `bytes`.
BmpFixture picture(uint16_t bits, int red, int green, int blue, bool topDown = false) {
    BmpFixture f;
    f.width = 3, f.height = topDown ? -2 : 2, f.bits = bits;
    for (int row = 0; row < 2; ++row) {
        const auto& line = kPicture[topDown ? 1 - row : row];
        size_t start = f.pixels.size();
        for (const auto& p : line) {
            std::vector<unsigned char> px(bits / 8, 0xee);
            px[size_t(red)] = p[0], px[size_t(green)] = p[1], px[size_t(blue)] = p[2];
            f.pixels.insert(f.pixels.end(), px.begin(), px.end());
        }
        while ((f.pixels.size() - start) % 4) f.pixels.push_back(0);
    }
    return f;
}

BmpFixture edit(BmpFixture f, void (*change)(BmpFixture&)) {
    change(f);
    return f;
}

struct Variant {
    const char* name;
    BmpFixture f;
    bool read; // else refused with a reason
};

TEST(BmpReader, ReadsWhatEditorsWriteAndRefusesTheRest) {
    const Variant variants[] = {
        {"info_24", picture(24, 2, 1, 0), true},
        {"info_32_bgrx", picture(32, 2, 1, 0), true},
        {"top_down", picture(24, 2, 1, 0, true), true},
        {"v5_at_138", edit(picture(24, 2, 1, 0), [](BmpFixture& f) { f.infoSize = 124; }), true},
        {"v5_gap_to_154",
         edit(picture(24, 2, 1, 0), [](BmpFixture& f) { f.infoSize = 124, f.dataOffset = 154; }),
         true},
        {"v4_bitfields_bgra",
         edit(picture(32, 2, 1, 0),
              [](BmpFixture& f) {
                  f.infoSize = 108, f.compression = 3;
                  f.masks = {0xff0000, 0xff00, 0xff, 0xff000000};
              }),
         true},
        {"info_bitfields_rgba",
         edit(picture(32, 0, 1, 2),
              [](BmpFixture& f) {
                  f.compression = 3;
                  f.masks = {0xff, 0xff00, 0xff0000};
              }),
         true},
        {"bits_1", edit(picture(24, 2, 1, 0), [](BmpFixture& f) { f.bits = 1; }), false},
        {"bits_4", edit(picture(24, 2, 1, 0), [](BmpFixture& f) { f.bits = 4; }), false},
        {"rle8", edit(picture(24, 2, 1, 0), [](BmpFixture& f) { f.bits = 8, f.compression = 1; }),
         false},
        {"jpeg_32", edit(picture(32, 2, 1, 0), [](BmpFixture& f) { f.compression = 4; }), false},
        {"ten_bit_masks",
         edit(picture(32, 2, 1, 0),
              [](BmpFixture& f) {
                  f.compression = 3;
                  f.masks = {0x3ff00000, 0xffc00, 0x3ff};
              }),
         false},
        {"one_mask_twice",
         edit(picture(32, 2, 1, 0),
              [](BmpFixture& f) {
                  f.compression = 3;
                  f.masks = {0xff, 0xff, 0xff0000};
              }),
         false},
        {"core_header", edit(picture(24, 2, 1, 0), [](BmpFixture& f) { f.infoSize = 12; }), false},
        {"offset_in_header", edit(picture(24, 2, 1, 0), [](BmpFixture& f) { f.claimOffset = 40; }),
         false},
        {"v5_pixels_cut",
         edit(picture(24, 2, 1, 0),
              [](BmpFixture& f) { f.infoSize = 124, f.truncateTo = 138 + 20; }),
         false},
    };
    for (const Variant& v : variants) {
        BmpImage image;
        std::string reason;
        const BmpStatus status =
            readBmp(fixture(std::string(v.name) + ".bmp", v.f).c_str(), 64, image, &reason);
        if (v.read) {
            EXPECT_EQ(status, BmpStatus::Ok) << v.name << ": " << reason;
            EXPECT_EQ(image.height, 2) << v.name;
            EXPECT_EQ(image.rgb, kUpright) << v.name;
        } else {
            EXPECT_EQ(status, BmpStatus::ReadError) << v.name;
            EXPECT_TRUE(image.rgb.empty()) << v.name;
            EXPECT_FALSE(reason.empty()) << v.name;
        }
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

TEST(BmpReaderDeathTest, PrintsTheMessageAndEndsTheProcess) {
    const std::string palette = fixture("palette8.bmp", with(4, 4, 8, 16));
    EXPECT_EXIT(loadBmpTexture(palette.c_str()), ::testing::ExitedWithCode(1),
                "file read error\\.");
    const std::string absent = tempDir() + "/nothing_here.bmp";
    EXPECT_EXIT(loadBmpTexture(absent.c_str()), ::testing::ExitedWithCode(1), "file open error\\.");
}

} // namespace
