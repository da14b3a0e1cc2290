// Windows' opengl32.dll exports OpenGL 1.1 only: the framebuffer calls of the full-screen frame
// are the driver's, looked up once a context is current. A call the driver lacks does nothing
// and answers 0, so the full-screen start finds the framebuffer incomplete and says so.
#define GL_GLEXT_PROTOTYPES 1
#include <windows.h>

#include <GL/gl.h>
#include <GL/glext.h>

namespace {

template <class Function> Function entry(const char* name) {
    void* address = reinterpret_cast<void*>(wglGetProcAddress(name));
    // Some drivers answer small integers instead of null for what they lack.
    const auto value = reinterpret_cast<INT_PTR>(address);
    if (value >= -1 && value <= 3) return nullptr;
    return reinterpret_cast<Function>(address);
}

} // namespace

// Each entry point is looked up on its first call: by then the window's context is current.
#define KV_GL_ENTRY(result, name, params, args)                                                    \
    extern "C" result APIENTRY name params {                                                       \
        using Result = result;                                                                     \
        using Function = Result(APIENTRY*) params;                                                 \
        static const Function f = entry<Function>(#name);                                          \
        return f ? f args : Result();                                                              \
    }

KV_GL_ENTRY(const GLubyte*, glGetStringi, (GLenum name, GLuint index), (name, index))
KV_GL_ENTRY(void, glGenRenderbuffers, (GLsizei n, GLuint* ids), (n, ids))
KV_GL_ENTRY(void, glBindRenderbuffer, (GLenum target, GLuint id), (target, id))
KV_GL_ENTRY(void, glRenderbufferStorage, (GLenum target, GLenum format, GLsizei w, GLsizei h),
            (target, format, w, h))
KV_GL_ENTRY(void, glGenFramebuffers, (GLsizei n, GLuint* ids), (n, ids))
KV_GL_ENTRY(void, glBindFramebuffer, (GLenum target, GLuint id), (target, id))
KV_GL_ENTRY(void, glFramebufferParameteri, (GLenum target, GLenum name, GLint value),
            (target, name, value))
KV_GL_ENTRY(void, glFramebufferRenderbuffer,
            (GLenum target, GLenum attachment, GLenum rbTarget, GLuint id),
            (target, attachment, rbTarget, id))
KV_GL_ENTRY(GLenum, glCheckFramebufferStatus, (GLenum target), (target))
KV_GL_ENTRY(void, glBlitFramebuffer,
            (GLint x0, GLint y0, GLint x1, GLint y1, GLint u0, GLint v0, GLint u1, GLint v1,
             GLbitfield mask, GLenum filter),
            (x0, y0, x1, y1, u0, v0, u1, v1, mask, filter))
