// The pictures that carry words. All are bright lettering on black: the show either prints
// them dark (title, banners) or adds them (greetings), so black must stay exactly black.
#include "bitmap_makers.h"
#include "stroke_font.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void letter(Mask& mask, const std::string& text, double x, double y, const TextStyle& style) {
    if (!drawTextCentred(mask, text, x, y, style)) {
        std::fprintf(stderr, "makebitmaps: no glyph for a character of \"%s\"\n", text.c_str());
        std::exit(1);
    }
}

Mask blurred(const Mask& in, double sigma) {
    int radius = int(std::ceil(sigma * 3));
    std::vector<double> kernel(2 * radius + 1);
    double sum = 0;
    for (int i = -radius; i <= radius; ++i)
        sum += kernel[i + radius] = std::exp(-0.5 * i * i / (sigma * sigma));
    for (double& k : kernel) k /= sum;

    Mask across(in.w, in.h), out(in.w, in.h);
    for (int y = 0; y < in.h; ++y)
        for (int x = 0; x < in.w; ++x) {
            double v = 0;
            for (int i = -radius; i <= radius; ++i)
                if (x + i >= 0 && x + i < in.w) v += in.at(x + i, y) * kernel[i + radius];
            across.at(x, y) = v;
        }
    for (int y = 0; y < in.h; ++y)
        for (int x = 0; x < in.w; ++x) {
            double v = 0;
            for (int i = -radius; i <= radius; ++i)
                if (y + i >= 0 && y + i < in.h) v += across.at(x, y + i) * kernel[i + radius];
            out.at(x, y) = v;
        }
    return out;
}

// Strokes lit from above: full at the top of the capitals, dimmer at the baseline, so they
// read as solid even when printed dark.
struct LineShade {
    double firstCapTop, capHeight, pitch;
    double operator()(double y) const {
        double inLine = std::fmod(y - firstCapTop + pitch, pitch);
        return 1.0 - 0.3 * clamp01(inLine / capHeight);
    }
};

// Lays lettering over the picture: a soft halo first, then the strokes. GL_REPEAT blends each
// edge with the opposite one, so the halo fades out over the outermost texels.
void paint(Image& img, const Mask& text, Rgb fill, Rgb halo, double haloSigma, LineShade shadeAt) {
    Mask glow = blurred(text, haloSigma);
    const int w = img.width(), h = img.height();
    for (int y = 0; y < h; ++y) {
        double shade = shadeAt(y + 0.5);
        for (int x = 0; x < w; ++x) {
            Rgb& p = img.at(x, y);
            double border = clamp01(std::min({x, y, w - 1 - x, h - 1 - y}) / 4.0);
            p = p + halo * (glow.at(x, y) * border);
            p = mix(p, fill * shade, text.at(x, y));
        }
    }
}

// One line of text as large as fits in w x h with the given share of the height as capitals.
Image banner(int w, int h, const std::string& text, double capShare, Rgb fill, Rgb halo) {
    TextStyle style{1, 0.7, 2.2, 0.18};
    double capPx = h * capShare;
    style.unit = capPx / 6;
    double room = w * 0.9 - (style.slant * 6 + 2 * style.weight) * style.unit;
    if (textWidth(text, style) > room) style.unit *= room / textWidth(text, style);
    capPx = style.unit * 6;

    Image img(w, h);
    Mask mask(w, h);
    double baseline = (h + capPx) / 2;
    letter(mask, text, w / 2.0, baseline, style);
    paint(img, mask, fill, halo, style.unit * 0.9, {baseline - capPx, capPx, double(h)});
    return img;
}

} // namespace

Image makeTitle(int w, int h) {
    return banner(w, h, "KELVASTER", 0.5, {1, 1, 1}, {0.35, 0.35, 0.4});
}

Image makeLetter01(int w, int h) {
    return banner(w, h, "BY ZIR", 0.62, {1, 1, 1}, grey(0.3));
}

Image makeLetter02(int w, int h) {
    return banner(w, h, "REAL TIME", 0.62, {1, 1, 1}, grey(0.3));
}

Image makeLetter03(int w, int h) {
    return banner(w, h, "FOUR SCENES ONE TUNE", 0.62, {1, 1, 1}, grey(0.3));
}

// Our own made-up crews. The picture rises from below the frame, so the list fills the top
// three quarters: the lower part only comes into view at the very end.
const char* const crews[] = {
    "VELVET SPROCKETS", "NINEFOLD MOTH",  "COPPER LATTICE",    "PAPER SATELLITE",
    "HOLLOW VECTOR",    "SALTWATER LOOP", "QUIET OSCILLATORS",
};

Image makeGreeting(int w, int h) {
    Image img(w, h);
    double s = w / 512.0;

    TextStyle heading{6 * s, 0.7, 2.2, 0.18};
    Mask head(w, h);
    double headBase = 70 * s;
    letter(head, "GREETINGS TO", w / 2.0, headBase, heading);
    paint(img, head, {1.0, 0.85, 0.55}, {0.45, 0.3, 0.15}, 5 * s,
          {headBase - 36 * s, 36 * s, double(h)});

    TextStyle names{4 * s, 0.65, 2.2, 0.18};
    double pitch = 44 * s, first = 128 * s;
    Mask list(w, h);
    int line = 0;
    for (const char* crew : crews) letter(list, crew, w / 2.0, first + pitch * line++, names);
    paint(img, list, {0.8, 0.92, 1.0}, {0.1, 0.2, 0.3}, 4 * s, {first - 24 * s, 24 * s, pitch});
    return img;
}
