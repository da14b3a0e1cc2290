// kelvaster-structures-preview: draws scene three's towers, column rings, cube walls and wheels
// at a show clock under a camera like the scene's, with no overlays, and writes a PNG; with
// --time it also reports what each of the four effects costs per frame.
#include "gfx/gl.h"
#include "scenes/scene3/column_rings.h"
#include "scenes/scene3/cube_walls.h"
#include "scenes/scene3/pictures.h"
#include "scenes/scene3/towers.h"
#include "scenes/scene3/wheels.h"
#include "shell/graphics.h"
#include "tools/offscreen/offscreen.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr double kSecondHalf = 0.599523;

void standardProjection() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60, 1.3333333333333333, 1, 2500);
    glMatrixMode(GL_MODELVIEW);
}

// The scene's camera windows, near enough to judge the effects by.
void lookAtScene(float t) {
    const float a = static_cast<float>(40.0 * t + 200);
    const float s = static_cast<float>(std::sin(a)), c = static_cast<float>(std::cos(a));
    if (t < 0.350113) {
        const float xz = static_cast<float>(200.0 * s);
        gluLookAt(xz, 700.07f, xz, 100, 0, 100, 0, 1, 0);
    } else if (t < 0.449291) {
        gluLookAt(static_cast<float>(10.0 * s), 600, static_cast<float>(400 - 300.0 * c), 0, 200,
                  400, 0, 1, 0);
    } else if (t < 0.499679) {
        const double b = -40.0 * t - 1.5708;
        gluLookAt(0, -390, 0, static_cast<float>(800 * std::sin(b)), 300,
                  static_cast<float>(800 * std::cos(b)), 0, 1, 0);
    } else {
        const float yz = static_cast<float>(900.0 * c);
        gluLookAt(static_cast<float>(900.0 * s), yz, yz, 0, 0, 0, 0, 1, 0);
    }
}

using Clock = std::chrono::steady_clock;

// Milliseconds spent in each effect, the GL work included.
struct Costs {
    double towers = 0, rings = 0, wheels = 0, walls = 0;
};

double timed(void (*effect)(float), float t) {
    glFinish();
    const auto start = Clock::now();
    effect(t);
    glFinish();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

Costs drawFrame(float t) {
    Costs c;
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    standardProjection();
    renderCubeFieldPicture(t);
    renderSmokePicture(t);
    const bool second = t >= kSecondHalf;
    if (second) glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    lookAtScene(t);
    glEnable(GL_LIGHTING);
    standardProjection();
    c.towers = timed(drawTowers, t);
    c.rings = timed(drawColumnRings, t);
    if (second) c.wheels = timed(drawWheels, t);
    c.walls = timed(drawCubeWalls, t);
    return c;
}

int usage() {
    std::fprintf(stderr, "usage: kelvaster-structures-preview <t> <out.png> [--time frames]\n"
                         "  Run from the build directory, beside Data/.\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 && !(argc == 5 && std::string(argv[3]) == "--time")) return usage();
    const float t = std::strtof(argv[1], nullptr);
    const int frames = argc == 5 ? std::atoi(argv[4]) : 0;
    std::string error;
    if (!offscreenOpen(&error)) {
        std::fprintf(stderr, "kelvaster-structures-preview: %s\n", error.c_str());
        return 1;
    }
    initGraphics();
    // The cube walls see the probe where the previous frame left it.
    drawFrame(static_cast<float>(t - 0.00002));
    drawFrame(t);
    std::vector<unsigned char> rgb;
    offscreenReadFrame(rgb);
    if (!writePng(argv[2], kFrameWidth, kFrameHeight, rgb.data())) {
        std::fprintf(stderr, "kelvaster-structures-preview: cannot write %s\n", argv[2]);
        return 1;
    }
    if (frames > 0) {
        Costs sum;
        for (int i = 0; i < frames; ++i) {
            const Costs c = drawFrame(t);
            sum.towers += c.towers, sum.rings += c.rings;
            sum.wheels += c.wheels, sum.walls += c.walls;
        }
        std::printf("t=%.4f ms/frame over %d frames: towers %.3f  column rings %.3f  wheels %.3f"
                    "  cube walls %.3f\n",
                    t, frames, sum.towers / frames, sum.rings / frames, sum.wheels / frames,
                    sum.walls / frames);
    }
    return 0;
}
