// The show as a WebAssembly module: the page owns the music and the frame loop and calls in
// here with the play position; everything drawn is the native program's own scene code.
#include "platform/webgl/webgl_context.h"
#include "show/graphics.h"
#include "show/show.h"

#include <GL/gl.h>
#include <emscripten/emscripten.h>

#include <cstdio>

extern "C" {

// The GL context on the page's canvas, then the graphics start-up; 0 when the show can draw.
EMSCRIPTEN_KEEPALIVE int kv_init() {
    if (!openWebGLContext("#canvas")) return 1;
    const GraphicsStart start = initGraphics();
    if (!start.ok()) {
        std::printf("%s %s\n", start.picture, startErrorMessage(start.status));
        return 1;
    }
    return 0;
}

// Draws the frame at the play position; 1 once the show has reached its end.
EMSCRIPTEN_KEEPALIVE int kv_frame(unsigned playMs, double totalMs) {
    const float t = showClock(playMs, totalMs);
    drawShow(t);
    glFlush();
    return showHasEnded(t) ? 1 : 0;
}

// A still: the page runs up to it as a run at 60 frames a second would, on the show's own clock.
constexpr FrameRate kStillRate = {60, 1};

EMSCRIPTEN_KEEPALIVE float kv_show_clock(unsigned playMs, double totalMs) {
    return showClock(playMs, totalMs);
}

EMSCRIPTEN_KEEPALIVE unsigned kv_play_ms_at_clock(float t, double totalMs) {
    return firstPlayMsAtClock(t, totalMs);
}

EMSCRIPTEN_KEEPALIVE unsigned kv_frame_play_ms(double k) {
    return framePlayMs(int64_t(k), kStillRate);
}

EMSCRIPTEN_KEEPALIVE double kv_frames_before(unsigned playMs) {
    return double(firstFrameFrom(playMs, kStillRate));
}

// Every frame of the run before frame `before`, the last of them drawn.
EMSCRIPTEN_KEEPALIVE void kv_run_up_to(double before, double totalMs) {
    for (int64_t k = 0; k < int64_t(before); ++k)
        if (stepTowards(k, int64_t(before), kStillRate, totalMs)) glFlush();
}

// What the scenes carry from frame to frame, back to how a fresh start finds it.
EMSCRIPTEN_KEEPALIVE void kv_reset() {
    showState = ShowState{};
}

} // extern "C"
