#include "show/graphics.h"
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

TEST(BmpReader, PaddedRowsThirtyTwoBitsAndTopDownFilesReadRight) {
    BmpImage image;
    // 3 x 2, 24-bit: 9 bytes a row plus 3 of padding.
    BmpFixture padded;
    padded.width = 3, padded.height = 2;
    padded.pixels = {1,  2,  3,  4,  5,  6,  7,  8,  9,  0, 0, 0,
                     11, 12, 13, 14, 15, 16, 17, 18, 19, 0, 0, 0};
    ASSERT_EQ(readBmp(fixture("padded.bmp", padded).c_str(), 64, image), BmpStatus::Ok);
    EXPECT_EQ(image.rgb[12], 13) << "second row starts after the padding";
    EXPECT_EQ(image.rgb.size(), 24u) << "rows kept at GL's 4-byte unpack alignment";

    BmpFixture wide;
    wide.bits = 32;
    wide.pixels = {10, 20, 30, 255, 40, 50, 60, 255};
    ASSERT_EQ(readBmp(fixture("rgba.bmp", wide).c_str(), 64, image), BmpStatus::Ok);
    EXPECT_EQ(std::vector<unsigned char>(image.rgb.begin(), image.rgb.begin() + 6),
              (std::vector<unsigned char>{30, 20, 10, 60, 50, 40}));

    BmpFixture topDown;
    topDown.width = 1, topDown.height = -2;
    topDown.pixels = {1, 1, 1, 0, 9, 9, 9, 0}; // top row first
    ASSERT_EQ(readBmp(fixture("topdown.bmp", topDown).c_str(), 64, image), BmpStatus::Ok);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.rgb[0], 9) << "the bottom row comes first, as in a bottom-up file";

    BmpFixture offset = BmpFixture{};
    offset.pixels = {10, 20, 30, 40, 50, 60};
    offset.dataOffset = 1078;
    ASSERT_EQ(readBmp(fixture("offset.bmp", offset).c_str(), 64, image), BmpStatus::Ok);
    EXPECT_EQ(image.rgb[0], 30) << "pixels are read from byte 54 whatever the header says";
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
        {"palette", with(4, 4, 8, 16)},
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
