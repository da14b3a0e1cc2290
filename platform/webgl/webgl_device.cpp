#include "platform/webgl/webgl_device.h"

#include <GLES3/gl3.h>
#include <emscripten/html5.h>

#include <cstddef>
#include <cstdio>

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
void emscripten_glUniform1i(GLint, GLint);
void emscripten_glUseProgram(GLuint);
void emscripten_glVertexAttribPointer(GLuint, GLint, GLenum, GLboolean, GLsizei, const void*);
}

namespace webgl {

namespace {

const char* const kVertexShader = R"(#version 300 es
in vec4 clip;
in vec4 color;
in vec2 uv;
out vec4 vColor;
out vec2 vUv;
void main() {
    vColor = color;
    vUv = uv;
    gl_Position = clip;
}
)";

// GL_MODULATE: the texel times the vertex colour; a luminance texel reads (L, L, L, 1).
const char* const kFragmentShader = R"(#version 300 es
precision highp float;
uniform sampler2D picture;
uniform bool textured;
in vec4 vColor;
in vec2 vUv;
out vec4 fragment;
void main() {
    fragment = textured ? vColor * texture(picture, vUv) : vColor;
}
)";

enum Attribute : GLuint { kClip, kColor, kUv };

GLuint compile(GLenum kind, const char* source) {
    const GLuint shader = emscripten_glCreateShader(kind);
    emscripten_glShaderSource(shader, 1, &source, nullptr);
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

    const GLuint vertexShader = compile(GL_VERTEX_SHADER, kVertexShader);
    const GLuint fragmentShader = compile(GL_FRAGMENT_SHADER, kFragmentShader);
    if (!vertexShader || !fragmentShader) return false;
    program_ = emscripten_glCreateProgram();
    emscripten_glAttachShader(program_, vertexShader);
    emscripten_glAttachShader(program_, fragmentShader);
    emscripten_glBindAttribLocation(program_, kClip, "clip");
    emscripten_glBindAttribLocation(program_, kColor, "color");
    emscripten_glBindAttribLocation(program_, kUv, "uv");
    emscripten_glLinkProgram(program_);
    GLint linked = 0;
    emscripten_glGetProgramiv(program_, GL_LINK_STATUS, &linked);
    if (!linked) {
        char log[1024] = {};
        emscripten_glGetProgramInfoLog(program_, sizeof log, nullptr, log);
        std::fprintf(stderr, "webgl: shaders do not link: %s\n", log);
        return false;
    }
    emscripten_glUseProgram(program_);
    emscripten_glUniform1i(emscripten_glGetUniformLocation(program_, "picture"), 0);
    texturedUniform_ = emscripten_glGetUniformLocation(program_, "textured");

    emscripten_glGenVertexArrays(1, &vertexArray_);
    emscripten_glBindVertexArray(vertexArray_);
    // Every draw is a run of quads: one index pattern, made once.
    static GLushort quadIndices[FixedFunction::kBatchVertices / 4 * 6];
    for (size_t q = 0; q < FixedFunction::kBatchVertices / 4; ++q) {
        const GLushort first = GLushort(q * 4);
        const GLushort pattern[6] = {first, GLushort(first + 1), GLushort(first + 2),
                                     first, GLushort(first + 2), GLushort(first + 3)};
        for (int i = 0; i < 6; ++i) quadIndices[q * 6 + i] = pattern[i];
    }
    GLuint indexBuffer = 0;
    emscripten_glGenBuffers(1, &indexBuffer);
    emscripten_glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
    emscripten_glBufferData(GL_ELEMENT_ARRAY_BUFFER, sizeof quadIndices, quadIndices,
                            GL_STATIC_DRAW);
    emscripten_glGenBuffers(1, &buffer_);
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, buffer_);
    constexpr GLsizei stride = sizeof(OutVertex);
    emscripten_glEnableVertexAttribArray(kClip);
    emscripten_glVertexAttribPointer(kClip, 4, GL_FLOAT, GL_FALSE, stride,
                                     reinterpret_cast<void*>(offsetof(OutVertex, clip)));
    emscripten_glEnableVertexAttribArray(kColor);
    emscripten_glVertexAttribPointer(kColor, 4, GL_FLOAT, GL_FALSE, stride,
                                     reinterpret_cast<void*>(offsetof(OutVertex, color)));
    emscripten_glEnableVertexAttribArray(kUv);
    emscripten_glVertexAttribPointer(kUv, 2, GL_FLOAT, GL_FALSE, stride,
                                     reinterpret_cast<void*>(offsetof(OutVertex, uv)));
    emscripten_glActiveTexture(GL_TEXTURE0);
    haveApplied_ = false;
    return true;
}

void WebGLDevice::bindTexture(GLuint name) {
    if (name == boundTexture_) return;
    emscripten_glBindTexture(GL_TEXTURE_2D, name);
    boundTexture_ = name;
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
    if (all || (s.texture != 0) != (was.texture != 0))
        emscripten_glUniform1i(texturedUniform_, s.texture != 0);
    if (s.texture != 0) bindTexture(s.texture);
    applied_ = s;
    haveApplied_ = true;
}

void WebGLDevice::draw(const RasterState& state, const OutVertex* vertices, size_t count) {
    apply(state);
    emscripten_glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(count * sizeof(OutVertex)), vertices,
                            GL_STREAM_DRAW);
    emscripten_glDrawElements(GL_TRIANGLES, GLsizei(count / 4 * 6), GL_UNSIGNED_SHORT, nullptr);
}

} // namespace webgl
