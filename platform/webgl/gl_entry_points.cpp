// The GL 1.1 and GLU entry points the show calls, on WebGL 2. State and vertex work
// live in FixedFunction; texture images, clears and the viewport go straight to the browser,
// after the pending shapes have been drawn.
#include "gfx/frame.h"
#include "platform/webgl/fixed_function.h"
#include "platform/webgl/webgl_context.h"
#include "platform/webgl/webgl_device.h"

#include <GL/gl.h>

extern "C" {
void emscripten_glClear(GLbitfield);
void emscripten_glClearColor(GLclampf, GLclampf, GLclampf, GLclampf);
void emscripten_glCopyTexImage2D(GLenum, GLint, GLenum, GLint, GLint, GLsizei, GLsizei, GLint);
void emscripten_glCopyTexSubImage2D(GLenum, GLint, GLint, GLint, GLint, GLint, GLsizei, GLsizei);
void emscripten_glDisable(GLenum);
void emscripten_glEnable(GLenum);
void emscripten_glGenTextures(GLsizei, GLuint*);
void emscripten_glGetIntegerv(GLenum, GLint*);
void emscripten_glTexImage2D(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum,
                             const void*);
void emscripten_glTexParameteri(GLenum, GLenum, GLint);
void emscripten_glScissor(GLint, GLint, GLsizei, GLsizei);
void emscripten_glViewport(GLint, GLint, GLsizei, GLsizei);
}

namespace {
constexpr int kFramebufferWidth = kFrameWidth, kFramebufferHeight = kFrameHeight; // the canvas
webgl::WebGLDevice device;
webgl::FixedFunction* pipeline = nullptr;

// Where the show's calls act on the texture bound at that moment, the browser's binding must
// follow ours first.
void bindForUpdate() {
    pipeline->flush();
    device.bindTexture(pipeline->boundTexture());
}

// The image each texture was last given, so that a copy that redefines it as it already is
// can copy just the part of the window it holds: what lies outside is never sampled.
struct TextureImage {
    GLenum format = 0;
    GLsizei width = 0, height = 0;
};
constexpr GLuint kTrackedTextures = 64;
TextureImage images[kTrackedTextures];

TextureImage* imageOf(GLuint name) {
    return name < kTrackedTextures ? &images[name] : nullptr;
}
} // namespace

bool openWebGLContext(const char* canvasSelector) {
    if (!device.open(canvasSelector)) return false;
    static webgl::FixedFunction fresh(device, kFramebufferHeight);
    pipeline = &fresh;
    return true;
}

extern "C" {

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    pipeline->flush();
    pipeline->viewport(x, y, width, height);
    emscripten_glViewport(x, y, width, height);
}

void glClear(GLbitfield mask) {
    pipeline->flush();
    emscripten_glClear(mask);
}

void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
    emscripten_glClearColor(r, g, b, a);
}

// The scissor limits what the browser rasterises, so the shapes pending under the old setting
// are drawn first.
void glScissor(GLint x, GLint y, GLsizei width, GLsizei height) {
    pipeline->flush();
    emscripten_glScissor(x, y, width, height);
}

void glEnable(GLenum cap) {
    if (cap == GL_SCISSOR_TEST) {
        pipeline->flush();
        emscripten_glEnable(cap);
        return;
    }
    pipeline->setEnabled(cap, true);
}

void glDisable(GLenum cap) {
    if (cap == GL_SCISSOR_TEST) {
        pipeline->flush();
        emscripten_glDisable(cap);
        return;
    }
    pipeline->setEnabled(cap, false);
}

void glCullFace(GLenum mode) {
    pipeline->cullFace(mode);
}

void glShadeModel(GLenum mode) {
    pipeline->shadeModel(mode);
}

void glBlendFunc(GLenum src, GLenum dst) {
    pipeline->blendFunc(src, dst);
}

// Lines are drawn as quads one pixel across, the only width the show uses.
void glLineWidth(GLfloat) {}

void glMatrixMode(GLenum mode) {
    pipeline->matrixMode(mode);
}

void glLoadIdentity() {
    pipeline->loadIdentity();
}

void glPushMatrix() {
    pipeline->pushMatrix();
}

void glPopMatrix() {
    pipeline->popMatrix();
}

void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    pipeline->multMatrix(webgl::translation(x, y, z));
}

void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    pipeline->multMatrix(webgl::rotation(angle, x, y, z));
}

void glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble nearZ,
             GLdouble farZ) {
    pipeline->multMatrix(webgl::ortho(float(left), float(right), float(bottom), float(top),
                                      float(nearZ), float(farZ)));
}

void glColor3f(GLfloat r, GLfloat g, GLfloat b) {
    pipeline->color(r, g, b, 1.0f);
}

void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    pipeline->color(r, g, b, a);
}

void glTexCoord2f(GLfloat s, GLfloat t) {
    pipeline->texCoord(s, t);
}

void glBegin(GLenum mode) {
    pipeline->begin(mode);
}

void glVertex2f(GLfloat x, GLfloat y) {
    pipeline->vertex(x, y, 0.0f);
}

void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    pipeline->vertex(x, y, z);
}

void glEnd() {
    pipeline->end();
}

void glInterleavedArrays(GLenum format, GLsizei stride, const GLvoid* pointer) {
    pipeline->interleavedArrays(format, stride, pointer);
}

void glDrawArrays(GLenum mode, GLint first, GLsizei count) {
    pipeline->drawArrays(mode, first, count);
}

void glGenTextures(GLsizei n, GLuint* names) {
    emscripten_glGenTextures(n, names);
}

void glBindTexture(GLenum target, GLuint name) {
    if (target == GL_TEXTURE_2D) pipeline->bindTexture(name);
}

void glTexParameteri(GLenum target, GLenum pname, GLint param) {
    bindForUpdate();
    emscripten_glTexParameteri(target, pname, param);
}

// GL 1.1 also takes a component count for the internal format; WebGL wants the format.
void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                  GLint border, GLenum format, GLenum type, const GLvoid* pixels) {
    if (internalFormat == 3) internalFormat = GL_RGB;
    if (internalFormat == 4) internalFormat = GL_RGBA;
    bindForUpdate();
    emscripten_glTexImage2D(target, level, internalFormat, width, height, border, format, type,
                            pixels);
    if (TextureImage* image = imageOf(pipeline->boundTexture()))
        *image = {GLenum(internalFormat), width, height};
}

void glCopyTexImage2D(GLenum target, GLint level, GLenum internalFormat, GLint x, GLint y,
                      GLsizei width, GLsizei height, GLint border) {
    bindForUpdate();
    TextureImage* image = imageOf(pipeline->boundTexture());
    const TextureImage wanted = {internalFormat, width, height};
    if (image && level == 0 && border == 0 && x == 0 && y == 0 && image->format == wanted.format &&
        image->width == width && image->height == height) {
        const GLsizei w = width < kFramebufferWidth ? width : kFramebufferWidth;
        const GLsizei h = height < kFramebufferHeight ? height : kFramebufferHeight;
        emscripten_glCopyTexSubImage2D(target, 0, 0, 0, 0, 0, w, h);
        return;
    }
    emscripten_glCopyTexImage2D(target, level, internalFormat, x, y, width, height, border);
    if (image) *image = wanted;
}

void glCopyTexSubImage2D(GLenum target, GLint level, GLint xOffset, GLint yOffset, GLint x, GLint y,
                         GLsizei width, GLsizei height) {
    bindForUpdate();
    emscripten_glCopyTexSubImage2D(target, level, xOffset, yOffset, x, y, width, height);
}

// WebGL cannot be asked about a texture's image; the image this layer gave it answers.
void glGetTexLevelParameteriv(GLenum, GLint level, GLenum pname, GLint* out) {
    const TextureImage* image = imageOf(pipeline->boundTexture());
    const TextureImage none;
    const TextureImage& known = image && level == 0 ? *image : none;
    switch (pname) {
    case GL_TEXTURE_WIDTH:
        *out = known.width;
        break;
    case GL_TEXTURE_HEIGHT:
        *out = known.height;
        break;
    case GL_TEXTURE_INTERNAL_FORMAT:
        *out = GLint(known.format);
        break;
    default:
        *out = 0;
    }
}

void glGetIntegerv(GLenum pname, GLint* out) {
    emscripten_glGetIntegerv(pname, out);
}

void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    pipeline->multMatrix(webgl::perspective(fovy, aspect, zNear, zFar));
}

void gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY,
               GLdouble centerZ, GLdouble upX, GLdouble upY, GLdouble upZ) {
    pipeline->multMatrix(webgl::lookAt(eyeX, eyeY, eyeZ, centerX, centerY, centerZ, upX, upY, upZ));
}

// The browser shows the canvas when control returns to it; all that is left is to draw
// what is pending.
void glFlush() {
    pipeline->flush();
}

} // extern "C"
