// The pixel runs that stand in for lines on WebGL must be exactly the pixels the native
// renderer's lines cover.
#include "platform/webgl/line_pixels.h"
#include "tools/offscreen/offscreen.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

struct Segment {
    float x1, y1, x2, y2; // window coordinates, y up, as GL's viewport puts them
};

// Where the native pipeline puts a point given in normalized device coordinates: with a fused
// multiply-add, as llvmpipe's generated vertex code does, and y counted from the top.
webgl::LinePoint nativeWindow(float ndcX, float ndcY) {
    return {std::fma(ndcX, 400.0f, 400.0f), std::fma(ndcY, -300.0f, 300.0f)};
}

class LineCoverage : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        std::string error;
        if (!offscreenOpen(&error)) GTEST_SKIP() << error;
    }

    // Pixels (top row first) the native renderer lights for the segments, one at a time.
    std::vector<unsigned char> drawNative(const Segment& s, float ndc[4]) {
        glViewport(0, 0, 800, 600);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_DEPTH_TEST);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glColor3f(1, 1, 1);
        ndc[0] = (s.x1 - 400.0f) / 400.0f;
        ndc[1] = (s.y1 - 300.0f) / 300.0f;
        ndc[2] = (s.x2 - 400.0f) / 400.0f;
        ndc[3] = (s.y2 - 300.0f) / 300.0f;
        glBegin(GL_LINES);
        glVertex2f(ndc[0], ndc[1]);
        glVertex2f(ndc[2], ndc[3]);
        glEnd();
        std::vector<unsigned char> rgb;
        offscreenReadFrame(rgb);
        return rgb;
    }

    // Pixels that differ between the native line and our runs.
    int mismatches(const Segment& s, std::string& where) {
        float ndc[4];
        const std::vector<unsigned char> rgb = drawNative(s, ndc);
        const float a[4] = {ndc[0], ndc[1], 0, 1}, b[4] = {ndc[2], ndc[3], 0, 1};
        std::vector<unsigned char> ours(800 * 600, 0);
        float t0, t1;
        if (webgl::clipLine(a, b, t0, t1)) {
            auto along = [](const float* from, const float* to, float t, int i) {
                return from[i] + t * (to[i] - from[i]);
            };
            webgl::PixelRun runs[2048];
            const size_t n =
                webgl::linePixelRuns(nativeWindow(along(a, b, t0, 0), along(a, b, t0, 1)),
                                     nativeWindow(along(b, a, t1, 0), along(b, a, t1, 1)), runs,
                                     2048);
            for (size_t i = 0; i < n; ++i)
                for (int y = std::max(0, runs[i].y0); y < std::min(600, runs[i].y1); ++y)
                    for (int x = std::max(0, runs[i].x0); x < std::min(800, runs[i].x1); ++x)
                        ours[size_t(y) * 800 + x] = 1;
        }
        int wrong = 0;
        for (int row = 0; row < 600; ++row)
            for (int col = 0; col < 800; ++col) {
                const bool lit = rgb[(size_t(row) * 800 + col) * 3] > 127;
                const bool mine = ours[size_t(row) * 800 + col] != 0;
                if (lit != mine && wrong++ == 0)
                    where = "pixel " + std::to_string(col) + "," + std::to_string(row) +
                            (lit ? " native only" : " runs only");
            }
        return wrong;
    }
};

TEST_F(LineCoverage, AxisAlignedLinesOnPixelCentresAndBoundaries) {
    const Segment cases[] = {
        {100, 200, 300, 200},     {100, 200.5f, 300, 200.5f}, {300, 200, 100, 200},
        {100.5f, 50, 100.5f, 250}, {100, 50, 100, 250},        {100, 250, 100, 50},
        {-400, 300, 1200, 300},   {400, -300, 400, 900},      {10.25f, 10.75f, 90.25f, 10.75f},
    };
    for (const Segment& s : cases) {
        std::string where;
        EXPECT_EQ(mismatches(s, where), 0)
            << s.x1 << "," << s.y1 << " to " << s.x2 << "," << s.y2 << ": " << where;
    }
}

TEST_F(LineCoverage, SlopedLinesInEveryDirection) {
    std::mt19937 random(14);
    std::uniform_real_distribution<float> x(-50.0f, 850.0f), y(-50.0f, 650.0f);
    int total = 0, lines = 0;
    std::string first;
    for (int i = 0; i < 200; ++i) {
        const Segment s = {x(random), y(random), x(random), y(random)};
        std::string where;
        const int wrong = mismatches(s, where);
        if (wrong && first.empty()) first = where;
        total += wrong;
        lines += wrong > 0;
    }
    EXPECT_EQ(total, 0) << lines << " of 200 lines differ; first at " << first;
}

TEST_F(LineCoverage, ShortLinesAroundOnePixel) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> jitter(-1.5f, 1.5f);
    int total = 0;
    std::string first;
    for (int i = 0; i < 200; ++i) {
        const float cx = 200.5f + jitter(random), cy = 100.5f + jitter(random);
        const Segment s = {cx, cy, cx + jitter(random), cy + jitter(random)};
        std::string where;
        const int wrong = mismatches(s, where);
        if (wrong && first.empty()) first = where;
        total += wrong;
    }
    EXPECT_EQ(total, 0) << "first at " << first;
}

} // namespace
