#include "show/graphics.h"

#include "gfx/frame.h"
#include "gfx/textures.h"
#include "platform/regular_file.h"
#include "show/data_files.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// The texture table in the order the names are made; no file means a render target.
struct TextureSlot {
    GLuint* name;
    const char* file;
};
constexpr TextureSlot kTextureTable[20] = {
    {&tex::title, data_files::title2},
    {&tex::sceneOneGlow, nullptr},
    {&tex::floorCubeSkin, data_files::aba2},
    {&tex::unusedTargetA, nullptr},
    {&tex::sceneTwoGlow, nullptr},
    {&tex::crossShellSkin, data_files::sc02cross},
    {&tex::uprightBanner, data_files::letter01},
    {&tex::bannerAlongX, data_files::letter02},
    {&tex::bannerAlongZ, data_files::letter03},
    {&tex::unusedTargetB, nullptr},
    {&tex::lateScenesGlow, nullptr},
    {&tex::cubeFieldPicture, nullptr},
    {&tex::wheelFace, data_files::moll4},
    {&tex::smokePuff, data_files::smoke4},
    {&tex::structureSkin, data_files::sc03objecs03},
    {&tex::smokePicture, nullptr},
    {&tex::hubMark, data_files::r},
    {&tex::eyeMask, data_files::eyeeye2},
    {&tex::greeting, data_files::greeting},
    {&tex::wallPicture, nullptr},
};

constexpr size_t kHeaderBytes = 54; // 14-byte file header + 40-byte info header

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};

std::int32_t le32(const unsigned char* p) {
    return static_cast<std::int32_t>(p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24);
}

size_t paddedRow(size_t bytes) {
    return (bytes + 3) & ~size_t(3);
}

} // namespace

BmpStatus readBmp(const char* path, int maxSide, BmpImage& out) {
    std::unique_ptr<FILE, FileCloser> f(OpenRegularFile(path));
    if (!f) return BmpStatus::OpenError;

    unsigned char header[kHeaderBytes];
    if (std::fread(header, 1, kHeaderBytes, f.get()) != kHeaderBytes) return BmpStatus::ReadError;
    const std::int32_t width = le32(header + 18);
    const std::int32_t rawHeight = le32(header + 22);
    const unsigned bits = header[28] | header[29] << 8;
    if (bits != 24 && bits != 32) return BmpStatus::ReadError;

    // A negative height marks a top-down file; it is turned upright below.
    const bool topDown = rawHeight < 0;
    const std::int64_t height = topDown ? -std::int64_t(rawHeight) : rawHeight;
    if (width <= 0 || height <= 0 || width > maxSide || height > maxSide)
        return BmpStatus::ReadError;

    // The pixels are read from byte 54 whatever the header says; the block must be in the file.
    const size_t inBpp = bits / 8;
    const size_t inRow = paddedRow(size_t(width) * inBpp);
    const size_t outRow = paddedRow(size_t(width) * 3);
    if (std::fseek(f.get(), 0, SEEK_END) != 0) return BmpStatus::ReadError;
    const long fileSize = std::ftell(f.get());
    // The last row's padding may be missing without harm; anything short of that is.
    const size_t needed = inRow * size_t(height - 1) + size_t(width) * inBpp;
    if (fileSize < 0 || size_t(fileSize) - kHeaderBytes < needed) return BmpStatus::ReadError;
    if (std::fseek(f.get(), long(kHeaderBytes), SEEK_SET) != 0) return BmpStatus::ReadError;

    std::vector<unsigned char> raw(inRow * size_t(height), 0);
    if (std::fread(raw.data(), 1, needed, f.get()) != needed) return BmpStatus::ReadError;

    out.width = width;
    out.height = int(height);
    out.rgb.assign(outRow * size_t(height), 0);
    for (size_t y = 0; y < size_t(height); ++y) {
        const unsigned char* src = raw.data() + y * inRow;
        unsigned char* dst = out.rgb.data() + (topDown ? size_t(height) - 1 - y : y) * outRow;
        for (size_t x = 0; x < size_t(width); ++x, src += inBpp, dst += 3) {
            dst[0] = src[2]; // the file stores blue, green, red
            dst[1] = src[1];
            dst[2] = src[0];
        }
    }
    return BmpStatus::Ok;
}

const char* startErrorMessage(BmpStatus status) {
    return status == BmpStatus::OpenError ? "file open error." : "file read error.";
}

BmpStatus loadBmpTexture(const char* path, GLuint& name) {
    GLint maxSide = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
    BmpImage image;
    const BmpStatus status = readBmp(path, maxSide, image);
    if (status != BmpStatus::Ok) return status;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    // Rows are padded to 4 bytes, which is GL's default unpack alignment.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, image.width, image.height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 image.rgb.data());
    return BmpStatus::Ok;
}

GLuint createRenderTarget() {
    static const unsigned char zeros[128 * 128 * 4] = {};
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, 4, 128, 128, 0, GL_RGBA, GL_UNSIGNED_BYTE, zeros);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return name;
}

GraphicsStart initGraphics() {
    restoreFrameViewport();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    applyPerspective(kStartPerspective);
    glMatrixMode(GL_MODELVIEW);
    glClearColor(1, 1, 1, 1);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glShadeModel(GL_FLAT);
    glEnable(GL_COLOR_MATERIAL);
    for (const TextureSlot& slot : kTextureTable) {
        if (!slot.file) {
            *slot.name = createRenderTarget();
            continue;
        }
        const BmpStatus status = loadBmpTexture(slot.file, *slot.name);
        if (status != BmpStatus::Ok) return {status, slot.file};
    }
    return {BmpStatus::Ok, nullptr};
}
