#define GL_GLEXT_PROTOTYPES 1
#include "show/graphics.h"
#include "shell/scaled_frame.h"
#include "show/show.h"
#include "tools/offscreen/offscreen.h"

#include "gfx/gl.h"
#include <GL/glext.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

// Moments of scenes one, two and four, whose frames depend on the clock and on what earlier
// frames left in the render targets.
constexpr float kMoments[] = {0.02f, 0.06f, 0.15f, 0.25f, 0.93f, 0.97f};

std::vector<unsigned char> readFrame() {
    std::vector<unsigned char> rgb;
    offscreenReadFrame(rgb);
    return rgb;
}

// Scenes draw their pictures into a corner of the frame over what the last frame left there,
// so both runs start from the same empty framebuffer.
void wipeFramebuffer() {
    GLfloat clearColour[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearColor(clearColour[0], clearColour[1], clearColour[2], clearColour[3]);
}

TEST(ScaledFrame, TheFramebufferDrawsTheWindowsFrameAndShowsItUnchanged) {
    std::string error;
    ASSERT_TRUE(offscreenOpen(&error)) << error;
    ASSERT_TRUE(initGraphics().ok());
    wipeFramebuffer();
    std::vector<std::vector<unsigned char>> window;
    for (float t : kMoments) {
        drawShow(t);
        window.push_back(readFrame());
    }

    // The same frames from a fresh start, through the framebuffer.
    ASSERT_TRUE(initGraphics().ok());
    ASSERT_TRUE(startScaledFrame());
    wipeFramebuffer();
    setScaledWindowSize(800, 600);
    for (size_t i = 0; i < std::size(kMoments); ++i) {
        drawShowScaled(kMoments[i]);
        // Read back from the framebuffer the scenes drew and copied into ...
        EXPECT_TRUE(readFrame() == window[i]) << "drawn into the framebuffer at " << kMoments[i];
        // ... and from the window it was shown in, here at its own size.
        glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
        EXPECT_TRUE(readFrame() == window[i]) << "shown at " << kMoments[i];
    }
}

} // namespace
