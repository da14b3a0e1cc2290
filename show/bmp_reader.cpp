#include "show/bmp_reader.h"

#include "platform/regular_file.h"

#include <cstdint>
#include <cstdio>
#include <memory>

namespace {

constexpr size_t kFileHeaderBytes = 14;
constexpr size_t kInfoHeaderBytes = 40;
// The info header sizes whose first 40 bytes are the classic ones; 52 and 56 add the colour
// masks, 108 (V4) and 124 (V5) colour space data that a texture has no use for.
constexpr uint32_t kHeaderSizes[] = {40, 52, 56, 108, 124};

// Compression values.
constexpr uint32_t kRgb = 0, kBitfields = 3, kAlphaBitfields = 6;

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};

uint32_t le32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

size_t paddedRow(size_t bytes) {
    return (bytes + 3) & ~size_t(3);
}

BmpStatus refuse(std::string* reason, const std::string& why) {
    if (reason) *reason = why;
    return BmpStatus::ReadError;
}

// The byte of a pixel a mask selects, or -1 for a mask that is not one whole byte of it.
int maskByte(uint32_t mask, size_t bytesPerPixel) {
    for (size_t i = 0; i < bytesPerPixel; ++i)
        if (mask == 0xffu << (8 * i)) return int(i);
    return -1;
}

} // namespace

BmpStatus readBmp(const char* path, int maxSide, BmpImage& out, std::string* reason) {
    out = BmpImage{};
    std::unique_ptr<FILE, FileCloser> f(OpenRegularFile(path));
    if (!f) return BmpStatus::OpenError;

    // Room for the largest header and the three masks that may follow a 40-byte one.
    unsigned char header[kFileHeaderBytes + 124 + 12] = {};
    const size_t got = std::fread(header, 1, sizeof header, f.get());
    if (got < kFileHeaderBytes + kInfoHeaderBytes) return refuse(reason, "its header is cut short");
    const uint32_t dataOffset = le32(header + 10);
    const uint32_t infoSize = le32(header + 14);
    bool knownSize = false;
    for (uint32_t size : kHeaderSizes) knownSize |= size == infoSize;
    if (!knownSize)
        return refuse(reason, "an info header of " + std::to_string(infoSize) +
                                  " bytes (40, 52, 56, 108 or 124 are read)");
    const int32_t width = int32_t(le32(header + 18));
    const int32_t rawHeight = int32_t(le32(header + 22));
    const unsigned bits = header[28] | header[29] << 8;
    const uint32_t compression = le32(header + 30);
    if (bits != 24 && bits != 32)
        return refuse(reason, std::to_string(bits) + " bits a pixel (24 and 32 are read)");

    const size_t bytesPerPixel = bits / 8;
    int red = 2, green = 1, blue = 0; // the file stores blue, green, red
    size_t headersEnd = kFileHeaderBytes + infoSize;
    if (compression == kBitfields || compression == kAlphaBitfields) {
        // A 40-byte header is followed by the masks; larger ones hold them.
        if (infoSize == kInfoHeaderBytes) headersEnd += compression == kBitfields ? 12 : 16;
        if (got < kFileHeaderBytes + kInfoHeaderBytes + 12)
            return refuse(reason, "its colour masks are cut short");
        const unsigned char* masks = header + kFileHeaderBytes + kInfoHeaderBytes;
        red = maskByte(le32(masks), bytesPerPixel);
        green = maskByte(le32(masks + 4), bytesPerPixel);
        blue = maskByte(le32(masks + 8), bytesPerPixel);
        if (red < 0 || green < 0 || blue < 0 || red == green || green == blue || red == blue)
            return refuse(reason, "colour masks other than one whole byte a channel");
    } else if (compression != kRgb) {
        return refuse(reason, "compressed (type " + std::to_string(compression) + ")");
    }
    if (dataOffset < headersEnd)
        return refuse(reason, "its pixels would start at byte " + std::to_string(dataOffset) +
                                  ", inside its headers");

    // A negative height marks a top-down file; it is turned upright below.
    const bool topDown = rawHeight < 0;
    const int64_t height = topDown ? -int64_t(rawHeight) : rawHeight;
    if (width <= 0 || height <= 0 || width > maxSide || height > maxSide)
        return refuse(reason, "a size of " + std::to_string(width) + " x " +
                                  std::to_string(height) + " (1 to " + std::to_string(maxSide) +
                                  " a side is read)");

    const size_t inRow = paddedRow(size_t(width) * bytesPerPixel);
    const size_t outRow = paddedRow(size_t(width) * 3);
    // The last row's padding may be missing without harm; anything short of that is not.
    const size_t needed = inRow * size_t(height - 1) + size_t(width) * bytesPerPixel;
    if (std::fseek(f.get(), 0, SEEK_END) != 0) return refuse(reason, "it cannot be searched");
    const long fileSize = std::ftell(f.get());
    if (fileSize < 0 || uint64_t(fileSize) < uint64_t(dataOffset) + needed)
        return refuse(reason, "it is shorter than its pixels");
    if (std::fseek(f.get(), long(dataOffset), SEEK_SET) != 0)
        return refuse(reason, "it cannot be searched");

    std::vector<unsigned char> raw(inRow * size_t(height), 0);
    if (std::fread(raw.data(), 1, needed, f.get()) != needed)
        return refuse(reason, "it is shorter than its pixels");

    out.width = width;
    out.height = int(height);
    out.rgb.assign(outRow * size_t(height), 0);
    for (size_t y = 0; y < size_t(height); ++y) {
        const unsigned char* src = raw.data() + y * inRow;
        unsigned char* dst = out.rgb.data() + (topDown ? size_t(height) - 1 - y : y) * outRow;
        for (size_t x = 0; x < size_t(width); ++x, src += bytesPerPixel, dst += 3) {
            dst[0] = src[red];
            dst[1] = src[green];
            dst[2] = src[blue];
        }
    }
    return BmpStatus::Ok;
}
