// The passes a frame leaves out, and the render targets it copies into in place, change no
// pixel: each frame is compared with the same frame drawn the long way.
#include "gfx/screen_passes.h"
#include "gfx/textures.h"
#include "scenes/scene1/title.h"
#include "scenes/scene2/cube_field.h"
#include "scenes/scene3/cube_field_picture.h"
#include "scenes/scene3/screen_overlays.h"
#include "show/show.h"
#include "tests/support/offscreen_fixture.h"

#include <cmath>

namespace {

// The frame before t in a run at about 60 frames a second.
constexpr float kFrameStep = 0.0001f;

// The first float at or above a threshold of the show clock.
float firstAtOrAbove(double threshold) {
    float f = static_cast<float>(threshold);
    while (double(f) < threshold) f = std::nextafter(f, 1.0f);
    while (double(std::nextafter(f, 0.0f)) >= threshold) f = std::nextafter(f, 0.0f);
    return f;
}

// The frames right after each scene change and on both sides of scene three's halves.
std::vector<float> edgeFrames() {
    const float secondHalf = firstAtOrAbove(0.599523);
    return {0.05f, firstAtOrAbove(0.100144),         0.2f,       firstAtOrAbove(0.299523),
            0.45f, std::nextafter(secondHalf, 0.0f), secondHalf, 0.6f,
            0.7f,  firstAtOrAbove(0.899144),         0.95f};
}

class UnseenPasses : public OffscreenTest {
  protected:
    void SetUp() override { start = showState; }
    void TearDown() override { showState = start; }

    // The frame at t after the frame before it, from the same carried state each time; the
    // GL state the frame before leaves (clear colour, projection) is part of what t starts
    // from. `beforeT` runs between the two.
    template <typename Between> Pixels drawAt(float t, Between beforeT) {
        showState = start;
        drawShow(t - kFrameStep);
        beforeT();
        drawShow(t);
        return frame();
    }
    Pixels drawAt(float t) {
        return drawAt(t, [] {});
    }

    // Gives every render target back the small RGBA image it is made with, so that the next
    // copy into each defines it anew, as every copy did before targets kept their storage.
    static void remakeTargets() {
        static const unsigned char zeros[128 * 128 * 4] = {};
        for (GLuint name : {tex::sceneOneGlow, tex::sceneTwoGlow, tex::lateScenesGlow,
                            tex::cubeFieldPicture, tex::smokePicture, tex::wallPicture}) {
            glBindTexture(GL_TEXTURE_2D, name);
            glTexImage2D(GL_TEXTURE_2D, 0, 4, 128, 128, 0, GL_RGBA, GL_UNSIGNED_BYTE, zeros);
        }
        glBindTexture(GL_TEXTURE_2D, 0);
    }

    // Fills a render target with one grey at the size and format its pass gives it, so that
    // the pass copies into it in place.
    static void fillTarget(GLuint name, int side, unsigned char grey, GLenum format = GL_RGB) {
        std::vector<unsigned char> pixels(size_t(side) * side * 3, grey);
        glBindTexture(GL_TEXTURE_2D, name);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GLint(format), side, side, 0, format, GL_UNSIGNED_BYTE,
                     pixels.data());
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glBindTexture(GL_TEXTURE_2D, 0);
    }

    // Every target at its size and format, holding a grey that no frame puts where the window
    // is not copied: if any of it were sampled, the frame would show it.
    static void greyTargets() {
        for (GLuint name : {tex::sceneOneGlow, tex::sceneTwoGlow, tex::lateScenesGlow})
            fillTarget(name, 1024, 77);
        fillTarget(tex::cubeFieldPicture, 512, 77);
        fillTarget(tex::smokePicture, 512, 77);
        fillTarget(tex::wallPicture, 256, 77, GL_LUMINANCE);
    }

    ShowState start;
};

// Only the part of each target the window fills is refreshed once the target has its size,
// and the rest is never sampled: the frame is the one a full redefinition of every target gives.
TEST_F(UnseenPasses, CopyingIntoKeptTargetsGivesTheFramesOfFreshOnes) {
    for (float t : edgeFrames()) {
        const Pixels fresh = drawAt(t, remakeTargets);
        const Pixels kept = drawAt(t, greyTargets);
        ASSERT_EQ(fresh.size(), kept.size());
        EXPECT_TRUE(fresh == kept) << "t " << t;
    }
}

// Before the wheels come nothing shows the smoke picture, so what smokePicture holds is not seen;
// from their first frame on it is, and the frame draws it afresh first.
TEST_F(UnseenPasses, SmokePictureIsUnseenUntilTheWheelsCome) {
    for (float t : edgeFrames()) {
        if (sceneFor(t) != 3 && sceneFor(t) != 4) continue;
        const Pixels dark = drawAt(t, [] { fillTarget(tex::smokePicture, 512, 0); });
        const Pixels bright = drawAt(t, [] { fillTarget(tex::smokePicture, 512, 255); });
        EXPECT_TRUE(dark == bright) << "t " << t;
    }
}

// Once cleared, the black fade drawn over the finished frame leaves it as it is.
TEST_F(UnseenPasses, ClearedBlackFadeChangesNothing) {
    const float cleared = firstAtOrAbove(0.609523);
    for (float t : {cleared, 0.75f, 0.899f}) {
        ASSERT_EQ(blackFadeAlpha(t), 0) << t;
        const Pixels without = drawAt(t);
        setOrthoProjection();
        drawBlackFade(t);
        EXPECT_TRUE(without == frame()) << "t " << t;
    }
    // Just before, it still darkens the frame, and the frame draws it.
    const float before = std::nextafter(cleared, 0.0f);
    EXPECT_GT(blackFadeAlpha(before), 0);
}

// At strength 0 the title, laid over the finished frame of scene one, leaves it as it is.
TEST_F(UnseenPasses, TitleWithoutStrengthChangesNothing) {
    for (float t : {0.005f, 0.08f, 0.1f}) {
        ASSERT_EQ(titleStrength(t), 0) << t;
        const Pixels without = drawAt(t);
        setOrthoProjection();
        drawTitle(t);
        EXPECT_TRUE(without == frame()) << "t " << t;
    }
}

// Rasterising only the corner that is kept gives the corner drawing the whole frame gives.
TEST_F(UnseenPasses, CubeFieldPictureIsTheCornerOfTheWholePicture) {
    for (float t : {0.45f, 0.7f, 0.93f}) {
        glClearColor(1, 1, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        setScenePerspective();
        glLoadIdentity();
        renderCubeFieldPicture(t);
        const Pixels corner = texture(tex::cubeFieldPicture, 512);

        // The whole picture, as the pass drew it before it was limited to the corner.
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        const double w = 25.0 * t;
        gluLookAt(500 * std::sin(w), -400, 500 * std::cos(w), 275, -500, 275, 0, 1, 0);
        glDisable(GL_LIGHTING);
        drawCubeField(t);
        glEnable(GL_LIGHTING);
        glLoadIdentity();
        glBindTexture(GL_TEXTURE_2D, tex::cubeFieldPicture);
        glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 0, 0, 512, 512, 0);
        const Pixels whole = texture(tex::cubeFieldPicture, 512);
        EXPECT_TRUE(corner == whole) << "t " << t;

        // And the frame the pass leaves is cleared whole.
        renderCubeFieldPicture(t);
        const Pixels after = frame();
        EXPECT_TRUE(
            std::all_of(after.begin(), after.end(), [](unsigned char v) { return v == 255; }))
            << "t " << t;
    }
}

} // namespace
