#include "tools/capture/bitmap_font.h"

namespace {

struct Glyph {
    char c;
    const char* rows[kGlyphHeight];
};

// clang-format off
const Glyph kGlyphs[] = {
    {'0', {" ### ", "#   #", "#  ##", "# # #", "##  #", "#   #", " ### "}},
    {'1', {"  #  ", " ##  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "}},
    {'2', {" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"}},
    {'3', {"#####", "   # ", "  #  ", "   # ", "    #", "#   #", " ### "}},
    {'4', {"   # ", "  ## ", " # # ", "#  # ", "#####", "   # ", "   # "}},
    {'5', {"#####", "#    ", "#### ", "    #", "    #", "#   #", " ### "}},
    {'6', {"  ## ", " #   ", "#    ", "#### ", "#   #", "#   #", " ### "}},
    {'7', {"#####", "    #", "   # ", "  #  ", " #   ", " #   ", " #   "}},
    {'8', {" ### ", "#   #", "#   #", " ### ", "#   #", "#   #", " ### "}},
    {'9', {" ### ", "#   #", "#   #", " ####", "    #", "   # ", " ##  "}},
    {' ', {"     ", "     ", "     ", "     ", "     ", "     ", "     "}},
    {'.', {"     ", "     ", "     ", "     ", "     ", " ##  ", " ##  "}},
    {':', {"     ", " ##  ", " ##  ", "     ", " ##  ", " ##  ", "     "}},
    {'=', {"     ", "     ", "#####", "     ", "#####", "     ", "     "}},
    {'-', {"     ", "     ", "     ", "#####", "     ", "     ", "     "}},
    {'c', {"     ", "     ", " ### ", "#    ", "#    ", "#   #", " ### "}},
    {'e', {"     ", "     ", " ### ", "#   #", "#####", "#    ", " ### "}},
    {'n', {"     ", "     ", "# ## ", "##  #", "#   #", "#   #", "#   #"}},
    {'o', {"     ", "     ", " ### ", "#   #", "#   #", "#   #", " ### "}},
    {'s', {"     ", "     ", " ####", "#    ", " ### ", "    #", "#### "}},
    {'t', {" #   ", " #   ", "###  ", " #   ", " #   ", " #  #", "  ## "}},
};
// clang-format on

const Glyph* find(char c) {
    for (const Glyph& g : kGlyphs)
        if (g.c == c) return &g;
    return nullptr;
}

} // namespace

bool glyphPixel(char c, int x, int y) {
    if (x < 0 || x >= kGlyphWidth || y < 0 || y >= kGlyphHeight) return false;
    if (const Glyph* g = find(c)) return g->rows[y][x] == '#';
    return x == 0 || y == 0 || x == kGlyphWidth - 1 || y == kGlyphHeight - 1;
}

int textWidth(const std::string& text, int scale) {
    if (text.empty()) return 0;
    return (int(text.size()) * kGlyphAdvance - (kGlyphAdvance - kGlyphWidth)) * scale;
}

void drawText(RgbImage& image, int x, int y, const std::string& text, int scale, Rgb colour) {
    for (size_t i = 0; i < text.size(); ++i) {
        const int left = x + int(i) * kGlyphAdvance * scale;
        for (int gy = 0; gy < kGlyphHeight * scale; ++gy) {
            for (int gx = 0; gx < kGlyphWidth * scale; ++gx) {
                const int px = left + gx, py = y + gy;
                if (px < 0 || py < 0 || px >= image.width || py >= image.height) continue;
                if (!glyphPixel(text[i], gx / scale, gy / scale)) continue;
                unsigned char* p = image.at(px, py);
                p[0] = colour.r;
                p[1] = colour.g;
                p[2] = colour.b;
            }
        }
    }
}
