#include "tools/offscreen/show_run.h"

#include "gfx/gl.h"
#include "show/show.h"
#include "tools/offscreen/wall_clock.h"
#include "tools/offscreen/offscreen.h"

void ShowRun::stepAhead(int64_t target) {
    const double start = wallSeconds();
    if (stepTowards(next_, target, rate_, totalMs_)) glFinish();
    times_.skipped += wallSeconds() - start;
    ++times_.skippedFrames;
    ++next_;
}

void ShowRun::timed(float t, std::vector<unsigned char>& rgb) {
    const int scene = sceneFor(t);
    const double start = wallSeconds();
    drawShow(t);
    glFinish();
    const double drawn = wallSeconds();
    offscreenReadFrame(rgb);
    times_.drawing[scene] += drawn - start;
    times_.readBack[scene] += wallSeconds() - drawn;
    ++times_.frames[scene];
}

void ShowRun::drawFrame(int64_t k, std::vector<unsigned char>& rgb) {
    skipTo(k, [](int64_t) {});
    timed(frameClock(k, rate_, totalMs_), rgb);
    ++next_;
}

void ShowRun::drawAt(float t, std::vector<unsigned char>& rgb) {
    timed(t, rgb);
}
