#include "tools/offscreen/show_run.h"

#include "gfx/gl.h"
#include "show/show.h"
#include "tools/offscreen/wall_clock.h"
#include "tools/offscreen/offscreen.h"

// Frames nobody sees only move the scenes' frame-to-frame state; the one just before the frame
// wanted is drawn whole, so the GL state it leaves (clear colour, projection) is a run's too.
void ShowRun::drawAhead(bool hidden) {
    const double start = wallSeconds();
    const float t = frameClock(next_, rate_, totalMs_);
    if (hidden) {
        advanceShow(t);
    } else {
        drawShow(t);
        glFinish();
    }
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
