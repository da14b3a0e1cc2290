// A recording stand-in for the GL, GLU and GLUT entry points. Test binaries link it in place
// of the real libraries, so a test can assert the exact calls and arguments of a function
// without any GL context. It also keeps the little state tests like to ask about afterwards.
#pragma once

#include <GL/gl.h>

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace glrec {

using Matrix = std::array<double, 16>; // column-major, as GL keeps it

// What glTexImage2D or glCopyTexImage2D last made of a texture's level 0.
struct TextureImage {
    GLint internalFormat = 0, width = 0, height = 0;
};

struct State {
    std::map<GLenum, bool> enabled;
    std::map<GLuint, TextureImage> images; // by texture name; none until first defined
    GLenum matrixMode = GL_MODELVIEW;
    std::vector<Matrix> modelview, projection; // stacks, top at back
    GLint viewport[4] = {0, 0, 800, 600};
    GLint scissor[4] = {0, 0, 800, 600};
    GLfloat clearColor[4] = {0, 0, 0, 0};
    GLfloat color[4] = {1, 1, 1, 1};
    GLenum blendSrc = GL_ONE, blendDst = GL_ZERO;
    GLuint boundTexture = 0;
    GLint unpackAlignment = 4;
    GLint maxTextureSize = 16384;
    GLuint nextTexture = 1;
    bool isEnabled(GLenum cap) const;
};

struct Call {
    std::string name;                 // "glTranslatef", "gluLookAt", "glutSwapBuffers", ...
    std::vector<double> args;         // numeric arguments in order (enums as numbers)
    std::vector<float> vertices;      // glDrawArrays: the vertices read from the array, as floats
    int stride = 0;                   // floats per vertex of `vertices` (8 for GL_T2F_N3F_V3F)
    std::vector<unsigned char> bytes; // glTexImage2D: the pixel block handed over
    Matrix modelview{};               // the modelview matrix at the time of the call
    State state;                      // glDrawArrays and glEnd: the state the shape was drawn under
    double arg(size_t i) const { return args.at(i); }
};

// Everything recorded since the last reset, in order.
const std::vector<Call>& calls();
// Forgets the calls and returns the state to a fresh context's.
void reset();
// While off, calls are not stored (the state is still kept): for allocation counts.
void setRecording(bool on);

// Convenience queries.
std::vector<Call> named(const std::string& name);
size_t count(const std::string& name);
// The names of the calls in order, optionally only those in `only`.
std::vector<std::string> names(const std::vector<std::string>& only = {});
// Index of the first call with that name at or after `from`, or -1.
long find(const std::string& name, size_t from = 0);

State& state();

// Applies a column-major matrix to a point.
std::array<double, 3> apply(const Matrix& m, double x, double y, double z);

} // namespace glrec
