// Writes the show's twelve pictures into the directory named on the command line.
#include "bmp.h"
#include "bitmap_makers.h"

#include <cstdio>
#include <string>

namespace {

// Sizes follow how each picture is drawn: the aspect of its rectangle, enough texels for its
// size on screen, and power-of-two sides (which also keep BMP rows free of padding).
struct Picture {
    const char* name;
    int width, height;
    Image (*make)(int, int);
};

const Picture pictures[] = {
    {"title2", 512, 128, makeTitle},            // 400 x 100 screen rectangle
    {"aba2", 256, 256, makeCubePanel},          // faces of the floor cubes
    {"sc02cross", 128, 128, makeCrossStamp},    // 100-unit stamps
    {"letter01", 512, 128, makeLetter01},       // 512 x 128 banner
    {"letter02", 512, 64, makeLetter02},        // 640 x 80 banner
    {"letter03", 1024, 64, makeLetter03},       // 1280 x 80 banner
    {"moll4", 256, 256, makeWheelFace},         // 180-unit discs
    {"smoke4", 256, 256, makeSmoke},            // 200 to 800-unit sprites
    {"sc03objecs03", 128, 256, makeTowerPanel}, // narrow boxes, one repeat per 60 units of height
    {"r", 64, 64, makeHubCap},                  // 30-unit discs
    {"eyeeye2", 256, 256, makeEyeMask},         // stretched over the 800 x 600 screen
    {"greeting", 512, 512, makeGreeting},       // 500 x 500 rectangle
};

bool powerOfTwo(int n) {
    return n >= 4 && (n & (n - 1)) == 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: makebitmaps OUTPUT_DIR\n");
        return 2;
    }
    for (const Picture& p : pictures) {
        if (!powerOfTwo(p.width) || !powerOfTwo(p.height)) {
            std::fprintf(stderr, "makebitmaps: %s is not a power-of-two size\n", p.name);
            return 1;
        }
        std::string path = std::string(argv[1]) + "/" + p.name + ".bmp";
        if (!writeBmp(path, p.make(p.width, p.height))) {
            std::fprintf(stderr, "makebitmaps: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
