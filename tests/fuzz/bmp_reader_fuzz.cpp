// The BMP reader on any bytes: it must refuse or give a picture whose pixels fill its rows.
#include "memory_file.h"
#include "show/graphics.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    BmpImage image;
    if (readBmp(MemoryFile(data, size), 4096, image) != BmpStatus::Ok) return 0;
    const std::size_t row = (std::size_t(image.width) * 3 + 3) & ~std::size_t(3);
    if (image.width <= 0 || image.height <= 0 || image.width > 4096 || image.height > 4096 ||
        image.rgb.size() != row * std::size_t(image.height))
        std::abort();
    return 0;
}
