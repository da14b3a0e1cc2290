// The slice of OpenGL 1.1's fixed-function pipeline the show draws with, worked on the CPU:
// matrix stacks, the current colour, normal and texture coordinate, light 0 with colour
// material, flat shading, and the assembly of quads, polygons, strips and loops into the
// triangles WebGL draws (lines as the quads llvmpipe would fill, for the GPU to test per
// pixel). Vertices leave in clip space with their final colour, so a whole run of shapes under
// one raster state goes to the GPU in one upload.
#pragma once

#include "platform/webgl/line_pixels.h"
#include "platform/webgl/matrix.h"

#include <GL/gl.h>

#include <cstddef>
#include <cstdint>

namespace webgl {

struct OutVertex {
    float clip[4];
    float color[4];
    float uv[2];
};

// A depth-tested triangle's depth as the native rasteriser sets it up: its value at pixel
// (0, 0) and its steps a pixel along x and y (y from the top), on the triangle's last vertex;
// `exact` is 0 where it has none (a triangle the native side would clip).
struct DepthPlane {
    float a0, dx, dy, exact;
};

// What the GPU needs to know to draw a run of vertices; anything else is baked into them.
struct RasterState {
    GLuint texture = 0; // 0: untextured
    bool blend = false;
    GLenum blendSrc = GL_ONE, blendDst = GL_ZERO;
    bool depthTest = false;
    bool cull = false;
    GLenum cullMode = GL_BACK;
    bool operator==(const RasterState& o) const;
    bool operator!=(const RasterState& o) const { return !(*this == o); }
    // Whether shapes under `o` can join a batch under this state: the same in all but the
    // texture, which one of them may do without.
    bool admits(const RasterState& o) const;
};

// A line as the GPU draws it: its quad, and its attributes at both (clipped) ends. They follow
// the main axis only, as the native rasteriser's do: `from` is the first end's window
// coordinate along it and `span` the distance to the second's. Depth is the native plane
// itself, its value at pixel 0 and its step a pixel along the main axis: lines lie on the
// faces they outline, and which of the two wins turns on the last bit of both.
struct OutLine {
    LineQuad quad;
    float from, span;
    float depth[2];
    float color[2][4];
    float uv[2][2];
};

// Shapes of one kind in the order drawn: `count` triangle indices from `first`, or lines;
// textured or not, since untextured shapes share their neighbours' batch.
struct DrawRun {
    bool lines;
    bool textured;
    size_t first, count;
};

// A run of shapes under one raster state: indexed triangles, and lines laid out in window
// coordinates counted from the top, which `viewport` (centre x, centre y from the
// top, half width, half height) maps back to normalized device coordinates.
struct Batch {
    RasterState state;
    float viewport[4];
    const OutVertex* vertices;
    const DepthPlane* planes; // one a vertex, when depth-tested
    size_t vertexCount;
    const uint16_t* indices;
    size_t indexCount;
    const OutLine* lines;
    size_t lineCount;
    const DrawRun* runs;
    size_t runCount;
};

class DrawSink {
  public:
    virtual void draw(const Batch& batch) = 0;

  protected:
    ~DrawSink() = default;
};

class FixedFunction {
  public:
    static constexpr size_t kStackDepth = 32;
    static constexpr size_t kMaxPrimitiveVertices = 4096; // one glBegin .. glEnd
    static constexpr size_t kBatchVertices = 4 * 6144;    // 16-bit indices reach them all
    static constexpr size_t kBatchIndices = 3 * kBatchVertices;
    static constexpr size_t kBatchLines = 8192;
    static constexpr size_t kBatchRuns = 2048;

    FixedFunction(DrawSink& sink, int framebufferHeight);

    void setEnabled(GLenum cap, bool on);
    bool isEnabled(GLenum cap) const;

    void matrixMode(GLenum mode);
    void loadIdentity();
    void pushMatrix();
    void popMatrix();
    void multMatrix(const Mat4& m);
    const Mat4& modelview() const { return modelview_[modelviewTop_]; }
    const Mat4& projection() const { return projection_[projectionTop_]; }

    void color(float r, float g, float b, float a);
    void normal(float x, float y, float z);
    void texCoord(float s, float t);
    void bindTexture(GLuint name) { texture_ = name; }
    GLuint boundTexture() const { return texture_; }
    void blendFunc(GLenum src, GLenum dst);
    void cullFace(GLenum mode) { cullMode_ = mode; }
    void shadeModel(GLenum mode) { flat_ = mode == GL_FLAT; }
    // Lines are laid out in window coordinates, so the pipeline follows the viewport (and draws
    // what is pending first).
    void viewport(int x, int y, int width, int height);

    void begin(GLenum mode);
    void vertex(float x, float y, float z);
    void end();

    // Client arrays: only the layout the toolkit's shapes use, GL_T2F_N3F_V3F.
    void interleavedArrays(GLenum format, GLsizei stride, const void* pointer);
    void drawArrays(GLenum mode, GLint first, GLsizei count);

    // Hands the pending run to the sink; call before anything that reads or changes the
    // framebuffer, the viewport or a texture's image.
    void flush();

  private:
    RasterState rasterState(bool cull) const;
    void updateMatrices();
    void emitFan(const RasterState& state, const OutVertex* vertices, size_t count,
                 const float* flatColor);
    void emitQuads(const RasterState& state, const OutVertex* vertices, size_t count, bool flat);
    void emitClippedQuads(const RasterState& state, const OutVertex* vertices, size_t quads,
                          bool flat);
    void startRun(const RasterState& state, bool lines, size_t room, size_t indices);
    void windowPoint(const OutVertex& v, float out[3]) const;
    DepthPlane depthPlane(const OutVertex& a, const OutVertex& b, const OutVertex& c) const;
    uint16_t provokingCopy(uint16_t index, const DepthPlane& plane);
    void assemble();
    void emitLine(const OutVertex& a, const OutVertex& b, const float* flatColor);
    Mat4& current();

    DrawSink& sink_;
    bool texture2d_ = false, blend_ = false, depthTest_ = false, cull_ = false;
    bool lighting_ = false, light0_ = false, colorMaterial_ = false;
    bool flat_ = false;
    GLenum blendSrc_ = GL_ONE, blendDst_ = GL_ZERO, cullMode_ = GL_BACK;
    GLuint texture_ = 0;
    int framebufferHeight_;
    float viewport_[4] = {0, 0, 0, 0};

    GLenum matrixMode_ = GL_MODELVIEW;
    Mat4 modelview_[kStackDepth], projection_[kStackDepth];
    size_t modelviewTop_ = 0, projectionTop_ = 0;
    bool mvpDirty_ = true;
    Mat4 mvp_;
    std::array<float, 9> normalMatrix_{};

    float color_[4] = {1, 1, 1, 1};
    float normal_[3] = {0, 0, 1};
    float texCoord_[2] = {0, 0};

    GLenum primitive_ = 0;
    bool inBegin_ = false;
    OutVertex primitiveVertices_[kMaxPrimitiveVertices];
    size_t primitiveCount_ = 0;
    bool overflowReported_ = false;

    const float* arrays_ = nullptr;

    RasterState pendingState_;
    OutVertex pending_[kBatchVertices];
    DepthPlane pendingPlanes_[kBatchVertices];
    size_t pendingCount_ = 0;
    uint16_t pendingIndices_[kBatchIndices];
    size_t pendingIndexCount_ = 0;
    OutLine pendingLines_[kBatchLines];
    size_t pendingLineCount_ = 0;
    DrawRun runs_[kBatchRuns];

    // Corners already sent for the shape being assembled, by content; a slot is live when its
    // stamp is the shape's.
    static constexpr size_t kShareSlots = 2 * kMaxPrimitiveVertices;
    struct ShareSlot {
        uint32_t stamp;
        uint16_t index;
    };
    ShareSlot shareSlots_[kShareSlots] = {};
    uint32_t shareStamp_ = 0;
    size_t runCount_ = 0;
};

} // namespace webgl
