#include "tests/support/glrec.h"

#include <GL/glu.h>
#include <GL/freeglut_std.h>

#include <cmath>
#include <cstring>

namespace glrec {
namespace {

std::vector<Call> g_calls;
bool g_recording = true;
State g_state;

// Client array set by glInterleavedArrays.
const float* g_array = nullptr;
int g_arrayStride = 0;

Matrix identity() {
    Matrix m{};
    m[0] = m[5] = m[10] = m[15] = 1;
    return m;
}

Matrix multiply(const Matrix& a, const Matrix& b) {
    Matrix r{};
    for (int c = 0; c < 4; ++c)
        for (int row = 0; row < 4; ++row) {
            double s = 0;
            for (int k = 0; k < 4; ++k) s += a[k * 4 + row] * b[c * 4 + k];
            r[c * 4 + row] = s;
        }
    return r;
}

std::vector<Matrix>& stack() {
    return g_state.matrixMode == GL_PROJECTION ? g_state.projection : g_state.modelview;
}

void multCurrent(const Matrix& m) {
    stack().back() = multiply(stack().back(), m);
}

Call& record(const char* name, std::initializer_list<double> args) {
    static Call scratch;
    if (!g_recording) {
        scratch.args.clear();
        return scratch;
    }
    g_calls.emplace_back();
    Call& c = g_calls.back();
    c.name = name;
    c.args.assign(args.begin(), args.end());
    c.modelview = g_state.modelview.back();
    return c;
}

int floatsPerVertex(GLenum format) {
    switch (format) {
    case GL_V2F:
        return 2;
    case GL_V3F:
        return 3;
    case GL_T2F_V3F:
        return 5;
    case GL_N3F_V3F:
        return 6;
    case GL_T2F_N3F_V3F:
        return 8;
    case GL_C4F_N3F_V3F:
        return 10;
    case GL_T2F_C4F_N3F_V3F:
        return 12;
    default:
        return 0;
    }
}

int bytesPerPixel(GLenum format) {
    switch (format) {
    case GL_RGB:
        return 3;
    case GL_RGBA:
        return 4;
    case GL_LUMINANCE:
        return 1;
    case GL_LUMINANCE_ALPHA:
        return 2;
    default:
        return 0;
    }
}

} // namespace

const std::vector<Call>& calls() {
    return g_calls;
}

void reset() {
    g_calls.clear();
    g_state = State{};
    g_state.modelview.assign(1, identity());
    g_state.projection.assign(1, identity());
    g_array = nullptr;
    g_arrayStride = 0;
}

void setRecording(bool on) {
    g_recording = on;
}

std::vector<Call> named(const std::string& name) {
    std::vector<Call> out;
    for (const Call& c : g_calls)
        if (c.name == name) out.push_back(c);
    return out;
}

size_t count(const std::string& name) {
    size_t n = 0;
    for (const Call& c : g_calls) n += c.name == name;
    return n;
}

std::vector<std::string> names(const std::vector<std::string>& only) {
    std::vector<std::string> out;
    for (const Call& c : g_calls) {
        bool keep = only.empty();
        for (const std::string& o : only) keep = keep || o == c.name;
        if (keep) out.push_back(c.name);
    }
    return out;
}

long find(const std::string& name, size_t from) {
    for (size_t i = from; i < g_calls.size(); ++i)
        if (g_calls[i].name == name) return static_cast<long>(i);
    return -1;
}

State& state() {
    if (g_state.modelview.empty()) reset();
    return g_state;
}

bool State::isEnabled(GLenum cap) const {
    auto it = enabled.find(cap);
    return it != enabled.end() && it->second;
}

std::array<double, 3> apply(const Matrix& m, double x, double y, double z) {
    const double w = m[3] * x + m[7] * y + m[11] * z + m[15];
    return {(m[0] * x + m[4] * y + m[8] * z + m[12]) / w,
            (m[1] * x + m[5] * y + m[9] * z + m[13]) / w,
            (m[2] * x + m[6] * y + m[10] * z + m[14]) / w};
}

} // namespace glrec

using namespace glrec;

namespace {
struct Init {
    Init() { glrec::reset(); }
} g_init;
} // namespace

extern "C" {

void glViewport(GLint x, GLint y, GLsizei w, GLsizei h) {
    record("glViewport", {double(x), double(y), double(w), double(h)});
    GLint* v = g_state.viewport;
    v[0] = x, v[1] = y, v[2] = w, v[3] = h;
}
void glMatrixMode(GLenum mode) {
    record("glMatrixMode", {double(mode)});
    g_state.matrixMode = mode;
}
void glLoadIdentity() {
    record("glLoadIdentity", {});
    stack().back() = identity();
}
void glPushMatrix() {
    record("glPushMatrix", {});
    stack().push_back(stack().back());
}
void glPopMatrix() {
    record("glPopMatrix", {});
    if (stack().size() > 1) stack().pop_back();
}
void glOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
    record("glOrtho", {l, r, b, t, n, f});
    Matrix m = identity();
    m[0] = 2 / (r - l), m[5] = 2 / (t - b), m[10] = -2 / (f - n);
    m[12] = -(r + l) / (r - l), m[13] = -(t + b) / (t - b), m[14] = -(f + n) / (f - n);
    multCurrent(m);
}
void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    record("glTranslatef", {x, y, z});
    Matrix m = identity();
    m[12] = x, m[13] = y, m[14] = z;
    multCurrent(m);
}
void glScalef(GLfloat x, GLfloat y, GLfloat z) {
    record("glScalef", {x, y, z});
    Matrix m = identity();
    m[0] = x, m[5] = y, m[10] = z;
    multCurrent(m);
}
void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    record("glRotatef", {angle, x, y, z});
    const double len = std::sqrt(double(x) * x + double(y) * y + double(z) * z);
    if (len == 0) return;
    const double ux = x / len, uy = y / len, uz = z / len;
    const double a = angle * M_PI / 180, c = std::cos(a), s = std::sin(a), k = 1 - c;
    Matrix m = identity();
    m[0] = ux * ux * k + c, m[4] = ux * uy * k - uz * s, m[8] = ux * uz * k + uy * s;
    m[1] = uy * ux * k + uz * s, m[5] = uy * uy * k + c, m[9] = uy * uz * k - ux * s;
    m[2] = ux * uz * k - uy * s, m[6] = uy * uz * k + ux * s, m[10] = uz * uz * k + c;
    multCurrent(m);
}
void glClear(GLbitfield mask) {
    record("glClear", {double(mask)});
}
void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
    record("glClearColor", {r, g, b, a});
    GLfloat* c = g_state.clearColor;
    c[0] = r, c[1] = g, c[2] = b, c[3] = a;
}
void glEnable(GLenum cap) {
    record("glEnable", {double(cap)});
    g_state.enabled[cap] = true;
}
void glDisable(GLenum cap) {
    record("glDisable", {double(cap)});
    g_state.enabled[cap] = false;
}
GLboolean glIsEnabled(GLenum cap) {
    return g_state.isEnabled(cap) ? GL_TRUE : GL_FALSE;
}
void glCullFace(GLenum mode) {
    record("glCullFace", {double(mode)});
}
void glShadeModel(GLenum mode) {
    record("glShadeModel", {double(mode)});
}
void glDepthMask(GLboolean flag) {
    record("glDepthMask", {double(flag)});
}
void glBlendFunc(GLenum s, GLenum d) {
    record("glBlendFunc", {double(s), double(d)});
    g_state.blendSrc = s, g_state.blendDst = d;
}
void glLineWidth(GLfloat w) {
    record("glLineWidth", {w});
}
void glColor3f(GLfloat r, GLfloat g, GLfloat b) {
    record("glColor3f", {r, g, b});
    GLfloat* c = g_state.color;
    c[0] = r, c[1] = g, c[2] = b, c[3] = 1;
}
void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    record("glColor4f", {r, g, b, a});
    GLfloat* c = g_state.color;
    c[0] = r, c[1] = g, c[2] = b, c[3] = a;
}
void glBegin(GLenum mode) {
    record("glBegin", {double(mode)});
}
void glEnd() {
    Call& c = record("glEnd", {});
    if (g_recording) c.state = g_state;
}
void glVertex2f(GLfloat x, GLfloat y) {
    record("glVertex2f", {x, y});
}
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    record("glVertex3f", {x, y, z});
}
void glTexCoord2f(GLfloat s, GLfloat t) {
    record("glTexCoord2f", {s, t});
}
void glNormal3f(GLfloat x, GLfloat y, GLfloat z) {
    record("glNormal3f", {x, y, z});
}
void glInterleavedArrays(GLenum format, GLsizei stride, const GLvoid* pointer) {
    record("glInterleavedArrays", {double(format), double(stride)});
    g_array = static_cast<const float*>(pointer);
    g_arrayStride = stride ? stride / int(sizeof(float)) : floatsPerVertex(format);
}
void glDrawArrays(GLenum mode, GLint first, GLsizei count) {
    Call& c = record("glDrawArrays", {double(mode), double(first), double(count)});
    if (!g_recording) return;
    c.state = g_state;
    if (!g_array || g_arrayStride == 0) return;
    c.stride = g_arrayStride;
    c.vertices.assign(g_array + first * g_arrayStride, g_array + (first + count) * g_arrayStride);
}
void glGenTextures(GLsizei n, GLuint* names) {
    record("glGenTextures", {double(n)});
    for (GLsizei i = 0; i < n; ++i) names[i] = g_state.nextTexture++;
}
void glBindTexture(GLenum target, GLuint name) {
    record("glBindTexture", {double(target), double(name)});
    g_state.boundTexture = name;
}
void glTexParameteri(GLenum target, GLenum pname, GLint param) {
    record("glTexParameteri", {double(target), double(pname), double(param)});
}
void glTexEnvi(GLenum target, GLenum pname, GLint param) {
    record("glTexEnvi", {double(target), double(pname), double(param)});
}
void glPixelStorei(GLenum pname, GLint param) {
    record("glPixelStorei", {double(pname), double(param)});
    if (pname == GL_UNPACK_ALIGNMENT) g_state.unpackAlignment = param;
}
void glTexImage2D(GLenum target, GLint level, GLint internal, GLsizei w, GLsizei h, GLint border,
                  GLenum format, GLenum type, const GLvoid* pixels) {
    Call& c = record("glTexImage2D", {double(target), double(level), double(internal), double(w),
                                      double(h), double(border), double(format), double(type)});
    if (level == 0) g_state.images[g_state.boundTexture] = {internal, w, h};
    if (!g_recording || !pixels || type != GL_UNSIGNED_BYTE || w <= 0 || h <= 0) return;
    const long a = g_state.unpackAlignment;
    const long row = (long(w) * bytesPerPixel(format) + a - 1) / a * a;
    const auto* p = static_cast<const unsigned char*>(pixels);
    c.bytes.assign(p, p + row * h);
}
void glCopyTexImage2D(GLenum target, GLint level, GLenum internal, GLint x, GLint y, GLsizei w,
                      GLsizei h, GLint border) {
    record("glCopyTexImage2D", {double(target), double(level), double(internal), double(x),
                                double(y), double(w), double(h), double(border)});
    if (level == 0) g_state.images[g_state.boundTexture] = {GLint(internal), w, h};
}
void glCopyTexSubImage2D(GLenum target, GLint level, GLint xoffset, GLint yoffset, GLint x, GLint y,
                         GLsizei w, GLsizei h) {
    record("glCopyTexSubImage2D", {double(target), double(level), double(xoffset), double(yoffset),
                                   double(x), double(y), double(w), double(h)});
}
void glGetTexLevelParameteriv(GLenum target, GLint level, GLenum pname, GLint* out) {
    record("glGetTexLevelParameteriv", {double(target), double(level), double(pname)});
    const auto found = g_state.images.find(g_state.boundTexture);
    const TextureImage image =
        level == 0 && found != g_state.images.end() ? found->second : TextureImage{};
    if (pname == GL_TEXTURE_WIDTH)
        *out = image.width;
    else if (pname == GL_TEXTURE_HEIGHT)
        *out = image.height;
    else if (pname == GL_TEXTURE_INTERNAL_FORMAT)
        *out = image.internalFormat;
    else
        *out = 0;
}
void glScissor(GLint x, GLint y, GLsizei w, GLsizei h) {
    record("glScissor", {double(x), double(y), double(w), double(h)});
    g_state.scissor[0] = x, g_state.scissor[1] = y, g_state.scissor[2] = w, g_state.scissor[3] = h;
}
void glGetIntegerv(GLenum pname, GLint* out) {
    if (pname == GL_MAX_TEXTURE_SIZE)
        *out = g_state.maxTextureSize;
    else if (pname == GL_VIEWPORT)
        std::memcpy(out, g_state.viewport, sizeof g_state.viewport);
    else if (pname == GL_UNPACK_ALIGNMENT)
        *out = g_state.unpackAlignment;
    else
        *out = 0;
}
GLenum glGetError() {
    return GL_NO_ERROR;
}
void glFinish() {
    record("glFinish", {});
}
void glFlush() {
    record("glFlush", {});
}

void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    record("gluPerspective", {fovy, aspect, zNear, zFar});
    const double f = 1 / std::tan(fovy * M_PI / 360);
    Matrix m{};
    m[0] = f / aspect, m[5] = f, m[10] = (zFar + zNear) / (zNear - zFar);
    m[11] = -1, m[14] = 2 * zFar * zNear / (zNear - zFar);
    multCurrent(m);
}
void gluLookAt(GLdouble ex, GLdouble ey, GLdouble ez, GLdouble cx, GLdouble cy, GLdouble cz,
               GLdouble ux, GLdouble uy, GLdouble uz) {
    record("gluLookAt", {ex, ey, ez, cx, cy, cz, ux, uy, uz});
    double f[3] = {cx - ex, cy - ey, cz - ez};
    double fl = std::sqrt(f[0] * f[0] + f[1] * f[1] + f[2] * f[2]);
    if (fl == 0) return;
    for (double& v : f) v /= fl;
    double s[3] = {f[1] * uz - f[2] * uy, f[2] * ux - f[0] * uz, f[0] * uy - f[1] * ux};
    double sl = std::sqrt(s[0] * s[0] + s[1] * s[1] + s[2] * s[2]);
    if (sl == 0) return;
    for (double& v : s) v /= sl;
    const double u[3] = {s[1] * f[2] - s[2] * f[1], s[2] * f[0] - s[0] * f[2],
                         s[0] * f[1] - s[1] * f[0]};
    Matrix m = identity();
    m[0] = s[0], m[4] = s[1], m[8] = s[2];
    m[1] = u[0], m[5] = u[1], m[9] = u[2];
    m[2] = -f[0], m[6] = -f[1], m[10] = -f[2];
    multCurrent(m);
    Matrix t = identity();
    t[12] = -ex, t[13] = -ey, t[14] = -ez;
    multCurrent(t);
}

void glutSwapBuffers() {
    record("glutSwapBuffers", {});
}
void glutPostRedisplay() {
    record("glutPostRedisplay", {});
}
void glutReshapeWindow(int w, int h) {
    record("glutReshapeWindow", {double(w), double(h)});
}

} // extern "C"
