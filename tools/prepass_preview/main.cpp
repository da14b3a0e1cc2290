// kelvaster-prepasses: the frame at t with the two shared pictures (cube field, smoke) beside it
// as PNGs, or with --time, how long scene four's frame and its two pre-passes take.
#include "gfx/gl.h"
#include "gfx/textures.h"
#include "scenes/scene3/cube_field_picture.h"
#include "scenes/scene3/smoke_picture.h"
#include "scenes/scene4/scene4.h"
#include "show/show.h"
#include "tools/offscreen/data_checks.h"
#include "tools/offscreen/offscreen.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

int usage() {
    std::fprintf(stderr, "usage: kelvaster-prepasses <out-dir> <t>...\n"
                         "       kelvaster-prepasses --time <frames> <t>\n"
                         "  Run from the build folder, beside Data/.\n");
    return 2;
}

// GL keeps rows bottom first; PNG wants the top row first.
bool writeTexture(GLuint texture, int side, const std::string& path) {
    std::vector<unsigned char> rgb(size_t(side) * side * 3), flipped(rgb.size());
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    const size_t row = size_t(side) * 3;
    for (int y = 0; y < side; ++y)
        std::copy_n(&rgb[size_t(side - 1 - y) * row], row, &flipped[size_t(y) * row]);
    return writePng(path, side, side, flipped.data());
}

// Milliseconds per call of f, averaged over n calls that each run to completion.
template <class F> double msPerCall(int n, F f) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < n; ++i) {
        f(i);
        glFinish();
    }
    const std::chrono::duration<double, std::milli> d = std::chrono::steady_clock::now() - start;
    return d.count() / n;
}

int timeSceneFour(int frames, float t) {
    drawShow(t); // warm up, and leave the scene's own clear colour
    // Each frame one step of t further, so no two frames are the same picture.
    const auto at = [&](int i) { return t + i * 1e-5f; };
    const double frame = msPerCall(frames, [&](int i) { drawShow(at(i)); });
    const double field = msPerCall(frames, [&](int i) {
        glLoadIdentity();
        renderCubeFieldPicture(at(i));
    });
    const double smoke = msPerCall(frames, [&](int i) {
        glLoadIdentity();
        renderSmokePicture(at(i));
    });
    std::printf("frame %.2f ms (%.1f fps); cube-field picture %.2f ms (%.0f%%); smoke picture "
                "%.2f ms (%.0f%%)\n",
                frame, 1000 / frame, field, 100 * field / frame, smoke, 100 * smoke / frame);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    std::string error;
    if (!offscreenOpen(&error)) {
        std::fprintf(stderr, "kelvaster-prepasses: %s\n", error.c_str());
        return 1;
    }
    if (!startShowGraphics(&error)) {
        std::fprintf(stderr, "kelvaster-prepasses: %s\n", error.c_str());
        return 1;
    }
    if (std::string(argv[1]) == "--time") {
        if (argc != 4) return usage();
        return timeSceneFour(std::atoi(argv[2]), std::strtof(argv[3], nullptr));
    }
    const std::string dir = argv[1];
    for (int i = 2; i < argc; ++i) {
        const float t = std::strtof(argv[i], nullptr);
        // The first draw leaves the clear colour the frame before t would have left.
        drawShow(t);
        drawShow(t);
        std::vector<unsigned char> rgb;
        offscreenReadFrame(rgb);
        const std::string tag = std::string("_") + argv[i] + ".png";
        if (!writePng(dir + "/frame" + tag, kFrameWidth, kFrameHeight, rgb.data()) ||
            !writeTexture(tex::cubeFieldPicture, 512, dir + "/target6" + tag) ||
            !writeTexture(tex::smokePicture, 512, dir + "/target7" + tag)) {
            std::fprintf(stderr, "kelvaster-prepasses: cannot write into %s\n", dir.c_str());
            return 1;
        }
    }
    return 0;
}
