#include "tools/capture/contact_sheet.h"

#include "gfx/frame.h"
#include "tools/capture/bitmap_font.h"

#include <cstdio>

namespace {

constexpr int kGap = 8;
constexpr Rgb kBackground = {24, 24, 24};
constexpr Rgb kInk = {232, 232, 232};

int labelHeight(int fontScale) {
    return kGlyphHeight * fontScale + 6;
}

// Copies src with its top-left corner at (x0, y0), clipped to dst.
void blit(RgbImage& dst, int x0, int y0, const RgbImage& src) {
    for (int y = 0; y < src.height && y0 + y < dst.height; ++y)
        for (int x = 0; x < src.width && x0 + x < dst.width; ++x) {
            const unsigned char* p = src.at(x, y);
            unsigned char* q = dst.at(x0 + x, y0 + y);
            q[0] = p[0];
            q[1] = p[1];
            q[2] = p[2];
        }
}

} // namespace

std::vector<int64_t> spreadFrames(int count, int64_t last) {
    if (count == 1) return {0};
    std::vector<int64_t> frames;
    // Rounded to the nearest frame.
    for (int i = 0; i < count; ++i)
        frames.push_back((int64_t(i) * last * 2 + (count - 1)) / (2 * (count - 1)));
    return frames;
}

bool validSheetScale(int scale) {
    return scale >= 1 && scale <= 10 && kFrameWidth % scale == 0 && kFrameHeight % scale == 0;
}

RgbImage shrink(const RgbImage& frame, int factor) {
    RgbImage out(frame.width / factor, frame.height / factor, kBackground);
    const int area = factor * factor;
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            int sum[3] = {0, 0, 0};
            for (int dy = 0; dy < factor; ++dy)
                for (int dx = 0; dx < factor; ++dx) {
                    const unsigned char* p = frame.at(x * factor + dx, y * factor + dy);
                    for (int c = 0; c < 3; ++c) sum[c] += p[c];
                }
            unsigned char* q = out.at(x, y);
            for (int c = 0; c < 3; ++c)
                q[c] = static_cast<unsigned char>((sum[c] + area / 2) / area);
        }
    }
    return out;
}

std::string frameLabel(double seconds, float t, int scene) {
    const long ms = static_cast<long>(seconds * 1000 + 0.5);
    char text[64];
    std::snprintf(text, sizeof text, "%ld:%02ld.%03ld t %.5f scene %d", ms / 60000, ms / 1000 % 60,
                  ms % 1000, double(t), scene);
    return text;
}

ContactSheet::ContactSheet(int count, int columns, int thumbWidth, int thumbHeight)
    : columns_(columns), thumbWidth_(thumbWidth), thumbHeight_(thumbHeight),
      // Labels grow with the thumbnails so that they stay readable at a glance.
      fontScale_(thumbWidth >= 400 ? 2 : 1) {
    const int rows = (count + columns - 1) / columns;
    sheet_ = RgbImage(kGap + columns * (thumbWidth + kGap),
                      kGap + rows * (thumbHeight + labelHeight(fontScale_) + kGap), kBackground);
}

int ContactSheet::cellX(int i) const {
    return kGap + (i % columns_) * (thumbWidth_ + kGap);
}

int ContactSheet::cellY(int i) const {
    return kGap + (i / columns_) * (thumbHeight_ + labelHeight(fontScale_) + kGap);
}

void ContactSheet::place(int i, const RgbImage& thumb, const std::string& label) {
    const int x0 = cellX(i), y0 = cellY(i);
    blit(sheet_, x0, y0, thumb);
    // The label is cut at the cell's edge rather than run into its neighbour.
    RgbImage strip(thumbWidth_, labelHeight(fontScale_), kBackground);
    drawText(strip, 0, 4, label, fontScale_, kInk);
    blit(sheet_, x0, y0 + thumbHeight_, strip);
}
