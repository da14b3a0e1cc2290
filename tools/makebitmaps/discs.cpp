// The round pictures: the wheel face and hub cap are laid on discs (the texture's inscribed
// circle is all that shows), the cross on square stamps multiplied into the frame.
#include "noise.h"
#include "bitmap_makers.h"
#include "shapes.h"

namespace {

const double pi = 3.141592653589793;

// Shading of a dome of the given radius at an offset from its centre, lit from the top left.
double domeLight(double dx, double dy, double radius) {
    double x = dx / radius, y = dy / radius;
    double z = std::sqrt(std::max(0.0, 1 - x * x - y * y));
    double lambert = std::max(0.0, (-0.45 * x - 0.45 * y + 0.77 * z));
    double shine = std::pow(std::max(0.0, -0.3 * x - 0.3 * y + 0.9 * z), 24);
    return lambert + 0.6 * shine;
}

} // namespace

// A wheel: treaded tyre, chrome rim with a red line, six spokes between lightening holes and
// a bolted hub. The glass disc covers the middle at half strength, so the tyre and rim carry
// the turning: they get the strongest pattern.
Image makeWheelFace(int w, int h) {
    Image img(w, h);
    img.shade([](double u, double v, double pu) {
        double x = (u - 0.5) * 2, y = (v - 0.5) * 2, px = pu * 2;
        double rho = std::hypot(x, y), angle = std::atan2(y, x);
        double lightDir = std::cos(angle + 0.75 * pi); // rims catch light on the top-left

        Rgb col = grey(0.2) * (0.9 + 0.2 * fbm(u * 16, v * 16, 31, 3));

        for (int k = 0; k < 6; ++k) {
            double a = (k * 60 + 30) * pi / 180;
            double hx = 0.52 * std::cos(a), hy = 0.52 * std::sin(a);
            double d = circleSdf(x, y, hx, hy, 0.14);
            col = mix(col, grey(0.45 + 0.35 * std::cos(std::atan2(y - hy, x - hx) - 0.25 * pi)),
                      coverage((std::fabs(d) - 0.012) / px));
            col = mix(col, grey(0.04), coverage((d + 0.012) / px));
        }
        for (int k = 0; k < 6; ++k) {
            double a = k * 60 * pi / 180;
            double d = barSdf(x, y, 0, 0, 0.78 * std::cos(a), 0.78 * std::sin(a), 0.075);
            double ridge = 1 - 0.35 * clamp01((d + 0.075) / 0.075) * clamp01((d + 0.075) / 0.075);
            col = mix(col, Rgb{0.78, 0.8, 0.84} * ridge, coverage(d / px));
        }

        double hub = rho - 0.27;
        col = mix(col, grey(0.15 + 0.75 * domeLight(x, y, 0.34)), coverage(hub / px));
        col = mix(col, grey(0.1), coverage((std::fabs(hub) - 0.012) / px));
        for (int k = 0; k < 6; ++k) {
            double a = (k * 60 + 30) * pi / 180;
            double bx = 0.18 * std::cos(a), by = 0.18 * std::sin(a);
            double d = circleSdf(x, y, bx, by, 0.035);
            col = mix(col, grey(0.1 + 0.8 * domeLight(x - bx, y - by, 0.035)), coverage(d / px));
        }
        col = mix(col, grey(0.08), coverage(circleSdf(x, y, 0, 0, 0.06) / px));

        col = mix(col, Rgb{0.9, 0.25, 0.08}, coverage(ringSdf(rho, 0.77, 0.8) / px));
        col = mix(col, grey(0.62 + 0.33 * lightDir), coverage(ringSdf(rho, 0.8, 0.86) / px));

        double tread = std::fmod(angle / (2 * pi) * 40 + 40.25, 1.0);
        double block = coverage((std::fabs(tread - 0.5) - 0.3) * rho * 2 * pi / 40 / px);
        double rubber = 0.12 + 0.08 * std::sin((rho - 0.86) / 0.125 * pi);
        Rgb tyre = grey(rubber * (1 - 0.55 * block * smoothstep(0.9, 0.93, rho)));
        col = mix(col, tyre, coverage(ringSdf(rho, 0.86, 0.985) / px));
        return mix(col, grey(0), coverage((0.985 - rho) / px));
    });
    return img;
}

// A domed cap with a hexagonal nut and a ring of five bolts.
Image makeHubCap(int w, int h) {
    Image img(w, h);
    img.shade([](double u, double v, double pu) {
        double x = (u - 0.5) * 2, y = (v - 0.5) * 2, px = pu * 2;
        double rho = std::hypot(x, y);
        Rgb col = grey(0);
        col = mix(col, grey(0.35 + 0.45 * domeLight(x, y, 1.2)), coverage((rho - 0.96) / px));
        col = mix(col, grey(0.15), coverage((std::fabs(rho - 0.8) - 0.03) / px));
        col = mix(col, grey(0.2 + 0.8 * domeLight(x, y, 0.78)), coverage((rho - 0.77) / px));
        for (int k = 0; k < 5; ++k) {
            double a = (k * 72 - 90) * pi / 180;
            double bx = 0.52 * std::cos(a), by = 0.52 * std::sin(a);
            col = mix(col, grey(0.1), coverage(circleSdf(x, y, bx, by, 0.08) / px));
        }
        double hex = 0;
        for (int k = 0; k < 3; ++k) {
            double a = k * pi / 3;
            hex = std::max(hex, std::fabs(x * std::cos(a) + y * std::sin(a)));
        }
        col = mix(col, grey(0.3 + 0.6 * domeLight(x, y, 0.5)), coverage((hex - 0.22) / px));
        col = mix(col, grey(0.12), coverage((std::fabs(hex - 0.22) - 0.025) / px));
        return col;
    });
    return img;
}

// A bold round-ended cross in a ring, inked like a rubber stamp: white is left alone when the
// stamp multiplies into the frame, so the ink carries a little grain and the paper none.
Image makeCrossStamp(int w, int h) {
    Image img(w, h);
    img.shade([](double u, double v, double pu) {
        double x = (u - 0.5) * 2, y = (v - 0.5) * 2, px = pu * 2;
        double bars =
            std::min(barSdf(x, y, -0.6, 0, 0.6, 0, 0.15), barSdf(x, y, 0, -0.6, 0, 0.6, 0.15));
        double ring = std::fabs(std::hypot(x, y) - 0.8) - 0.05;
        double ink = std::max(coverage(bars / px), coverage(ring / px));
        double density = 0.82 + 0.18 * fbm(u * 12, v * 12, 41, 4);
        return mix(grey(1), Rgb{0.08, 0.07, 0.12}, ink * density);
    });
    return img;
}
