// The show as a WebAssembly module: the page owns the sound and the frame loop and calls in here
// with the play position; the frame's size, the clock, the music's length and everything drawn
// are the native program's own code.
#include "gfx/frame.h"
#include "platform/web/message_box.h"
#include "platform/webgl/webgl_context.h"
#include "show/data_files.h"
#include "show/graphics.h"
#include "show/show.h"
#include "tools/offscreen/music_length.h"

#include <GL/gl.h>
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <cstdio>
#include <string>

namespace {

// A still is drawn as a run at 60 frames a second would have drawn it.
constexpr FrameRate kStillRate = {60, 1};

MusicInfo music;
std::string musicError;

} // namespace

extern "C" {

// The canvas at the frame's size, its GL context, then the graphics start-up; 0 when the show
// can draw.
EMSCRIPTEN_KEEPALIVE int kv_init() {
    emscripten_set_canvas_element_size("#canvas", kFrameWidth, kFrameHeight);
    if (!openWebGLContext("#canvas")) return 1;
    const GraphicsStart start = initGraphics();
    if (!start.ok()) {
        std::printf("%s %s\n", start.picture, startErrorMessage(start.status));
        return 1;
    }
    return 0;
}

// The music the page has written where the native program reads it, read as the engine reads
// it: the length in milliseconds, or 0 when the engine refuses it (kv_music_error says why).
EMSCRIPTEN_KEEPALIVE double kv_music_length() {
    clearMessageBoxText();
    music = MusicInfo{};
    if (readMusicInfo(data_files::kMusic, music, &musicError)) return music.totalMs;
    // The engine's own words where it had any, as the native program would have shown them.
    if (!lastMessageBoxText().empty()) musicError = lastMessageBoxText();
    music = MusicInfo{};
    return 0;
}

// The sample rate of the music last read, so that the page plays it without resampling.
EMSCRIPTEN_KEEPALIVE unsigned kv_music_rate() {
    return music.samplesPerSec;
}

EMSCRIPTEN_KEEPALIVE const char* kv_music_error() {
    return musicError.c_str();
}

// Draws the frame at the play position; 1 once the show has reached its end.
EMSCRIPTEN_KEEPALIVE int kv_frame(unsigned playMs, double totalMs) {
    const float t = showClock(playMs, totalMs);
    drawShow(t);
    glFlush();
    return showHasEnded(t) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE unsigned kv_frame_play_ms(double k) {
    return framePlayMs(int64_t(k), kStillRate);
}

// Every frame of the run before frame `before`, the last of them drawn.
EMSCRIPTEN_KEEPALIVE void kv_run_up_to(double before, double totalMs) {
    for (int64_t k = 0; k < int64_t(before); ++k)
        if (stepTowards(k, int64_t(before), kStillRate, totalMs)) glFlush();
}

// How the page names a still's moment.
enum StillBy { kStillFrame = 0, kStillPlayMs = 1, kStillClock = 2 };

// A still: frame k of the run, the moment at a play position, or the first frame whose clock is
// at or past t; the run's frames before it move the carried state on and the last of them is
// drawn whole. The frames before the moment, or -1 for a moment past the show's last frame.
EMSCRIPTEN_KEEPALIVE double kv_still(int by, double value, double totalMs) {
    if (!(value >= 0)) return -1;
    const int64_t last = lastFrame(kStillRate, totalMs);
    int64_t before = -1;
    float t = 0;
    if (by == kStillFrame && value <= double(last)) {
        before = int64_t(value);
        t = frameClock(before, kStillRate, totalMs);
    } else if (by == kStillPlayMs && value <= framePlayMs(last, kStillRate)) {
        const uint32_t playMs = uint32_t(value);
        before = firstFrameFrom(playMs, kStillRate);
        t = showClock(playMs, totalMs);
    } else if (by == kStillClock && float(value) <= frameClock(last, kStillRate, totalMs)) {
        before = firstFrameAtClock(float(value), kStillRate, totalMs, last);
        t = frameClock(before, kStillRate, totalMs);
    }
    if (before < 0 || last < 0) return -1;
    kv_run_up_to(double(before), totalMs);
    drawShow(t);
    glFlush();
    return double(before);
}

// What the scenes carry from frame to frame, back to how a fresh start finds it.
EMSCRIPTEN_KEEPALIVE void kv_reset() {
    showState = ShowState{};
}

} // extern "C"
