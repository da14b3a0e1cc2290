// The two textures laid on boxes. Both are drawn as functions on the torus (edge distances
// taken both ways, noise with whole periods), so GL_REPEAT joins them without a seam.
#include "noise.h"
#include "bitmap_makers.h"
#include "shapes.h"

namespace {

// Distance to the nearer of the two edges of a repeating axis.
double edge(double k, double period) {
    return std::min(k, period - k);
}

} // namespace

// A riveted plate for the floor cubes: the grooves where tiles meet fall on the texture's
// edges, and a raised middle plate with vents catches the tint of each cube.
Image makeCubePanel(int w, int h) {
    Image img(w, h);
    img.shade([](double u, double v, double px) {
        double grain = fbm(u * 8, v * 8, 11, 4, 8, 8);
        double brush = valueNoise(u * 4, v * 96, 12, 4, 96);
        Rgb col = Rgb{0.62, 0.64, 0.68} * (0.92 + 0.2 * (grain - 0.5) + 0.1 * (brush - 0.5));

        auto plate = [](double x, double y) {
            return roundedBoxSdf(x, y, 0.5, 0.5, 0.36, 0.36, 0.05);
        };
        double d = plate(u, v);
        if (d < 0) col = col * 1.08;
        double light = bevelLight(plate, u, v, 0.002);
        double ring = smoothstep(-0.03, -0.024, d) * (1 - smoothstep(-0.002, 0.002, d));
        col = col + grey(0.45 * light * ring);
        if (light < 0) // the plate's shadow on the frame
            col = col * (1 - 0.35 * smoothstep(0.018, 0.0, d) * smoothstep(-0.004, 0.0, d));

        for (int i = 0; i < 4; ++i) {
            auto slot = [i](double x, double y) {
                return roundedBoxSdf(x, y, 0.5, 0.39 + 0.075 * i, 0.2, 0.02, 0.02);
            };
            double s = slot(u, v);
            // Recessed, so the light falls on the lower lip: the opposite sign of the plate.
            double lip = coverage((std::fabs(s - 0.006) - 0.006) / px);
            col = col + grey(-0.5 * bevelLight(slot, u, v, 0.002) * lip);
            col = mix(col, grey(0.08), coverage(s / px));
        }

        for (double cx : {0.07, 0.93})
            for (double cy : {0.07, 0.93}) {
                double r = std::hypot(u - cx, v - cy) / 0.028;
                double lit = 0.55 - 0.45 * ((u - cx) + (v - cy)) / 0.028 * 0.7071;
                Rgb rivet = grey(0.4 + 0.5 * lit) +
                            grey(0.6 * std::exp(-30 * (r * r)) * smoothstep(0.2, 0.9, lit));
                col = mix(col, rivet, coverage((r - 1) * 0.028 / px));
            }

        // The groove sits on the wrap, half on each side, so neighbouring faces share it.
        double e = std::min(edge(u, 1), edge(v, 1));
        col = col * (1 - 0.5 * smoothstep(0.03, 0.012, e));
        col = mix(col, grey(0.1), coverage((e - 0.01) / px));
        return col;
    });
    return img;
}

// A facade for the translucent towers and columns: a rounded rail down each side edge, a bright
// band at each floor (one floor per repeat) and rows of windows, some lit, some dark.
Image makeTowerPanel(int w, int h) {
    Image img(w, h);
    const double tall = double(h) / w; // v in the same units as u
    // Lit share of each window, two columns by four rows, top to bottom.
    const double windows[4][2] = {
        {1.0, 0.15},
        {0.2, 0.85},
        {0.9, 1.0},
        {0.1, 0.6},
    };
    img.shade([&](double u, double v, double px) {
        double y = v * tall;
        double grain = fbm(u * 4, v * 8, 21, 4, 4, 8);
        Rgb col = Rgb{0.2, 0.23, 0.29} * (0.85 + 0.3 * grain);

        for (int row = 0; row < 4; ++row)
            for (int c = 0; c < 2; ++c) {
                double cx = 0.36 + 0.28 * c, cy = 0.3 + 0.46 * row;
                double d = roundedBoxSdf(u, y, cx, cy, 0.1, 0.15, 0.03);
                double lit = windows[row][c];
                double glowIn = 1 - 0.35 * std::hypot((u - cx) / 0.1, (y - cy) / 0.15);
                Rgb pane = mix(Rgb{0.05, 0.07, 0.1}, Rgb{1.0, 0.86, 0.55} * glowIn, lit);
                col = mix(col, grey(0.55), coverage((d - 0.018) / px));
                col = mix(col, pane, coverage(d / px));
            }

        double ev = edge(y, tall);
        Rgb band = grey(0.72 + 0.2 * smoothstep(0.05, 0.0, ev));
        col = mix(col, band, coverage((ev - 0.05) / px));
        col = mix(col, grey(0.1), coverage((std::fabs(ev - 0.058) - 0.008) / px));

        double eu = edge(u, 1);
        double round = std::cos(std::min(1.0, eu / 0.13) * 1.5708);
        Rgb rail = Rgb{0.5, 0.54, 0.6} * (0.45 + 0.6 * round);
        col = mix(col, rail, coverage((eu - 0.13) / px));
        col = mix(col, grey(0.08), coverage((std::fabs(eu - 0.135) - 0.008) / px));
        return col;
    });
    return img;
}
