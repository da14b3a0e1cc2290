// The pixels our line test lights on WebGL must be exactly the pixels the native
// renderer's lines cover.
#include "platform/webgl/fixed_function.h"
#include "platform/webgl/line_pixels.h"
#include "tools/offscreen/offscreen.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

// Marks the pixels the line lights, trying every pixel of its quad's bounding box.
void light(const webgl::LineQuad& quad, std::vector<unsigned char>& pixels) {
    int lo[2] = {quad.x(0), quad.y(0)}, hi[2] = {quad.x(0), quad.y(0)};
    for (int i = 1; i < 4; ++i) {
        lo[0] = std::min(lo[0], quad.x(i)), hi[0] = std::max(hi[0], quad.x(i));
        lo[1] = std::min(lo[1], quad.y(i)), hi[1] = std::max(hi[1], quad.y(i));
    }
    for (int y = std::max(0, lo[1] / 256 - 1); y <= std::min(599, hi[1] / 256 + 1); ++y)
        for (int x = std::max(0, lo[0] / 256 - 1); x <= std::min(799, hi[0] / 256 + 1); ++x)
            if (webgl::lineCovers(quad, x, y)) pixels[size_t(y) * 800 + x] = 1;
}

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
            webgl::LineQuad quad;
            if (webgl::lineQuad(nativeWindow(along(a, b, t0, 0), along(a, b, t0, 1)),
                                nativeWindow(along(b, a, t1, 0), along(b, a, t1, 1)), quad))
                light(quad, ours);
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
        {100, 200, 300, 200},      {100, 200.5f, 300, 200.5f}, {300, 200, 100, 200},
        {100.5f, 50, 100.5f, 250}, {100, 50, 100, 250},        {100, 250, 100, 50},
        {-400, 300, 1200, 300},    {400, -300, 400, 900},      {10.25f, 10.75f, 90.25f, 10.75f},
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

namespace {

// The pixels of the lines the pipeline sends, as the line shader decides them.
class PixelSink : public webgl::DrawSink {
  public:
    std::vector<unsigned char> pixels = std::vector<unsigned char>(800 * 600, 0);
    void draw(const webgl::Batch& b) override {
        for (size_t i = 0; i < b.lineCount; ++i) light(b.lines[i].quad, pixels);
    }
};

// The same calls to the native GL and to our pipeline: a perspective camera looking at a
// wire of line strips, some of which cross the near plane and the screen's edges.
template <typename Gl> void drawWires(Gl& gl, float turn, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> coord(-300.0f, 300.0f);
    gl.perspective(60.0, 1.3333333333333333, 1.0, 3000.0);
    gl.lookAt(0, 100, 400, 0, 0, 0, 0, 1, 0);
    gl.rotate(turn, 0.3f, 1.0f, 0.2f);
    for (int strip = 0; strip < 40; ++strip) {
        gl.begin(strip % 2 ? GL_LINE_LOOP : GL_LINE_STRIP);
        for (int i = 0; i < 5; ++i) gl.vertex(coord(random), coord(random), coord(random) * 2);
        gl.end();
    }
}

struct NativeGl {
    void perspective(double f, double a, double n, double z) {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(f, a, n, z);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    void lookAt(double ex, double ey, double ez, double cx, double cy, double cz, double ux,
                double uy, double uz) {
        gluLookAt(ex, ey, ez, cx, cy, cz, ux, uy, uz);
    }
    void rotate(float a, float x, float y, float z) { glRotatef(a, x, y, z); }
    void begin(GLenum mode) { glBegin(mode); }
    void vertex(float x, float y, float z) { glVertex3f(x, y, z); }
    void end() { glEnd(); }
};

struct OurGl {
    webgl::FixedFunction& ff;
    void perspective(double f, double a, double n, double z) {
        ff.matrixMode(GL_PROJECTION);
        ff.loadIdentity();
        ff.multMatrix(webgl::perspective(f, a, n, z));
        ff.matrixMode(GL_MODELVIEW);
        ff.loadIdentity();
    }
    void lookAt(double ex, double ey, double ez, double cx, double cy, double cz, double ux,
                double uy, double uz) {
        ff.multMatrix(webgl::lookAt(ex, ey, ez, cx, cy, cz, ux, uy, uz));
    }
    void rotate(float a, float x, float y, float z) { ff.multMatrix(webgl::rotation(a, x, y, z)); }
    void begin(GLenum mode) { ff.begin(mode); }
    void vertex(float x, float y, float z) { ff.vertex(x, y, z); }
    void end() { ff.end(); }
};

TEST_F(LineCoverage, PerspectiveWiresThroughThePipeline) {
    for (unsigned seed = 1; seed <= 6; ++seed) {
        const float turn = float(seed) * 37.0f;
        glViewport(0, 0, 800, 600);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_LIGHTING);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glColor3f(1, 1, 1);
        NativeGl native;
        drawWires(native, turn, seed);
        std::vector<unsigned char> rgb;
        offscreenReadFrame(rgb);

        PixelSink sink;
        auto ff = std::make_unique<webgl::FixedFunction>(sink, 600); // too big for the stack
        ff->viewport(0, 0, 800, 600);
        OurGl ours{*ff};
        drawWires(ours, turn, seed);
        ff->flush();
        int wrong = 0, lit = 0;
        for (size_t i = 0; i < sink.pixels.size(); ++i) {
            lit += rgb[i * 3] > 127;
            wrong += (rgb[i * 3] > 127) != (sink.pixels[i] != 0);
        }
        EXPECT_GT(lit, 1000) << "seed " << seed;
        EXPECT_EQ(wrong, 0) << "seed " << seed << ": " << wrong << " of " << lit << " pixels";
    }
}

} // namespace
