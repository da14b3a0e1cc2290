// scene3-preview: plays scene three frame after frame, as a run of the show would, and saves
// the frames at the asked show clocks; or times its frames and passes.
#include "gfx/textures.h"
#include "scenes/scene3/disc_carousel.h"
#include "scenes/scene3/tracer_paths.h"
#include "shell/graphics.h"
#include "shell/show.h"
#include "tools/offscreen/offscreen.h"
#include "tools/scene3_preview/pass_timing.h"

#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: scene3-preview [-s seconds] [-f fps] [-full] <prefix> <t>...\n"
                 "         saves <prefix>-<t>.png, the frame a run at fps frames a second of\n"
                 "         music seconds long shows at show clock t (defaults 200 s, 60 fps)\n"
                 "       scene3-preview -b [-s seconds] [-f fps] [-n frames] <t>...\n"
                 "         times n consecutive frames from each t, and each pass of them\n"
                 "Run from the build folder, beside Data/.\n");
    return 2;
}

struct Options {
    double seconds = 200, fps = 60;
    bool bench = false, full = false;
    int frames = 120;
    std::string prefix;
    std::vector<float> times;
};

// The clock of frame k of a run, as the shell forms it from whole milliseconds played.
float clockAt(long k, const Options& o) {
    return showClock(static_cast<DWORD>(std::llround(k * 1000 / o.fps)), o.seconds * 1000);
}
long frameAt(double t, const Options& o) {
    return static_cast<long>(t * o.seconds * o.fps);
}

// What scene three carries from frame to frame, without drawing: the clock stamp, the walk
// and the carousel. The probe of the cube walls needs only the frame before, which is drawn.
void advanceOnly(float t) {
    const float scaled = t * 1000000.0f;
    const float step = scaled - clockStamp;
    clockStamp = scaled;
    walkTracer(step);
    advanceCarousel(t);
}

int preview(const Options& o) {
    std::vector<float> want = o.times;
    std::sort(want.begin(), want.end());
    // Start with scene two's last frame, which leaves the clock stamp scene three starts from.
    long k = frameAt(0.299523, o);
    while (clockAt(k, o) >= 0.299523) --k;
    drawShow(clockAt(k, o));
    std::vector<unsigned char> rgb;
    for (float target : want) {
        const long last = std::max(frameAt(target, o), k + 1);
        for (++k; k <= last; ++k) {
            const float t = clockAt(k, o);
            if (o.full || k >= last - 2)
                drawShow(t);
            else
                advanceOnly(t);
        }
        --k;
        offscreenReadFrame(rgb);
        char name[64];
        std::snprintf(name, sizeof name, "-%.6f.png", target);
        const std::string path = o.prefix + name;
        if (!writePng(path, kFrameWidth, kFrameHeight, rgb.data())) {
            std::fprintf(stderr, "scene3-preview: cannot write %s\n", path.c_str());
            return 1;
        }
        std::printf("%s: t = %.6f, tracer at waypoint %d of 102, carousel state %d\n", path.c_str(),
                    clockAt(k, o), int(tracerIndex), int(carouselState));
    }
    return 0;
}

int bench(const Options& o) {
    using Clock = std::chrono::steady_clock;
    for (float from : o.times) {
        long k = frameAt(from, o);
        for (long w = k - 30; w < k; ++w) drawShow(clockAt(w, o)); // carried state and caches
        glFinish();
        const Clock::time_point begin = Clock::now();
        for (int i = 0; i < o.frames; ++i) {
            drawShow(clockAt(k + i, o));
            glFinish();
        }
        const double whole =
            std::chrono::duration<double, std::milli>(Clock::now() - begin).count() / o.frames;
        double ms[kSceneThreePasses] = {};
        for (int i = 0; i < o.frames; ++i) drawSceneThreeTimed(clockAt(k + o.frames + i, o), ms);
        std::printf("t %.3f to %.3f: %.1f ms a frame, %.1f frames a second\n", from,
                    clockAt(k + 2 * o.frames, o), whole, 1000 / whole);
        for (int p = 0; p < kSceneThreePasses; ++p)
            std::printf("  %-20s %7.2f ms\n", sceneThreePassNames[p], ms[p] / o.frames);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    Options o;
    int i = 1;
    for (; i < argc && argv[i][0] == '-'; ++i) {
        const bool hasValue = i + 1 < argc;
        if (!std::strcmp(argv[i], "-b"))
            o.bench = true;
        else if (!std::strcmp(argv[i], "-full"))
            o.full = true;
        else if (!std::strcmp(argv[i], "-s") && hasValue)
            o.seconds = std::atof(argv[++i]);
        else if (!std::strcmp(argv[i], "-f") && hasValue)
            o.fps = std::atof(argv[++i]);
        else if (!std::strcmp(argv[i], "-n") && hasValue)
            o.frames = std::atoi(argv[++i]);
        else
            return usage();
    }
    if (!o.bench) {
        if (i >= argc) return usage();
        o.prefix = argv[i++];
    }
    for (; i < argc; ++i) {
        const float t = std::strtof(argv[i], nullptr);
        if (t < 0.299523 || t >= 0.899144) {
            std::fprintf(stderr, "scene3-preview: %s is outside scene three\n", argv[i]);
            return 2;
        }
        o.times.push_back(t);
    }
    if (o.times.empty() || o.seconds <= 0 || o.fps <= 0 || o.frames <= 0) return usage();

    std::string error;
    if (!offscreenOpen(&error)) {
        std::fprintf(stderr, "scene3-preview: %s\n", error.c_str());
        return 1;
    }
    initGraphics();
    return o.bench ? bench(o) : preview(o);
}
