// Writes the show's twelve bitmaps into the directory named on the command line.
#include "bitmap_makers.h"
#include "bmp.h"
#include "show/data_files.h"

#include <cstdio>
#include <iterator>
#include <string>

namespace {

// Sizes follow how each bitmap is drawn: the aspect of its rectangle, enough texels for its
// size on screen, and power-of-two sides (which also keep BMP rows free of padding).
struct Bitmap {
    const char* path;
    int width, height;
    Image (*make)(int, int);
};

constexpr Bitmap bitmaps[] = {
    {data_files::title2, 512, 128, makeTitle},            // 400 x 100 screen rectangle
    {data_files::aba2, 256, 256, makeCubePanel},          // faces of the floor cubes
    {data_files::sc02cross, 128, 128, makeCrossStamp},    // 100-unit stamps
    {data_files::letter01, 512, 128, makeLetter01},       // 512 x 128 banner
    {data_files::letter02, 512, 64, makeLetter02},        // 640 x 80 banner
    {data_files::letter03, 1024, 64, makeLetter03},       // 1280 x 80 banner
    {data_files::moll4, 256, 256, makeWheelFace},         // 180-unit discs
    {data_files::smoke4, 256, 256, makeSmoke},            // 200 to 800-unit sprites
    {data_files::sc03objecs03, 128, 256, makeTowerPanel}, // narrow boxes, a repeat per 60 units up
    {data_files::r, 64, 64, makeHubCap},                  // 30-unit discs
    {data_files::eyeeye2, 256, 256, makeEyeMask},         // stretched over the 800 x 600 screen
    {data_files::greeting, 512, 512, makeGreeting},       // 500 x 500 rectangle
};

// One maker for every bitmap the show reads, in the same order.
constexpr bool makesEveryBitmap() {
    if (std::size(bitmaps) != std::size(data_files::kBitmaps)) return false;
    for (size_t i = 0; i < std::size(bitmaps); ++i)
        if (bitmaps[i].path != data_files::kBitmaps[i]) return false;
    return true;
}
static_assert(makesEveryBitmap());

bool powerOfTwo(int n) {
    return n >= 4 && (n & (n - 1)) == 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: makebitmaps OUTPUT_DIR\n");
        return 2;
    }
    for (const Bitmap& p : bitmaps) {
        if (!powerOfTwo(p.width) || !powerOfTwo(p.height)) {
            std::fprintf(stderr, "makebitmaps: %s is not a power-of-two size\n", p.path);
            return 1;
        }
        const std::string path =
            std::string(argv[1]) + "/" + std::string(data_files::fileName(p.path));
        if (!writeBmp(path, p.make(p.width, p.height))) {
            std::fprintf(stderr, "makebitmaps: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
