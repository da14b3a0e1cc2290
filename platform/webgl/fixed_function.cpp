#include "platform/webgl/fixed_function.h"

#include "platform/webgl/line_pixels.h"
#include "platform/webgl/triangle_setup.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace webgl {

namespace {
// GL's defaults for what the show never sets: the scene ambient light, and the material
// used while colour material is off.
constexpr float kSceneAmbient = 0.2f;
constexpr float kDefaultAmbient = 0.2f;
constexpr float kDefaultDiffuse = 0.8f;

float clamp01(float v) {
    return std::min(1.0f, std::max(0.0f, v));
}
} // namespace

bool RasterState::operator==(const RasterState& o) const {
    return texture == o.texture && blend == o.blend && blendSrc == o.blendSrc &&
           blendDst == o.blendDst && depthTest == o.depthTest && cull == o.cull &&
           cullMode == o.cullMode;
}

bool RasterState::admits(const RasterState& o) const {
    RasterState same = o;
    same.texture = texture;
    return same == *this && (o.texture == 0 || texture == 0 || o.texture == texture);
}

FixedFunction::FixedFunction(DrawSink& sink, int framebufferHeight)
    : sink_(sink), framebufferHeight_(framebufferHeight) {
    modelview_[0] = identity();
    projection_[0] = identity();
}

void FixedFunction::viewport(int x, int y, int width, int height) {
    flush();
    viewport_[0] = float(x);
    viewport_[1] = float(y);
    viewport_[2] = float(width);
    viewport_[3] = float(height);
}

void FixedFunction::setEnabled(GLenum cap, bool on) {
    switch (cap) {
    case GL_TEXTURE_2D:
        texture2d_ = on;
        break;
    case GL_BLEND:
        blend_ = on;
        break;
    case GL_DEPTH_TEST:
        depthTest_ = on;
        break;
    case GL_CULL_FACE:
        cull_ = on;
        break;
    case GL_LIGHTING:
        lighting_ = on;
        break;
    case GL_LIGHT0:
        light0_ = on;
        break;
    case GL_COLOR_MATERIAL:
        colorMaterial_ = on;
        break;
    default:
        break; // nothing else the show enables changes what it draws
    }
}

bool FixedFunction::isEnabled(GLenum cap) const {
    switch (cap) {
    case GL_TEXTURE_2D:
        return texture2d_;
    case GL_BLEND:
        return blend_;
    case GL_DEPTH_TEST:
        return depthTest_;
    case GL_CULL_FACE:
        return cull_;
    case GL_LIGHTING:
        return lighting_;
    case GL_LIGHT0:
        return light0_;
    case GL_COLOR_MATERIAL:
        return colorMaterial_;
    default:
        return false;
    }
}

void FixedFunction::matrixMode(GLenum mode) {
    if (mode == GL_MODELVIEW || mode == GL_PROJECTION) matrixMode_ = mode;
}

Mat4& FixedFunction::current() {
    mvpDirty_ = true;
    return matrixMode_ == GL_PROJECTION ? projection_[projectionTop_] : modelview_[modelviewTop_];
}

void FixedFunction::loadIdentity() {
    current() = identity();
}

void FixedFunction::multMatrix(const Mat4& m) {
    Mat4& top = current();
    top = multiply(top, m);
}

// Overflow and underflow leave the stack as it was, as GL does when it flags the error.
void FixedFunction::pushMatrix() {
    size_t& top = matrixMode_ == GL_PROJECTION ? projectionTop_ : modelviewTop_;
    Mat4* stack = matrixMode_ == GL_PROJECTION ? projection_ : modelview_;
    if (top + 1 >= kStackDepth) return;
    stack[top + 1] = stack[top];
    ++top;
}

void FixedFunction::popMatrix() {
    size_t& top = matrixMode_ == GL_PROJECTION ? projectionTop_ : modelviewTop_;
    if (top == 0) return;
    --top;
    mvpDirty_ = true;
}

void FixedFunction::color(float r, float g, float b, float a) {
    color_[0] = r;
    color_[1] = g;
    color_[2] = b;
    color_[3] = a;
}

void FixedFunction::normal(float x, float y, float z) {
    normal_[0] = x;
    normal_[1] = y;
    normal_[2] = z;
}

void FixedFunction::texCoord(float s, float t) {
    texCoord_[0] = s;
    texCoord_[1] = t;
}

void FixedFunction::blendFunc(GLenum src, GLenum dst) {
    blendSrc_ = src;
    blendDst_ = dst;
}

void FixedFunction::updateMatrices() {
    if (!mvpDirty_) return;
    mvp_ = multiply(projection(), modelview());
    normalMatrix_ = normalMatrix(modelview());
    mvpDirty_ = false;
}

void FixedFunction::begin(GLenum mode) {
    if (inBegin_) return; // GL_INVALID_OPERATION
    inBegin_ = true;
    primitive_ = mode;
    primitiveCount_ = 0;
    updateMatrices();
}

// Light 0 at its defaults is white, directional, along -z of eye space: only the eye-space
// normal's z matters, and there is no specular part because the material has none.
void FixedFunction::vertex(float x, float y, float z) {
    if (!inBegin_) return;
    if (primitiveCount_ == kMaxPrimitiveVertices) {
        if (!overflowReported_) std::fprintf(stderr, "webgl: too many vertices in one shape\n");
        overflowReported_ = true;
        return;
    }
    OutVertex& v = primitiveVertices_[primitiveCount_++];
    const std::array<float, 4> clip = transformPoint(mvp_, x, y, z);
    std::copy(clip.begin(), clip.end(), v.clip);
    v.uv[0] = texCoord_[0];
    v.uv[1] = texCoord_[1];
    if (!lighting_) {
        for (int i = 0; i < 4; ++i) v.color[i] = clamp01(color_[i]);
        return;
    }
    const float* n = normal_;
    const float eyeZ = normalMatrix_[6] * n[0] + normalMatrix_[7] * n[1] + normalMatrix_[8] * n[2];
    const float diffuseLight = light0_ ? std::max(0.0f, eyeZ) : 0.0f;
    for (int i = 0; i < 3; ++i) {
        const float ambient = colorMaterial_ ? color_[i] : kDefaultAmbient;
        const float diffuse = colorMaterial_ ? color_[i] : kDefaultDiffuse;
        v.color[i] = clamp01(kSceneAmbient * ambient + diffuseLight * diffuse);
    }
    v.color[3] = clamp01(colorMaterial_ ? color_[3] : 1.0f);
}

void FixedFunction::end() {
    if (!inBegin_) return;
    inBegin_ = false;
    assemble();
}

// Lines are drawn facing the eye, so culling back faces leaves them be and they can share
// the faces' state.
RasterState FixedFunction::rasterState(bool cull) const {
    RasterState s;
    s.texture = texture2d_ ? texture_ : 0;
    s.blend = blend_;
    s.blendSrc = blendSrc_;
    s.blendDst = blendDst_;
    s.depthTest = depthTest_;
    s.cull = cull_ && (cull || cullMode_ == GL_BACK);
    s.cullMode = cullMode_;
    return s;
}

// Consecutive shapes of one kind share a run; the batch is drawn first when the state changes
// or something would not fit. A run of triangles counts indices, a run of lines lines.
void FixedFunction::startRun(const RasterState& state, bool lines, size_t room, size_t indices) {
    const bool full = lines ? pendingLineCount_ + room > kBatchLines
                            : pendingCount_ + room > kBatchVertices ||
                                  pendingIndexCount_ + indices > kBatchIndices;
    const bool textured = state.texture != 0;
    DrawRun* last = runCount_ ? &runs_[runCount_ - 1] : nullptr;
    const bool sameKind = last && last->lines == lines && last->textured == textured;
    if (runCount_ == 0 || !pendingState_.admits(state) || full ||
        (!sameKind && runCount_ == kBatchRuns)) {
        flush();
        pendingState_ = state;
        last = nullptr;
    }
    if (textured) pendingState_.texture = state.texture;
    const size_t grows = lines ? room : indices;
    if (last && sameKind) {
        last->count += grows;
        return;
    }
    runs_[runCount_++] = {lines, textured, lines ? pendingLineCount_ : pendingIndexCount_, grows};
}

// Window coordinates (y from the top) and depth, as the native viewport transform has them.
void FixedFunction::windowPoint(const OutVertex& v, float out[3]) const {
    const float halfW = viewport_[2] * 0.5f, halfH = viewport_[3] * 0.5f;
    const float oneOverW = 1.0f / v.clip[3];
    out[0] = std::fma(v.clip[0] * oneOverW, halfW, viewport_[0] + halfW);
    out[1] =
        std::fma(v.clip[1] * oneOverW, -halfH, float(framebufferHeight_) - (viewport_[1] + halfH));
    out[2] = std::fma(v.clip[2] * oneOverW, 0.5f, 0.5f);
}

// A triangle the native side would clip gets no plane here: only quads are clipped as it does.
DepthPlane FixedFunction::depthPlane(const OutVertex& a, const OutVertex& b,
                                     const OutVertex& c) const {
    for (const OutVertex* v : {&a, &b, &c})
        if (outsideView(v->clip)) return {0, 0, 0, 0};
    float p[3][3];
    windowPoint(a, p[0]);
    windowPoint(b, p[1]);
    windowPoint(c, p[2]);
    return webgl::depthPlane(p[0], p[1], p[2]);
}

// The GPU takes a triangle's plane from its last vertex, so each triangle needs a last vertex
// of its own: a corner already carrying another triangle's plane is sent again.
uint16_t FixedFunction::provokingCopy(uint16_t index, const DepthPlane& plane) {
    DepthPlane& held = pendingPlanes_[index];
    if (held.exact < 0 || std::memcmp(&held, &plane, sizeof plane) == 0) {
        held = plane;
        return index;
    }
    pending_[pendingCount_] = pending_[index];
    pendingPlanes_[pendingCount_] = plane;
    return uint16_t(pendingCount_++);
}

// A polygon as a fan from its first vertex; the native side sets each triangle up from its
// two rim corners, then the first vertex.
void FixedFunction::emitFan(const RasterState& state, const OutVertex* vertices, size_t count,
                            const float* flatColor) {
    if (count < 3) return;
    startRun(state, false, count, 3 * (count - 2));
    const uint16_t first = uint16_t(pendingCount_);
    for (size_t i = 0; i < count; ++i) {
        OutVertex& v = pending_[pendingCount_++];
        v = vertices[i];
        if (flatColor) std::memcpy(v.color, flatColor, sizeof v.color);
    }
    for (size_t i = 1; i + 1 < count; ++i) {
        if (state.depthTest)
            pendingPlanes_[first + i + 1] = depthPlane(vertices[i], vertices[i + 1], vertices[0]);
        pendingIndices_[pendingIndexCount_++] = first;
        pendingIndices_[pendingIndexCount_++] = uint16_t(first + i);
        pendingIndices_[pendingIndexCount_++] = uint16_t(first + i + 1);
    }
}

namespace {
uint32_t hashVertex(const OutVertex& v) {
    uint32_t words[sizeof(OutVertex) / 4];
    std::memcpy(words, &v, sizeof words);
    uint32_t h = 2166136261u;
    for (uint32_t w : words) h = (h ^ w) * 16777619u;
    return h;
}
} // namespace

// A depth-tested shape with a corner out of view takes the native side's other path: each quad
// split at its last corner, each triangle clipped, and the pieces sent as they are set up.
void FixedFunction::emitClippedQuads(const RasterState& state, const OutVertex* vertices,
                                     size_t quads, bool flat) {
    const float halfW = viewport_[2] * 0.5f, halfH = viewport_[3] * 0.5f;
    const ViewportMap map = {
        {halfW, -halfH, 0.5f},
        {viewport_[0] + halfW, float(framebufferHeight_) - (viewport_[1] + halfH), 0.5f}};
    constexpr int kSplit[2][3] = {{0, 1, 3}, {1, 2, 3}};
    constexpr size_t kMostSent = 2 * 3 * (kMaxClipped - 2); // two triangles, fans of pieces
    for (size_t q = 0; q < quads; ++q) {
        OutVertex sent[kMostSent];
        DepthPlane planes[kMostSent];
        size_t count = 0;
        for (const auto& corners : kSplit) {
            SetupVertex triangle[3];
            for (int c = 0; c < 3; ++c) {
                triangle[c].vertex = vertices[4 * q + size_t(corners[c])];
                if (flat)
                    std::memcpy(triangle[c].vertex.color, vertices[4 * q + 3].color,
                                sizeof triangle[c].vertex.color);
                windowPoint(triangle[c].vertex, triangle[c].window);
            }
            SetupVertex polygon[kMaxClipped];
            const size_t n = clipTriangle(triangle, map, polygon);
            // The clipper passes a triangle wholly in view on as it came, and a cut one as a
            // fan ending on its first corner.
            const bool inView = std::none_of(triangle, triangle + 3, [](const SetupVertex& v) {
                return outsideView(v.vertex.clip);
            });
            for (size_t i = 2; i < n; ++i) {
                const SetupVertex* piece[3] = {&polygon[i - 1], &polygon[i], &polygon[0]};
                if (inView) {
                    piece[0] = &polygon[0];
                    piece[1] = &polygon[1];
                    piece[2] = &polygon[2];
                }
                const DepthPlane plane =
                    webgl::depthPlane(piece[0]->window, piece[1]->window, piece[2]->window);
                for (const SetupVertex* v : piece) {
                    planes[count] = plane;
                    sent[count++] = v->vertex;
                }
            }
        }
        if (count == 0) continue;
        startRun(state, false, count, count);
        for (size_t i = 0; i < count; ++i) {
            pendingPlanes_[pendingCount_] = planes[i];
            pendingIndices_[pendingIndexCount_++] = uint16_t(pendingCount_);
            pending_[pendingCount_++] = sent[i];
        }
    }
}

// Quads that share corners (a sphere's grid, a box's faces) send each distinct corner once. Each
// is split as the native side splits it, into corners 0, 1, 3 and 1, 2, 3: smooth colours and
// depth planes follow the split.
void FixedFunction::emitQuads(const RasterState& state, const OutVertex* vertices, size_t count,
                              bool flat) {
    const size_t quads = count / 4;
    if (quads == 0) return;
    if (state.depthTest && std::any_of(vertices, vertices + 4 * quads,
                                       [](const OutVertex& v) { return outsideView(v.clip); })) {
        emitClippedQuads(state, vertices, quads, flat);
        return;
    }
    startRun(state, false, (state.depthTest ? 6 : 4) * quads, 6 * quads);
    if (++shareStamp_ == 0) {
        for (ShareSlot& slot : shareSlots_) slot.stamp = 0;
        shareStamp_ = 1;
    }
    for (size_t q = 0; q < quads; ++q) {
        uint16_t corner[4];
        for (int c = 0; c < 4; ++c) {
            OutVertex v = vertices[4 * q + size_t(c)];
            if (flat) std::memcpy(v.color, vertices[4 * q + 3].color, sizeof v.color);
            size_t slot = hashVertex(v) % kShareSlots;
            while (shareSlots_[slot].stamp == shareStamp_ &&
                   std::memcmp(&pending_[shareSlots_[slot].index], &v, sizeof v) != 0)
                slot = (slot + 1) % kShareSlots;
            if (shareSlots_[slot].stamp != shareStamp_) {
                shareSlots_[slot] = {shareStamp_, uint16_t(pendingCount_)};
                pendingPlanes_[pendingCount_].exact = -1; // no triangle's yet
                pending_[pendingCount_++] = v;
            }
            corner[c] = shareSlots_[slot].index;
        }
        if (state.depthTest) {
            // Every corner is in view here (the others took the clipped path).
            float window[4][3];
            for (int c = 0; c < 4; ++c) windowPoint(pending_[corner[c]], window[c]);
            const DepthPlane first = webgl::depthPlane(window[0], window[1], window[3]);
            const DepthPlane second = webgl::depthPlane(window[1], window[2], window[3]);
            corner[3] = provokingCopy(corner[3], first);
            corner[2] = provokingCopy(corner[2], second);
        }
        // The second triangle is sent turned so that a plane of its own can end it: the GPU
        // takes flat inputs from a triangle's last index.
        const uint16_t pattern[6] = {corner[0], corner[1], corner[3],
                                     corner[3], corner[1], corner[2]};
        std::memcpy(&pendingIndices_[pendingIndexCount_], pattern, sizeof pattern);
        pendingIndexCount_ += 6;
    }
}

// Flat shading takes each primitive's colour from GL's provoking vertex: the last of a quad,
// the first of a polygon, the second of each line segment (the first for a loop's closing one).
void FixedFunction::assemble() {
    const OutVertex* v = primitiveVertices_;
    const size_t n = primitiveCount_;
    auto flat = [&](size_t i) { return flat_ ? v[i].color : nullptr; };
    switch (primitive_) {
    case GL_QUADS: {
        const RasterState state = rasterState(true);
        emitQuads(state, v, n, flat_);
        break;
    }
    case GL_POLYGON:
        emitFan(rasterState(true), v, n, flat(0));
        break;
    case GL_LINE_STRIP:
    case GL_LINE_LOOP: {
        for (size_t i = 0; i + 1 < n; ++i) emitLine(v[i], v[i + 1], flat(i + 1));
        if (primitive_ == GL_LINE_LOOP && n >= 2) emitLine(v[n - 1], v[0], flat(0));
        break;
    }
    default:
        break; // the show draws nothing else
    }
}

namespace {
OutVertex mix(const OutVertex& a, const OutVertex& b, float t) {
    OutVertex m;
    for (int i = 0; i < 4; ++i) m.clip[i] = a.clip[i] + t * (b.clip[i] - a.clip[i]);
    for (int i = 0; i < 4; ++i) m.color[i] = a.color[i] + t * (b.color[i] - a.color[i]);
    for (int i = 0; i < 2; ++i) m.uv[i] = a.uv[i] + t * (b.uv[i] - a.uv[i]);
    return m;
}
} // namespace

// A line becomes the quad the native rasterizer would fill, worked out in window coordinates
// (counted from the top, as llvmpipe sees a window); the GPU decides its pixels. Culling never
// applies to lines.
void FixedFunction::emitLine(const OutVertex& a, const OutVertex& b, const float* flatColor) {
    float t0, t1;
    if (!clipLine(a.clip, b.clip, t0, t1)) return;
    const OutVertex ends[2] = {t0 > 0 ? mix(a, b, t0) : a, t1 > 0 ? mix(b, a, t1) : b};
    const float halfW = viewport_[2] * 0.5f, halfH = viewport_[3] * 0.5f;
    if (halfW <= 0 || halfH <= 0) return;
    const float centreX = viewport_[0] + halfW;
    const float centreFromTop = float(framebufferHeight_) - (viewport_[1] + halfH);
    LinePoint window[2];
    float depth[2];
    OutLine line;
    for (int i = 0; i < 2; ++i) {
        const float oneOverW = 1.0f / ends[i].clip[3];
        window[i].x = std::fma(ends[i].clip[0] * oneOverW, halfW, centreX);
        window[i].y = std::fma(ends[i].clip[1] * oneOverW, -halfH, centreFromTop);
        depth[i] = std::fma(ends[i].clip[2] * oneOverW, 0.5f, 0.5f);
        std::memcpy(line.color[i], flatColor ? flatColor : ends[i].color, sizeof line.color[i]);
        std::memcpy(line.uv[i], ends[i].uv, sizeof line.uv[i]);
    }
    if (!lineQuad(window[0], window[1], line.quad)) return;
    const bool alongX = line.quad.edges >> LineQuad::kAlongX & 1;
    line.from = alongX ? window[0].x : window[0].y;
    line.span = (alongX ? window[1].x : window[1].y) - line.from;
    line.depth[1] = (depth[0] - depth[1]) / -line.span;
    line.depth[0] = depth[0] - line.depth[1] * (line.from - 0.5f);
    startRun(rasterState(false), true, 1, 0);
    pendingLines_[pendingLineCount_++] = line;
}

void FixedFunction::interleavedArrays(GLenum format, GLsizei stride, const void* pointer) {
    // Any other layout would be read wrongly; the toolkit only ever hands this one over.
    arrays_ =
        format == GL_T2F_N3F_V3F && stride == 0 ? static_cast<const float*>(pointer) : nullptr;
}

// GL leaves the current normal and texture coordinate undefined after an array draw; Mesa
// keeps them as they were, and so do we.
void FixedFunction::drawArrays(GLenum mode, GLint first, GLsizei count) {
    if (!arrays_ || first < 0 || count <= 0) return;
    float keepNormal[3], keepTexCoord[2];
    std::memcpy(keepNormal, normal_, sizeof keepNormal);
    std::memcpy(keepTexCoord, texCoord_, sizeof keepTexCoord);
    begin(mode);
    for (GLsizei i = 0; i < count; ++i) {
        const float* p = arrays_ + (size_t(first) + size_t(i)) * 8;
        texCoord(p[0], p[1]);
        normal(p[2], p[3], p[4]);
        vertex(p[5], p[6], p[7]);
    }
    end();
    std::memcpy(normal_, keepNormal, sizeof keepNormal);
    std::memcpy(texCoord_, keepTexCoord, sizeof keepTexCoord);
}

void FixedFunction::flush() {
    if (runCount_ == 0) return;
    const float halfW = viewport_[2] * 0.5f, halfH = viewport_[3] * 0.5f;
    const Batch batch = {
        pendingState_,
        {viewport_[0] + halfW, float(framebufferHeight_) - (viewport_[1] + halfH), halfW, halfH},
        pending_,
        pendingPlanes_,
        pendingCount_,
        pendingIndices_,
        pendingIndexCount_,
        pendingLines_,
        pendingLineCount_,
        runs_,
        runCount_};
    sink_.draw(batch);
    pendingCount_ = pendingIndexCount_ = pendingLineCount_ = runCount_ = 0;
}

} // namespace webgl
