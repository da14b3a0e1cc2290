// The GL 1.1 state the show relies on, as our pipeline works it out on the CPU: lighting with
// colour material, flat shading's provoking vertices, the matrix stacks, and which shapes can
// share one draw.
#include "platform/webgl/fixed_function.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Draw {
    webgl::RasterState state;
    std::vector<webgl::OutVertex> vertices;
    std::vector<uint16_t> indices;
    std::vector<webgl::OutLine> lines;
    std::string kinds; // one letter a run: q for quads, l for lines
};

class Recorder : public webgl::DrawSink {
  public:
    std::vector<Draw> draws;
    void draw(const webgl::Batch& b) override {
        Draw d{b.state, std::vector<webgl::OutVertex>(b.vertices, b.vertices + b.vertexCount),
               std::vector<uint16_t>(b.indices, b.indices + b.indexCount),
               std::vector<webgl::OutLine>(b.lines, b.lines + b.lineCount), ""};
        for (size_t r = 0; r < b.runCount; ++r) d.kinds += b.runs[r].lines ? 'l' : 'q';
        draws.push_back(d);
    }
};

class Pipeline : public ::testing::Test {
  protected:
    Recorder sink;
    std::unique_ptr<webgl::FixedFunction> gl =
        std::make_unique<webgl::FixedFunction>(sink, 600); // too big for the stack

    void SetUp() override { gl->viewport(0, 0, 800, 600); }

    void quad(float z = 0) {
        gl->begin(GL_QUADS);
        gl->vertex(-1, 1, z);
        gl->vertex(-1, -1, z);
        gl->vertex(1, -1, z);
        gl->vertex(1, 1, z);
        gl->end();
    }
    // The colour of the first vertex sent for the last shape.
    const float* firstColour() {
        gl->flush();
        return sink.draws.back().vertices.front().color;
    }
};

TEST_F(Pipeline, LightZeroWithColourMaterial) {
    gl->setEnabled(GL_LIGHTING, true);
    gl->setEnabled(GL_LIGHT0, true);
    gl->setEnabled(GL_COLOR_MATERIAL, true);
    gl->color(0.5f, 0.25f, 1.0f, 0.4f);
    quad(); // faces the light: 0.2 ambient + 1 diffuse
    const float* lit = firstColour();
    EXPECT_FLOAT_EQ(lit[0], 0.6f);
    EXPECT_FLOAT_EQ(lit[1], 0.3f);
    EXPECT_FLOAT_EQ(lit[2], 1.0f); // 1.2, clamped
    EXPECT_FLOAT_EQ(lit[3], 0.4f); // alpha is the material's diffuse alpha

    gl->multMatrix(webgl::rotation(60, 1, 0, 0)); // the normal turns 60 degrees from the light
    quad();
    EXPECT_NEAR(firstColour()[0], 0.1f + 0.5f * 0.5f, 1e-6);

    gl->loadIdentity();
    gl->multMatrix(webgl::rotation(180, 0, 1, 0)); // facing away: ambient only
    quad();
    EXPECT_NEAR(firstColour()[0], 0.1f, 1e-6);
}

TEST_F(Pipeline, WithoutColourMaterialTheDefaultMaterialIgnoresTheColour) {
    gl->setEnabled(GL_LIGHTING, true);
    gl->setEnabled(GL_LIGHT0, true);
    gl->color(0, 0, 0, 0.5f);
    quad();
    const float* lit = firstColour();
    EXPECT_FLOAT_EQ(lit[0], 0.2f * 0.2f + 0.8f);
    EXPECT_FLOAT_EQ(lit[3], 1.0f);

    gl->setEnabled(GL_LIGHT0, false); // scene ambient only
    quad();
    EXPECT_FLOAT_EQ(firstColour()[0], 0.04f);
}

TEST_F(Pipeline, UnlitColourIsClampedAndPassedOn) {
    gl->color(1.5f, -0.5f, 0.25f, 1.0f);
    quad();
    const float* c = firstColour();
    EXPECT_EQ(c[0], 1.0f);
    EXPECT_EQ(c[1], 0.0f);
    EXPECT_EQ(c[2], 0.25f);
}

// GL takes a flat shape's colour from its provoking vertex: the last of each quad, the first
// of a polygon; the smooth model keeps every vertex's own.
TEST_F(Pipeline, FlatShadingColoursEachShapeByItsProvokingVertex) {
    gl->shadeModel(GL_FLAT);
    gl->begin(GL_QUADS);
    for (int q = 0; q < 2; ++q)
        for (int i = 0; i < 4; ++i) {
            gl->color(0.1f * float(q * 4 + i), 0, 0, 1);
            gl->vertex(float(i % 2), float(i / 2), 0);
        }
    gl->end();
    gl->begin(GL_POLYGON);
    for (int i = 0; i < 5; ++i) {
        gl->color(0, 0.2f * float(i), 0, 1);
        gl->vertex(std::cos(float(i)), std::sin(float(i)), 0);
    }
    gl->end();
    gl->flush();
    ASSERT_EQ(sink.draws.size(), 1u);
    const std::vector<webgl::OutVertex>& v = sink.draws[0].vertices;
    ASSERT_EQ(v.size(), 8u + 5u); // two quads and a five-sided polygon, each vertex once
    for (size_t i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(v[i].color[0], 0.3f);
    for (size_t i = 4; i < 8; ++i) EXPECT_FLOAT_EQ(v[i].color[0], 0.7f);
    for (size_t i = 8; i < 13; ++i) EXPECT_FLOAT_EQ(v[i].color[1], 0.0f);
    // Each quad split as the native side splits it, the polygon as a fan from its first vertex.
    const std::vector<uint16_t> triangles = {0, 1, 3, 3,  1, 2,  4,  5, 7,  7, 5,
                                             6, 8, 9, 10, 8, 10, 11, 8, 11, 12};
    EXPECT_EQ(sink.draws[0].indices, triangles);

    sink.draws.clear();
    gl->shadeModel(GL_SMOOTH);
    gl->begin(GL_QUADS);
    for (int i = 0; i < 4; ++i) {
        gl->color(0.25f * float(i), 0, 0, 1);
        gl->vertex(float(i % 2), float(i / 2), 0);
    }
    gl->end();
    gl->flush();
    const std::vector<webgl::OutVertex>& s = sink.draws[0].vertices;
    EXPECT_FLOAT_EQ(s[1].color[0], 0.25f);
    EXPECT_FLOAT_EQ(s[2].color[0], 0.5f);
}

// A line's segments take the colour of the vertex that ends them; a loop's closing one that of
// its first vertex. Lines arrive as rectangles, never culled.
TEST_F(Pipeline, LineLoopsColourEachSegmentByItsEnd) {
    gl->shadeModel(GL_FLAT);
    gl->setEnabled(GL_CULL_FACE, true);
    gl->cullFace(GL_FRONT); // lines face the eye: culling their fronts must not apply
    gl->begin(GL_LINE_LOOP);
    const float corners[3][2] = {{-0.5f, -0.5f}, {0.5f, -0.5f}, {0.5f, 0.5f}};
    for (int i = 0; i < 3; ++i) {
        gl->color(float(i + 1) * 0.25f, 0, 0, 1);
        gl->vertex(corners[i][0], corners[i][1], 0);
    }
    gl->end();
    gl->flush();
    ASSERT_EQ(sink.draws.size(), 1u);
    EXPECT_FALSE(sink.draws[0].state.cull);
    const std::vector<webgl::OutLine>& lines = sink.draws[0].lines;
    ASSERT_EQ(lines.size(), 3u);
    // The first segment is horizontal, 400 pixels long, flat in its second vertex's colour.
    EXPECT_FLOAT_EQ(lines.front().color[0][0], 0.5f);
    EXPECT_FLOAT_EQ(lines.front().color[1][0], 0.5f);
    EXPECT_NEAR(std::abs(lines.front().quad.x1 - lines.front().quad.x0), 400 * 256, 256);
    // The closing segment, from (0.5, 0.5) back to (-0.5, -0.5), is drawn last.
    EXPECT_FLOAT_EQ(lines.back().color[0][0], 0.25f);
    EXPECT_FLOAT_EQ(lines.back().color[1][0], 0.25f);
}

TEST_F(Pipeline, VerticesLeaveInClipSpace) {
    gl->matrixMode(GL_PROJECTION);
    gl->multMatrix(webgl::perspective(60, 4.0 / 3.0, 1, 3000));
    gl->matrixMode(GL_MODELVIEW);
    gl->multMatrix(webgl::translation(0, 0, -10));
    quad();
    gl->flush();
    const webgl::OutVertex& first = sink.draws[0].vertices[0]; // (-1, 1, -10) in the eye
    EXPECT_NEAR(first.clip[3], 10.0f, 1e-5);
    EXPECT_NEAR(first.clip[1] / first.clip[3], 1.0 / (10 * std::tan(M_PI / 6)), 1e-6);
}

TEST_F(Pipeline, StacksIgnoreOverflowAndUnderflow) {
    gl->multMatrix(webgl::translation(1, 2, 3));
    gl->popMatrix(); // nothing to pop
    EXPECT_EQ(gl->modelview()[12], 1.0f);
    for (size_t i = 0; i < webgl::FixedFunction::kStackDepth + 5; ++i) gl->pushMatrix();
    gl->multMatrix(webgl::translation(1, 0, 0));
    for (size_t i = 0; i < webgl::FixedFunction::kStackDepth + 5; ++i) gl->popMatrix();
    EXPECT_EQ(gl->modelview()[12], 1.0f);
    gl->matrixMode(GL_PROJECTION);
    gl->pushMatrix();
    gl->multMatrix(webgl::translation(5, 0, 0));
    gl->popMatrix();
    EXPECT_EQ(gl->projection()[12], 0.0f);
}

// Shapes under one raster state share a draw whatever their matrices; a change of blending,
// texture or culling starts another. Texturing on with no texture bound draws untextured.
TEST_F(Pipeline, RunsOfShapesShareADrawUntilTheRasterStateChanges) {
    quad();
    gl->multMatrix(webgl::rotation(10, 0, 0, 1));
    quad();
    gl->setEnabled(GL_BLEND, true);
    quad();
    gl->blendFunc(GL_SRC_ALPHA, GL_ONE);
    quad();
    gl->setEnabled(GL_TEXTURE_2D, true);
    quad();
    gl->bindTexture(7);
    quad();
    gl->setEnabled(GL_TEXTURE_2D, false);
    quad();
    gl->setEnabled(GL_TEXTURE_2D, true);
    gl->bindTexture(8);
    quad();
    gl->flush();
    ASSERT_EQ(sink.draws.size(), 4u);
    EXPECT_EQ(sink.draws[0].vertices.size(), 8u);
    EXPECT_TRUE(sink.draws[1].state.blend);
    EXPECT_EQ(sink.draws[2].state.blendDst, GLenum(GL_ONE));
    // Untextured shapes (texturing with nothing bound too) join a textured batch as runs of
    // their own; another texture does not.
    EXPECT_EQ(sink.draws[2].vertices.size(), 16u);
    EXPECT_EQ(sink.draws[2].state.texture, 7u);
    EXPECT_EQ(sink.draws[2].kinds, "qqq");
    EXPECT_EQ(sink.draws[3].state.texture, 8u);
}

// Neighbouring quads of one shape send a corner they share once; the same corner in another
// colour is another vertex.
TEST_F(Pipeline, QuadsSendSharedCornersOnce) {
    gl->begin(GL_QUADS);
    const float strip[2][4][2] = {{{0, 0}, {1, 0}, {1, 1}, {0, 1}},
                                  {{1, 0}, {2, 0}, {2, 1}, {1, 1}}};
    for (const auto& quad : strip)
        for (const auto& p : quad) gl->vertex(p[0], p[1], 0);
    gl->color(0.5f, 0, 0, 1);
    for (const auto& p : strip[0]) gl->vertex(p[0], p[1], 0);
    gl->end();
    gl->flush();
    ASSERT_EQ(sink.draws.size(), 1u);
    EXPECT_EQ(sink.draws[0].vertices.size(), 6u + 4u);
    const std::vector<uint16_t> triangles = {0, 1, 3, 3, 1, 2, 1, 4, 2, 2, 4, 5, 6, 7, 9, 9, 7, 8};
    EXPECT_EQ(sink.draws[0].indices, triangles);
}

// Lines and quads under one state go up together but are drawn in the order they came.
TEST_F(Pipeline, LinesAndQuadsKeepTheirOrderInOneDraw) {
    quad();
    gl->begin(GL_LINE_STRIP);
    for (float x : {-0.5f, 0.0f, 0.5f}) gl->vertex(x, x * 0.3f, 0);
    gl->end();
    quad();
    quad();
    gl->flush();
    ASSERT_EQ(sink.draws.size(), 1u);
    EXPECT_EQ(sink.draws[0].kinds, "qlq");
    EXPECT_EQ(sink.draws[0].lines.size(), 2u);
    EXPECT_EQ(sink.draws[0].indices.size(), 18u);
}

// The toolkit's shapes hand over GL_T2F_N3F_V3F arrays; each vertex's normal lights it.
TEST_F(Pipeline, InterleavedArraysFeedTheSameVertices) {
    gl->setEnabled(GL_LIGHTING, true);
    gl->setEnabled(GL_LIGHT0, true);
    gl->setEnabled(GL_COLOR_MATERIAL, true);
    gl->color(1, 1, 1, 1);
    const float data[4][8] = {{0, 1, 0, 0, -1, -1, 1, 0},
                              {0, 0, 0, 0, -1, -1, -1, 0},
                              {1, 0, 0, 0, -1, 1, -1, 0},
                              {1, 1, 0, 0, -1, 1, 1, 0}};
    gl->interleavedArrays(GL_T2F_N3F_V3F, 0, data);
    gl->drawArrays(GL_QUADS, 0, 4);
    gl->flush();
    const std::vector<webgl::OutVertex>& v = sink.draws[0].vertices;
    ASSERT_EQ(v.size(), 4u);
    EXPECT_FLOAT_EQ(v[0].color[0], 0.2f); // normal away from the light
    EXPECT_FLOAT_EQ(v[1].uv[1], 0.0f);
    EXPECT_FLOAT_EQ(v[2].uv[0], 1.0f);
    // The current normal is left as it was, so a following immediate shape faces the light.
    quad();
    EXPECT_FLOAT_EQ(firstColour()[0], 1.0f);
}

} // namespace
