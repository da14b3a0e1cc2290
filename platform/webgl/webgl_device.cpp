#include "platform/webgl/webgl_device.h"

#include <GLES3/gl3.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <initializer_list>

// The browser's own WebGL entry points under the names emscripten gives them for code that
// defines the GL 1.1 names itself.
extern "C" {
void emscripten_glActiveTexture(GLenum);
void emscripten_glAttachShader(GLuint, GLuint);
void emscripten_glBindAttribLocation(GLuint, GLuint, const GLchar*);
void emscripten_glBindBuffer(GLenum, GLuint);
void emscripten_glBindTexture(GLenum, GLuint);
void emscripten_glBindVertexArray(GLuint);
void emscripten_glBlendFunc(GLenum, GLenum);
void emscripten_glBufferData(GLenum, GLsizeiptr, const void*, GLenum);
void emscripten_glCompileShader(GLuint);
GLuint emscripten_glCreateProgram();
GLuint emscripten_glCreateShader(GLenum);
void emscripten_glCullFace(GLenum);
void emscripten_glDisable(GLenum);
void emscripten_glDrawArraysInstanced(GLenum, GLint, GLsizei, GLsizei);
void emscripten_glDrawElements(GLenum, GLsizei, GLenum, const void*);
void emscripten_glEnable(GLenum);
void emscripten_glEnableVertexAttribArray(GLuint);
void emscripten_glGenBuffers(GLsizei, GLuint*);
void emscripten_glGenVertexArrays(GLsizei, GLuint*);
void emscripten_glGetProgramInfoLog(GLuint, GLsizei, GLsizei*, GLchar*);
void emscripten_glGetProgramiv(GLuint, GLenum, GLint*);
void emscripten_glGetShaderInfoLog(GLuint, GLsizei, GLsizei*, GLchar*);
void emscripten_glGetShaderiv(GLuint, GLenum, GLint*);
GLint emscripten_glGetUniformLocation(GLuint, const GLchar*);
void emscripten_glLinkProgram(GLuint);
void emscripten_glShaderSource(GLuint, GLsizei, const GLchar* const*, const GLint*);
void emscripten_glUniform1f(GLint, GLfloat);
void emscripten_glUniform1i(GLint, GLint);
void emscripten_glUniform4fv(GLint, GLsizei, const GLfloat*);
void emscripten_glUseProgram(GLuint);
void emscripten_glVertexAttribDivisor(GLuint, GLuint);
void emscripten_glVertexAttribIPointer(GLuint, GLint, GLenum, GLsizei, const void*);
void emscripten_glVertexAttribPointer(GLuint, GLint, GLenum, GLboolean, GLsizei, const void*);
}

namespace webgl {

namespace {

// Depth as the native rasteriser evaluates its planes, with a fused multiply-add that ES 3.0
// lacks: the product is taken exactly in two halves (Dekker) and the sum's rounding error is
// added back. Faces and the lines on them meet at equal depth, and which wins turns on the
// last bit of both.
const char* const kDepthArithmetic = R"(
precision highp float;
precision highp int;
vec2 halves(float a) {
    float c = 4097.0 * a;
    float high = c - (c - a);
    return vec2(high, a - high);
}
float fusedMultiplyAdd(float a, float b, float c) {
    float product = a * b;
    vec2 x = halves(a), y = halves(b);
    float productError = ((x.x * y.x - product) + x.x * y.y + x.y * y.x) + x.y * y.y;
    float sum = product + c;
    float back = sum - product;
    float sumError = (product - (sum - back)) + (c - back);
    return sum + (sumError + productError);
}
)";

const char* const kVertexShader = R"(
in vec4 clip;
in vec4 color;
in vec2 uv;
out vec4 vColor;
out vec2 vUv;
#ifdef DEPTH_TESTED
in vec4 plane;
flat out vec4 vPlane;
#endif
void main() {
    vColor = color;
    vUv = uv;
#ifdef DEPTH_TESTED
    vPlane = plane;
#endif
    gl_Position = clip;
}
)";

// GL_MODULATE: the texel times the vertex colour; a luminance texel reads (L, L, L, 1).
const char* const kFragmentShader = R"(
uniform sampler2D picture;
uniform bool textured;
uniform float framebufferHeight;
in vec4 vColor;
in vec2 vUv;
#ifdef DEPTH_TESTED
flat in vec4 vPlane;
#endif
out vec4 fragment;
void main() {
#ifdef DEPTH_TESTED
    float column = floor(gl_FragCoord.x), row = framebufferHeight - 1.0 - floor(gl_FragCoord.y);
    gl_FragDepth = vPlane.w > 0.0
        ? fusedMultiplyAdd(vPlane.z, row, fusedMultiplyAdd(vPlane.y, column, vPlane.x))
        : gl_FragCoord.z;
#endif
    fragment = textured ? vColor * texture(picture, vUv) : vColor;
}
)";

// One instance a line: the vertex shader spans the pixels its quad can reach, and the fragment
// shader keeps those whose centres the quad covers, by llvmpipe's rule in its fixed point
// (lineCovers in line_pixels.cpp is the same test, and says why one wide product does for all four
// edges). It needs more than 32 bits, so it is taken in two parts.
const char* const kLineVertexShader = R"(
in ivec4 quad; // x0, x1, y0, y1
in int edges;
in vec2 axis; // from, span
in vec2 depth;
in vec4 color0;
in vec4 color1;
in vec4 uvs;
uniform vec4 viewport; // centre x, centre y from the top, half width, half height
flat out ivec4 cornersX;
flat out ivec4 cornersY;
flat out int vEdges;
flat out vec2 vAxis;
flat out vec2 vDepth;
flat out vec4 vColor0;
flat out vec4 vColor1;
flat out vec4 vUvs;
out vec2 pixel;
void main() {
    bool alongX = ((edges >> 8) & 1) == 1;
    ivec2 across = alongX ? ivec2(0, 256) : ivec2(256, 0);
    cornersX = ivec4(quad.x, quad.y, quad.y + across.x, quad.x + across.x);
    cornersY = ivec4(quad.z, quad.w, quad.w + across.y, quad.z + across.y);
    vEdges = edges;
    vAxis = axis;
    vDepth = depth;
    vColor0 = color0;
    vColor1 = color1;
    vUvs = uvs;
    // The quad grown by a quarter pixel every way: its own centres lie inside by a sixth of a
    // pixel at least, far more than any GPU's sub-pixel grid, and a slanted line costs about
    // one and a half fragments a pixel, not its bounding box.
    // Its corners go counter-clockwise as seen on the screen whichever way the line runs, so
    // that culling back faces never removes it.
    ivec2 major = alongX ? ivec2(1, 0) : ivec2(0, 1);
    ivec2 from = ivec2(quad.x, quad.z), to = ivec2(quad.y, quad.w);
    int run = alongX ? to.x - from.x : to.y - from.y;
    int outward = run >= 0 ? 64 : -64;
    bool clockwise = alongX ? run >= 0 : run < 0;
    int id = clockwise ? (gl_VertexID & 1) << 1 | gl_VertexID >> 1 : gl_VertexID;
    ivec2 corner = (id & 1) == 0 ? from - major * outward : to + major * outward;
    corner += (ivec2(1, 1) - major) * ((id >> 1) == 0 ? -64 : 320);
    pixel = vec2(corner) / 256.0 + 0.5;
    gl_Position = vec4((pixel.x - viewport.x) / viewport.z, (viewport.y - pixel.y) / viewport.w,
                       0.0, 1.0);
}
)";

// Attributes are taken at the pixel's centre along the main axis, as the native rasteriser
// has them; depth is its plane.
const char* const kLineFragmentShader = R"(
uniform sampler2D picture;
uniform bool textured;
flat in ivec4 cornersX;
flat in ivec4 cornersY;
flat in int vEdges;
flat in vec2 vAxis;
flat in vec2 vDepth;
flat in vec4 vColor0;
flat in vec4 vColor1;
flat in vec4 vUvs;
in vec2 pixel;
out vec4 fragment;
// A value past 32 bits as high * 1024 + low, 0 <= low < 1024.
ivec2 normalized(int high, int low) {
    return ivec2(high + (low >> 10), low & 1023);
}
int signOf(ivec2 w) {
    return w.x != 0 ? (w.x > 0 ? 1 : -1) : (w.y != 0 ? 1 : 0);
}
void main() {
    ivec2 cell = ivec2(floor(pixel));
    ivec2 p = cell * 256;
    bool alongX = ((vEdges >> 8) & 1) == 1;
    int ex = cornersX.y - cornersX.x, ey = cornersY.y - cornersY.x;
    int dx = p.x - cornersX.x, dy = p.y - cornersY.x;
    ivec2 first = normalized(ex * (dy >> 10) - ey * (dx >> 10), ex * (dy & 1023) - ey * (dx & 1023));
    int shift = alongX ? 256 * ex : -256 * ey;
    ivec2 third = normalized((shift >> 10) - first.x, (shift & 1023) - first.y);
    ivec4 signs = ivec4(signOf(first), sign(alongX ? cornersX.y - p.x : p.y - cornersY.y),
                        signOf(third), sign(alongX ? p.x - cornersX.x : cornersY.x - p.y));
    for (int i = 0; i < 4; ++i) {
        bool insidePositive = ((vEdges >> i) & 1) == 1;
        bool ties = ((vEdges >> (4 + i)) & 1) == 1;
        if (signs[i] == 0 ? !ties : (signs[i] > 0) != insidePositive) discard;
    }
    float centre = float(alongX ? cell.x : cell.y) + 0.5;
    float t = vAxis.y == 0.0 ? 0.0 : (centre - vAxis.x) / vAxis.y;
    vec4 color = vColor0 + t * (vColor1 - vColor0);
    vec2 uv = vUvs.xy + t * (vUvs.zw - vUvs.xy);
#ifdef DEPTH_TESTED
    gl_FragDepth = fusedMultiplyAdd(vDepth.y, float(alongX ? cell.x : cell.y), vDepth.x);
#endif
    fragment = textured ? color * texture(picture, uv) : color;
}
)";

enum Attribute : GLuint { kClip, kColor, kUv, kPlane };
// Both programs' attributes live in one vertex array, the lines' after the triangles'.
enum LineAttribute : GLuint { kQuad = kPlane + 1, kEdges, kAxis, kDepth, kColor0, kColor1, kUvs };

GLuint compile(GLenum kind, const char* prelude, const char* source) {
    const GLuint shader = emscripten_glCreateShader(kind);
    const char* parts[3] = {prelude, kDepthArithmetic, source};
    emscripten_glShaderSource(shader, 3, parts, nullptr);
    emscripten_glCompileShader(shader);
    GLint ok = 0;
    emscripten_glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[1024] = {};
        emscripten_glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        std::fprintf(stderr, "webgl: shader does not compile: %s\n", log);
        return 0;
    }
    return shader;
}

void setEnabled(GLenum cap, bool on) {
    if (on)
        emscripten_glEnable(cap);
    else
        emscripten_glDisable(cap);
}

// A program from two shaders (each source after `prelude`), with its attributes at locations
// from `location` on, in order; 0 if it does not build, with the reason printed.
GLuint link(const char* vertexSource, const char* prelude, const char* fragmentSource,
            GLuint location, std::initializer_list<const char*> attributes) {
    const GLuint vertexShader = compile(GL_VERTEX_SHADER, prelude, vertexSource);
    const GLuint fragmentShader = compile(GL_FRAGMENT_SHADER, prelude, fragmentSource);
    if (!vertexShader || !fragmentShader) return 0;
    const GLuint program = emscripten_glCreateProgram();
    emscripten_glAttachShader(program, vertexShader);
    emscripten_glAttachShader(program, fragmentShader);
    for (const char* name : attributes) emscripten_glBindAttribLocation(program, location++, name);
    emscripten_glLinkProgram(program);
    GLint linked = 0;
    emscripten_glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (!linked) {
        char log[1024] = {};
        emscripten_glGetProgramInfoLog(program, sizeof log, nullptr, log);
        std::fprintf(stderr, "webgl: shaders do not link: %s\n", log);
        return 0;
    }
    emscripten_glUseProgram(program);
    emscripten_glUniform1i(emscripten_glGetUniformLocation(program, "picture"), 0);
    return program;
}

void floatAttribute(GLuint index, GLint size, GLsizei stride, size_t offset) {
    emscripten_glVertexAttribPointer(index, size, GL_FLOAT, GL_FALSE, stride,
                                     reinterpret_cast<void*>(offset));
}

} // namespace

bool WebGLDevice::open(const char* canvasSelector) {
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.majorVersion = 2;
    attributes.minorVersion = 0;
    // The window the show was made for has no alpha to composite and no multisampling.
    attributes.alpha = false;
    attributes.depth = true;
    attributes.stencil = false;
    attributes.antialias = false;
    attributes.premultipliedAlpha = false;
    attributes.preserveDrawingBuffer = false;
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context =
        emscripten_webgl_create_context(canvasSelector, &attributes);
    if (context <= 0) {
        std::fprintf(stderr, "webgl: this browser gives no WebGL 2 context on %s\n",
                     canvasSelector);
        return false;
    }
    emscripten_webgl_make_context_current(context);

    // A fragment that sets its depth is tested late, so shapes not depth-tested leave it be.
    const char* const tested = "#version 300 es\n#define DEPTH_TESTED\n";
    const char* const untested = "#version 300 es\n";
    const std::initializer_list<const char*> lineAttributes = {"quad",   "edges",  "axis", "depth",
                                                               "color0", "color1", "uvs"};
    programs_[kLinePrograms] =
        link(kLineVertexShader, tested, kLineFragmentShader, kQuad, lineAttributes);
    programs_[kUntestedLinePrograms] =
        link(kLineVertexShader, untested, kLineFragmentShader, kQuad, lineAttributes);
    programs_[kQuadPrograms] =
        link(kVertexShader, untested, kFragmentShader, kClip, {"clip", "color", "uv"});
    programs_[kTestedQuadPrograms] =
        link(kVertexShader, tested, kFragmentShader, kClip, {"clip", "color", "uv", "plane"});
    int width = 0, height = 0;
    emscripten_webgl_get_drawing_buffer_size(context, &width, &height);
    for (int i = 0; i < kProgramCount; ++i) {
        if (!programs_[i]) return false;
        texturedUniform_[i] = emscripten_glGetUniformLocation(programs_[i], "textured");
        viewportUniform_[i] = emscripten_glGetUniformLocation(programs_[i], "viewport");
        emscripten_glUseProgram(programs_[i]);
        emscripten_glUniform1f(emscripten_glGetUniformLocation(programs_[i], "framebufferHeight"),
                               float(height));
    }
    emscripten_glUseProgram(programs_[kQuadPrograms]);
    currentProgram_ = kQuadPrograms;

    emscripten_glGenVertexArrays(1, &vertexArray_);
    emscripten_glBindVertexArray(vertexArray_);
    emscripten_glGenBuffers(1, &indexBuffer_);
    emscripten_glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);
    emscripten_glGenBuffers(1, &buffer_);
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, buffer_);
    constexpr GLsizei stride = sizeof(OutVertex);
    for (GLuint a : {kClip, kColor, kUv}) emscripten_glEnableVertexAttribArray(a);
    floatAttribute(kClip, 4, stride, offsetof(OutVertex, clip));
    floatAttribute(kColor, 4, stride, offsetof(OutVertex, color));
    floatAttribute(kUv, 2, stride, offsetof(OutVertex, uv));
    emscripten_glGenBuffers(1, &planeBuffer_);
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, planeBuffer_);
    emscripten_glEnableVertexAttribArray(kPlane);
    floatAttribute(kPlane, 4, sizeof(DepthPlane), 0);

    emscripten_glGenBuffers(1, &lineBuffer_);
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, lineBuffer_);
    for (GLuint a = kQuad; a <= kUvs; ++a) {
        emscripten_glEnableVertexAttribArray(a);
        emscripten_glVertexAttribDivisor(a, 1);
    }
    pointLineAttributes();
    arrayBuffer_ = lineBuffer_;
    emscripten_glActiveTexture(GL_TEXTURE0);
    haveApplied_ = false;
    return true;
}

void WebGLDevice::pointLineAttributes() {
    constexpr GLsizei stride = sizeof(OutLine);
    emscripten_glVertexAttribIPointer(kQuad, 4, GL_INT, stride,
                                      reinterpret_cast<void*>(offsetof(OutLine, quad)));
    emscripten_glVertexAttribIPointer(
        kEdges, 1, GL_INT, stride,
        reinterpret_cast<void*>(offsetof(OutLine, quad) + offsetof(LineQuad, edges)));
    floatAttribute(kAxis, 2, stride, offsetof(OutLine, from));
    floatAttribute(kDepth, 2, stride, offsetof(OutLine, depth));
    floatAttribute(kColor0, 4, stride, offsetof(OutLine, color));
    floatAttribute(kColor1, 4, stride, offsetof(OutLine, color) + 4 * sizeof(float));
    floatAttribute(kUvs, 4, stride, offsetof(OutLine, uv));
}

void WebGLDevice::bindTexture(GLuint name) {
    if (name == boundTexture_) return;
    emscripten_glBindTexture(GL_TEXTURE_2D, name);
    boundTexture_ = name;
}

void WebGLDevice::useProgram(int which) {
    if (which == currentProgram_) return;
    emscripten_glUseProgram(programs_[which]);
    currentProgram_ = which;
}

void WebGLDevice::apply(const RasterState& s) {
    const RasterState& was = applied_;
    const bool all = !haveApplied_;
    if (all || s.blend != was.blend) setEnabled(GL_BLEND, s.blend);
    if (all || s.blendSrc != was.blendSrc || s.blendDst != was.blendDst)
        emscripten_glBlendFunc(s.blendSrc, s.blendDst);
    if (all || s.depthTest != was.depthTest) setEnabled(GL_DEPTH_TEST, s.depthTest);
    if (all || s.cull != was.cull) setEnabled(GL_CULL_FACE, s.cull);
    if (all || s.cullMode != was.cullMode) emscripten_glCullFace(s.cullMode);
    if (s.texture != 0) bindTexture(s.texture);
    applied_ = s;
    haveApplied_ = true;
}

void WebGLDevice::bindArrayBuffer(unsigned name) {
    if (name == arrayBuffer_) return;
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, name);
    arrayBuffer_ = name;
}

void WebGLDevice::setViewport(int program, const float viewport[4]) {
    float* was = viewport_[program];
    if (viewportSet_[program] && std::equal(viewport, viewport + 4, was)) return;
    emscripten_glUniform4fv(viewportUniform_[program], 1, viewport);
    std::copy(viewport, viewport + 4, was);
    viewportSet_[program] = true;
}

void WebGLDevice::setTextured(int program, bool on) {
    if (texturedSet_[program] && textured_[program] == on) return;
    emscripten_glUniform1i(texturedUniform_[program], on);
    textured_[program] = on;
    texturedSet_[program] = true;
}

void WebGLDevice::draw(const Batch& batch) {
    apply(batch.state);
    if (batch.vertexCount) {
        bindArrayBuffer(buffer_);
        emscripten_glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(batch.vertexCount * sizeof(OutVertex)),
                                batch.vertices, GL_STREAM_DRAW);
        if (batch.state.depthTest) {
            bindArrayBuffer(planeBuffer_);
            emscripten_glBufferData(GL_ARRAY_BUFFER,
                                    GLsizeiptr(batch.vertexCount * sizeof(DepthPlane)),
                                    batch.planes, GL_STREAM_DRAW);
        }
        emscripten_glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                                GLsizeiptr(batch.indexCount * sizeof(uint16_t)), batch.indices,
                                GL_STREAM_DRAW);
    }
    for (size_t r = 0; r < batch.runCount; ++r) {
        const DrawRun& run = batch.runs[r];
        if (run.lines) {
            const int program = batch.state.depthTest ? kLinePrograms : kUntestedLinePrograms;
            useProgram(program);
            setTextured(program, run.textured);
            setViewport(program, batch.viewport);
            bindArrayBuffer(lineBuffer_);
            emscripten_glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(run.count * sizeof(OutLine)),
                                    batch.lines + run.first, GL_STREAM_DRAW);
            emscripten_glDrawArraysInstanced(GL_TRIANGLE_STRIP, 0, 4, GLsizei(run.count));
        } else {
            const int program = batch.state.depthTest ? kTestedQuadPrograms : kQuadPrograms;
            useProgram(program);
            setTextured(program, run.textured);
            emscripten_glDrawElements(GL_TRIANGLES, GLsizei(run.count), GL_UNSIGNED_SHORT,
                                      reinterpret_cast<void*>(run.first * sizeof(GLushort)));
        }
    }
}

} // namespace webgl
