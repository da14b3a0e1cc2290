#include "gfx/textures.h"
#include "scenes/scene3/camera.h"
#include "scenes/scene3/scene3.h"
#include "tests/support/alloc_counter.h"
#include "tests/support/glrec.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

SceneThreeState state;

// One frame at t, a frame of a steady run after the one before.
void drawFrame(float t) {
    drawSceneThree(advanceSceneThree(state, t, 16.7f), t);
}

class SceneThree : public ::testing::Test {
  protected:
    void SetUp() override {
        glrec::reset();
        tex::floorCubeSkin = 3, tex::lateScenesGlow = 11, tex::cubeFieldPicture = 12,
        tex::wheelFace = 13, tex::smokePuff = 14, tex::structureSkin = 15, tex::smokePicture = 16,
        tex::hubMark = 17;
        state = SceneThreeState{};
    }

    // Index of the first call named `name` whose arguments start with `args`, from `from`.
    static long findWith(const std::string& name, std::vector<double> args, size_t from = 0) {
        const auto& calls = glrec::calls();
        for (size_t i = from; i < calls.size(); ++i)
            if (calls[i].name == name &&
                std::equal(args.begin(), args.end(), calls[i].args.begin()))
                return long(i);
        return -1;
    }
    // The texture bound when call i was made.
    static double boundAt(long i) {
        for (long k = i; k >= 0; --k)
            if (glrec::calls()[k].name == "glBindTexture") return glrec::calls()[k].arg(1);
        return -1;
    }
};

struct Shot {
    float t;
    std::array<float, 3> eye, centre;
};

TEST_F(SceneThree, CameraTakesTheWindowThatHoldsTheClockFromItsLowerBoundOn) {
    // Each window's bound, and the float just below it; values worked out apart from the code.
    const Shot shots[] = {
        {0.2995230257511139f, {-199.41388f, 700.07f, -199.41388f}, {100, 0, 100}},
        {0.3501129746437073f, {73.480782f, 700.07f, 73.480782f}, {100, 0, 100}},
        {0.35011300444602966f, {3.6740389f, 600, 120.98156f}, {0, 200, 400}},
        {0.4492909908294678f, {-9.326685f, 600, 508.2204f}, {0, 200, 400}},
        {0.44929102063179016f, {0, -390, 0}, {-511.0076f, 300, 615.52515f}},
        {0.49967899918556213f, {0, -390, 0}, {-335.8136f, 300, -726.10553f}},
        {0.4996790289878845f, {68.048439f, 897.42377f, 897.42377f}, {0, 0, 0}},
        {0.7f, {875.36072f, -209.14958f, -209.14958f}, {0, 0, 0}},
    };
    for (const Shot& s : shots) {
        const SceneThreeCamera cam = sceneThreeCamera(s.t);
        for (int k = 0; k < 3; ++k) {
            EXPECT_FLOAT_EQ(cam.eye[k], s.eye[k]) << "t " << s.t << " eye " << k;
            EXPECT_FLOAT_EQ(cam.centre[k], s.centre[k]) << "t " << s.t << " centre " << k;
        }
    }
}

TEST_F(SceneThree, AFrameDrawsTheWalkAfterItsStepAndTheProbeBeforeItsMove) {
    const SceneThreeFrame first = advanceSceneThree(state, 0.2996f, 150);
    EXPECT_EQ(first.tracer.tracerHead.x, 15) << "a tenth of the step";
    EXPECT_TRUE(first.carousel.leading);
    EXPECT_EQ(first.probe.z, 0) << "the probe where the show starts it";
    EXPECT_NEAR(state.probePoint.z, 300 * std::cos(300 * 0.2996), 0.01) << "moved on for the next";

    const SceneThreeFrame second = advanceSceneThree(state, 0.2997f, 100);
    EXPECT_EQ(second.tracer.tracerHead.x, 25);
    EXPECT_NEAR(second.probe.z, 300 * std::cos(300 * 0.2996), 0.01);
}

TEST_F(SceneThree, FirstHalfFrameRunsItsPassesInOrderOnWhite) {
    const float t = 0.45f;
    drawFrame(t);
    // No smoke picture: nothing shows smokePicture before the wheels come.
    const auto copies = glrec::named("glCopyTexImage2D");
    ASSERT_EQ(copies.size(), 2u);
    const long c0 = glrec::find("glCopyTexImage2D"), c2 = glrec::find("glCopyTexImage2D", c0 + 1);
    EXPECT_EQ(boundAt(c0), tex::cubeFieldPicture);
    EXPECT_EQ(boundAt(c2), tex::lateScenesGlow);
    EXPECT_EQ(copies[1].arg(5), 1024);
    EXPECT_EQ(findWith("glBindTexture", {GL_TEXTURE_2D, double(tex::smokePuff)}), -1);
    EXPECT_EQ(findWith("glBindTexture", {GL_TEXTURE_2D, double(tex::smokePicture)}), -1);

    // The white clear, then the camera, the light, and the tracer's paths drawn first.
    const long lookAt = glrec::find("gluLookAt", c0);
    long clearColour = lookAt;
    while (--clearColour >= 0 && glrec::calls()[clearColour].name != "glClearColor") {
    }
    ASSERT_GT(clearColour, c0);
    EXPECT_EQ(glrec::calls()[clearColour].args, (std::vector<double>{1, 1, 1, 1}));
    EXPECT_LT(clearColour,
              findWith("glClear", {GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT}, clearColour));
    const SceneThreeCamera cam = sceneThreeCamera(t);
    EXPECT_EQ(glrec::calls()[lookAt].args,
              (std::vector<double>{cam.eye[0], cam.eye[1], cam.eye[2], cam.centre[0], cam.centre[1],
                                   cam.centre[2], 0, 1, 0}));
    const long lit = findWith("glEnable", {GL_LIGHTING}, lookAt);
    const long firstPath = findWith("glBegin", {GL_LINE_STRIP}, lookAt);
    EXPECT_LT(lit, firstPath);
    EXPECT_EQ(findWith("glBindTexture", {GL_TEXTURE_2D, double(tex::wheelFace)}), -1)
        << "no wheels";

    // The screen passes: zoom layers of lateScenesGlow, then the side bars and nothing else.
    const long ortho = glrec::find("glOrtho", lookAt);
    EXPECT_LT(ortho, c2);
    EXPECT_EQ(findWith("glBegin", {GL_POLYGON}, ortho), -1) << "bullseyes are over";
    const long zoom = findWith("glBegin", {GL_QUADS}, c2);
    const long bars = findWith("glTranslatef", {-350, 0, 0}, zoom);
    EXPECT_GT(bars, zoom);
    long drawnAfter = 0;
    for (long i = bars; i >= 0; i = glrec::find("glDrawArrays", i + 1)) ++drawnAfter;
    EXPECT_EQ(drawnAfter - 1, 2) << "the two bars, no strobe, no fade";
    EXPECT_EQ(glrec::state().clearColor[0], 1);
}

TEST_F(SceneThree, SecondHalfAddsWheelsSmokeStrobeAndFadeOnBlack) {
    const float t = 0.599523f; // already the second half
    drawFrame(t);
    const long c1 = glrec::find("glCopyTexImage2D", glrec::find("glCopyTexImage2D") + 1);
    const long clearColour = glrec::find("glClearColor", c1);
    EXPECT_EQ(glrec::calls()[clearColour].args, (std::vector<double>{0, 0, 0, 0}));

    const long wheels = findWith("glBindTexture", {GL_TEXTURE_2D, double(tex::wheelFace)}, c1);
    const long walls = findWith("glTranslatef", {0, -125, 0}, c1);
    const long blackClear = findWith("glClearColor", {0, 0, 0, 1}, c1);
    const long smoke = findWith("glBindTexture", {GL_TEXTURE_2D, double(tex::smokePuff)}, c1);
    const long ortho = glrec::find("glOrtho", c1);
    ASSERT_GT(wheels, 0);
    EXPECT_LT(wheels, walls);
    EXPECT_LT(walls, blackClear);
    EXPECT_LT(blackClear, smoke);
    EXPECT_LT(findWith("glEnable", {GL_DEPTH_TEST}, smoke), ortho);

    // The fade is the last thing drawn, fully black.
    const long fade = findWith("glTranslatef", {0, 0, 2}, ortho);
    ASSERT_GT(fade, findWith("glTranslatef", {-350, 0, 0}, ortho));
    const long fadeColour = glrec::find("glColor4f", fade);
    EXPECT_GT(glrec::calls()[fadeColour].arg(3), 1 - 1e-6);
    EXPECT_EQ(glrec::find("glDrawArrays", glrec::find("glDrawArrays", fade) + 1), -1);

    // Left for the next frame: the black clear and the scene's perspective.
    EXPECT_EQ(glrec::state().clearColor[3], 1);
    EXPECT_EQ(glrec::state().clearColor[0], 0);
    const auto tail = glrec::names();
    EXPECT_EQ(std::vector<std::string>(tail.end() - 4, tail.end()),
              (std::vector<std::string>{"glMatrixMode", "glLoadIdentity", "gluPerspective",
                                        "glMatrixMode"}));
    EXPECT_EQ(glrec::named("gluPerspective").back().args,
              (std::vector<double>{60, 1.3333333333333333, 1, 2500}));
    EXPECT_EQ(glrec::state().matrixMode, GLenum(GL_MODELVIEW));
    EXPECT_EQ(glrec::state().modelview.size(), 1u);
    EXPECT_EQ(glrec::state().projection.size(), 1u);
}

// The first float of the show clock at or above a threshold, and the one before it.
float firstAtOrAbove(double threshold) {
    float f = static_cast<float>(threshold);
    while (double(f) < threshold) f = std::nextafter(f, 1.0f);
    while (double(std::nextafter(f, 0.0f)) >= threshold) f = std::nextafter(f, 0.0f);
    return f;
}

TEST_F(SceneThree, SmokePictureComesWithTheWheels) {
    const float first = firstAtOrAbove(0.599523);
    for (float t : {first, std::nextafter(first, 0.0f)}) {
        glrec::reset();
        drawFrame(t);
        const bool wheels = findWith("glBindTexture", {GL_TEXTURE_2D, double(tex::wheelFace)}) >= 0;
        const long smokeCopy = findWith("glCopyTexImage2D", {GL_TEXTURE_2D, 0, GL_RGB, 0, 0, 512});
        const long layers = findWith("glBindTexture", {GL_TEXTURE_2D, double(tex::smokePuff)});
        EXPECT_EQ(wheels, t == first) << t;
        EXPECT_EQ(layers >= 0, wheels) << t;
        EXPECT_EQ(glrec::count("glCopyTexImage2D"), wheels ? 3u : 2u) << t;
        if (wheels) {
            EXPECT_LT(layers, findWith("glBindTexture", {GL_TEXTURE_2D, double(tex::wheelFace)}));
            EXPECT_GE(smokeCopy, 0);
        }
        // Either way the 3-D effects start from the same ground: a cleared full-size frame
        // under the scene's perspective.
        const long lookAt = findWith("gluLookAt", {}, size_t(glrec::find("glCopyTexImage2D") + 1));
        long camera = lookAt;
        if (wheels) camera = glrec::find("gluLookAt", size_t(lookAt) + 1);
        const glrec::Call& look = glrec::calls()[size_t(camera)];
        EXPECT_NE(look.arg(2), 650) << "the camera, not the smoke picture's eye";
        long clear = camera;
        while (--clear >= 0 && glrec::calls()[size_t(clear)].name != "glClear") {
        }
        EXPECT_EQ(glrec::calls()[size_t(clear)].arg(0), GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        const long perspective = glrec::find("gluPerspective", size_t(camera));
        const long firstDraw = glrec::find("glEnd", size_t(camera));
        EXPECT_LT(perspective, firstDraw);
        EXPECT_EQ(glrec::calls()[size_t(firstDraw)].state.viewport[2], 800);
    }
}

TEST_F(SceneThree, BlackFadeStopsOnceItHasCleared) {
    // The fade's alpha reaches 0 at 0.609523; the frames on either side of that.
    const float cleared = firstAtOrAbove(0.609523);
    for (float t : {cleared, std::nextafter(cleared, 0.0f), 0.7f, 0.8990f}) {
        glrec::reset();
        drawFrame(t);
        const long ortho = glrec::find("glOrtho", size_t(glrec::find("glCopyTexImage2D")));
        const long fade = findWith("glTranslatef", {0, 0, 2}, size_t(ortho));
        const bool visible = t < cleared;
        EXPECT_EQ(fade >= 0, visible) << t;
        if (visible && fade >= 0) {
            const long colour = glrec::find("glColor4f", size_t(fade));
            EXPECT_GT(glrec::calls()[size_t(colour)].arg(3), 0) << t;
            EXPECT_GE(glrec::find("glDrawArrays", size_t(colour)), 0);
        }
    }
}

// Bullseye discs drawn over the picture: polygons between the screen projection and the copy.
size_t bullseyeDiscs(float t) {
    glrec::reset();
    drawFrame(t);
    const auto& calls = glrec::calls();
    long copy = -1;
    for (long i = 0; i >= 0; i = glrec::find("glCopyTexImage2D", i + 1)) copy = i;
    size_t n = 0;
    for (long i = copy; i >= 0 && calls[i].name != "glOrtho"; --i)
        n += calls[i].name == "glBegin" && calls[i].arg(0) == GL_POLYGON;
    return n;
}

TEST_F(SceneThree, BullseyesGoOnUpTo0315231Inclusive) {
    EXPECT_EQ(bullseyeDiscs(0.3f), 24u);
    EXPECT_EQ(bullseyeDiscs(0.315231f), 24u);
    EXPECT_EQ(bullseyeDiscs(std::nextafter(0.315231f, 1.0f)), 0u);
}

TEST_F(SceneThree, AFrameAllocatesNothing) {
    glrec::setRecording(false);
    for (float t : {0.3f, 0.45f, 0.61f, 0.8f}) {
        drawFrame(t - 0.0001f); // the first call may grow the stand-in's matrix stacks
        const size_t before = alloc_counter::count();
        drawFrame(t);
        EXPECT_EQ(alloc_counter::count() - before, 0u) << "t " << t;
    }
    glrec::setRecording(true);
}

} // namespace
