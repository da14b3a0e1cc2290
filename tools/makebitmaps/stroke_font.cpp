#include "stroke_font.h"

#include <cmath>

namespace {

// Each glyph: its width in grid steps and its strokes, points "xy" (y up from the baseline)
// joined into polylines, polylines separated by '/'. Corners are cut at 45 degrees.
struct Glyph {
    char ch;
    int width;
    const char* strokes;
};

const Glyph glyphs[] = {
    {' ', 2, ""},
    {'.', 0, "00"},
    {'!', 0, "06 02/00"},
    {'-', 3, "03 33"},
    {'A', 4, "00 05 16 36 45 40/03 43"},
    {'B', 4, "00 06 36 45 44 33 03/33 42 41 30 00"},
    {'C', 4, "45 36 16 05 01 10 30 41"},
    {'D', 4, "00 06 36 45 41 30 00"},
    {'E', 4, "46 06 00 40/03 33"},
    {'F', 4, "46 06 00/03 33"},
    {'G', 4, "45 36 16 05 01 10 30 41 43 23"},
    {'H', 4, "00 06/40 46/03 43"},
    {'I', 2, "06 26/16 10/00 20"},
    {'J', 4, "26 46 41 30 10 01"},
    {'K', 4, "00 06/03 13 46/13 40"},
    {'L', 4, "06 00 40"},
    {'M', 4, "00 06 23 46 40"},
    {'N', 4, "00 06 40 46"},
    {'O', 4, "10 01 05 16 36 45 41 30 10"},
    {'P', 4, "00 06 36 45 44 33 03"},
    {'Q', 4, "10 01 05 16 36 45 41 30 10/22 40"},
    {'R', 4, "00 06 36 45 44 33 03/23 40"},
    {'S', 4, "45 36 16 05 04 13 33 42 41 30 10 01"},
    {'T', 4, "06 46/26 20"},
    {'U', 4, "06 01 10 30 41 46"},
    {'V', 4, "06 20 46"},
    {'W', 4, "06 00 23 40 46"},
    {'X', 4, "06 40/00 46"},
    {'Y', 4, "06 23 46/23 20"},
    {'Z', 4, "06 46 00 40"},
};

const Glyph* findGlyph(char c) {
    for (const Glyph& g : glyphs)
        if (g.ch == c) return &g;
    return nullptr;
}

double segmentDistance(double px, double py, double ax, double ay, double bx, double by) {
    double dx = bx - ax, dy = by - ay;
    double len2 = dx * dx + dy * dy;
    double k = len2 > 0 ? clamp01(((px - ax) * dx + (py - ay) * dy) / len2) : 0.0;
    return std::hypot(px - (ax + k * dx), py - (ay + k * dy));
}

void drawSegment(Mask& mask, double ax, double ay, double bx, double by, double radius) {
    int x0 = std::max(0, int(std::floor(std::min(ax, bx) - radius - 1)));
    int x1 = std::min(mask.w - 1, int(std::ceil(std::max(ax, bx) + radius + 1)));
    int y0 = std::max(0, int(std::floor(std::min(ay, by) - radius - 1)));
    int y1 = std::min(mask.h - 1, int(std::ceil(std::max(ay, by) + radius + 1)));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            double d = segmentDistance(x + 0.5, y + 0.5, ax, ay, bx, by);
            double& m = mask.at(x, y);
            m = std::max(m, coverage(d - radius));
        }
}

void drawGlyph(Mask& mask, const Glyph& g, double x, double y, const TextStyle& s) {
    auto toX = [&](int gx, int gy) { return x + (gx + s.slant * gy) * s.unit; };
    auto toY = [&](int gy) { return y - gy * s.unit; };
    const char* p = g.strokes;
    while (*p) {
        int lastX = -1, lastY = -1;
        while (*p && *p != '/') {
            if (*p == ' ') {
                ++p;
                continue;
            }
            int gx = p[0] - '0', gy = p[1] - '0';
            p += 2;
            double fx = toX(gx, gy), fy = toY(gy);
            if (lastX < 0)
                drawSegment(mask, fx, fy, fx, fy, s.weight * s.unit); // a lone point is a dot
            else
                drawSegment(mask, toX(lastX, lastY), toY(lastY), fx, fy, s.weight * s.unit);
            lastX = gx;
            lastY = gy;
        }
        if (*p == '/') ++p;
    }
}

} // namespace

double textWidth(const std::string& text, const TextStyle& style) {
    double steps = 0;
    for (char c : text)
        if (const Glyph* g = findGlyph(c)) steps += g->width + style.gap;
    return text.empty() ? 0 : (steps - style.gap) * style.unit;
}

bool drawText(Mask& mask, const std::string& text, double x, double y, const TextStyle& style) {
    for (char c : text) {
        const Glyph* g = findGlyph(c);
        if (!g) return false;
        drawGlyph(mask, *g, x, y, style);
        x += (g->width + style.gap) * style.unit;
    }
    return true;
}

bool drawTextCentred(Mask& mask, const std::string& text, double x, double y,
                     const TextStyle& style) {
    double slantShift = style.slant * 3 * style.unit; // slant pivots on the middle of the caps
    return drawText(mask, text, x - textWidth(text, style) / 2 - slantShift, y, style);
}
