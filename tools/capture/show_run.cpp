#include "tools/capture/show_run.h"

#include "gfx/gl.h"
#include "shell/show.h"
#include "tools/capture/wall_clock.h"
#include "tools/offscreen/offscreen.h"

// A zero scissor box keeps every pixel as it was, so the frame costs its geometry and copies but
// no rasterising; nothing the scenes keep between frames lives in the framebuffer.
void ShowRun::drawAhead(bool hidden) {
    const double start = wallSeconds();
    if (hidden) {
        glScissor(0, 0, 0, 0);
        glEnable(GL_SCISSOR_TEST);
    }
    drawShow(frameClock(next_, rate_, totalMs_));
    if (hidden) glDisable(GL_SCISSOR_TEST);
    glFinish();
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
