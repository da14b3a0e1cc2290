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

EMSCRIPTEN_KEEPALIVE void kv_advance(unsigned playMs, double totalMs) {
    advanceShow(showClock(playMs, totalMs));
}

// What the scenes carry from frame to frame, back to how a fresh start finds it.
EMSCRIPTEN_KEEPALIVE void kv_reset() {
    showState = ShowState{};
}

} // extern "C"
