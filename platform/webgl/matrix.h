// 4 x 4 float matrices as the fixed-function pipeline keeps them: column-major, built and
// multiplied in single precision the way Mesa and its GLU do, so that the web frames land
// on the same pixels as the native ones.
#pragma once

#include <array>

namespace webgl {

using Mat4 = std::array<float, 16>; // column-major: element (row r, column c) is m[c * 4 + r]

Mat4 identity();
// a x b: b is applied first.
Mat4 multiply(const Mat4& a, const Mat4& b);

Mat4 translation(float x, float y, float z);
// Angle in degrees about the axis (x, y, z), which need not be of unit length.
Mat4 rotation(float degrees, float x, float y, float z);
Mat4 ortho(float left, float right, float bottom, float top, float nearZ, float farZ);
// GLU's: worked in double, then narrowed to float as glMultMatrixd does.
Mat4 perspective(double fovyDegrees, double aspect, double nearZ, double farZ);
// GLU's: the rotation in float, then the translation by -eye.
Mat4 lookAt(double eyeX, double eyeY, double eyeZ, double centerX, double centerY, double centerZ,
            double upX, double upY, double upZ);

// m x (x, y, z, 1).
std::array<float, 4> transformPoint(const Mat4& m, float x, float y, float z);

// The matrix that carries normals to eye space: the inverse transpose of the upper 3 x 3
// (row-major here). A singular matrix gives zeros: such a shape has no lit side.
std::array<float, 9> normalMatrix(const Mat4& m);

} // namespace webgl
