#include "platform/webgl/matrix.h"

#include <cmath>

namespace webgl {

namespace {
constexpr double kPi = 3.14159265358979323846;

float& at(Mat4& m, int row, int col) {
    return m[col * 4 + row];
}
} // namespace

Mat4 identity() {
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

Mat4 multiply(const Mat4& a, const Mat4& b) {
    Mat4 out{};
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            out[c * 4 + r] = a[r] * b[c * 4] + a[4 + r] * b[c * 4 + 1] + a[8 + r] * b[c * 4 + 2] +
                             a[12 + r] * b[c * 4 + 3];
    return out;
}

Mat4 translation(float x, float y, float z) {
    Mat4 m = identity();
    m[12] = x;
    m[13] = y;
    m[14] = z;
    return m;
}

Mat4 rotation(float degrees, float x, float y, float z) {
    const float radians = static_cast<float>(degrees * kPi / 180.0);
    const float s = std::sin(radians), c = std::cos(radians);
    Mat4 m = identity();
    const float length = std::sqrt(x * x + y * y + z * z);
    if (length == 0.0f) return m; // no axis: GL leaves the matrix as it is
    x /= length;
    y /= length;
    z /= length;
    const float oneMinusC = 1.0f - c;
    at(m, 0, 0) = x * x * oneMinusC + c;
    at(m, 0, 1) = x * y * oneMinusC - z * s;
    at(m, 0, 2) = x * z * oneMinusC + y * s;
    at(m, 1, 0) = y * x * oneMinusC + z * s;
    at(m, 1, 1) = y * y * oneMinusC + c;
    at(m, 1, 2) = y * z * oneMinusC - x * s;
    at(m, 2, 0) = x * z * oneMinusC - y * s;
    at(m, 2, 1) = y * z * oneMinusC + x * s;
    at(m, 2, 2) = z * z * oneMinusC + c;
    return m;
}

Mat4 ortho(float left, float right, float bottom, float top, float nearZ, float farZ) {
    Mat4 m = identity();
    at(m, 0, 0) = 2.0f / (right - left);
    at(m, 0, 3) = -(right + left) / (right - left);
    at(m, 1, 1) = 2.0f / (top - bottom);
    at(m, 1, 3) = -(top + bottom) / (top - bottom);
    at(m, 2, 2) = -2.0f / (farZ - nearZ);
    at(m, 2, 3) = -(farZ + nearZ) / (farZ - nearZ);
    return m;
}

Mat4 perspective(double fovyDegrees, double aspect, double nearZ, double farZ) {
    const double radians = fovyDegrees / 2 * kPi / 180.0;
    const double deltaZ = farZ - nearZ;
    const double sine = std::sin(radians);
    Mat4 m = identity();
    if (deltaZ == 0 || sine == 0 || aspect == 0) return m; // GLU ignores such a call
    const double cotangent = std::cos(radians) / sine;
    at(m, 0, 0) = static_cast<float>(cotangent / aspect);
    at(m, 1, 1) = static_cast<float>(cotangent);
    at(m, 2, 2) = static_cast<float>(-(farZ + nearZ) / deltaZ);
    at(m, 3, 2) = -1.0f;
    at(m, 2, 3) = static_cast<float>(-2 * nearZ * farZ / deltaZ);
    at(m, 3, 3) = 0.0f;
    return m;
}

namespace {
void normalize(float v[3]) {
    const float r = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (r == 0.0f) return;
    v[0] /= r;
    v[1] /= r;
    v[2] /= r;
}

void cross(const float a[3], const float b[3], float out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}
} // namespace

Mat4 lookAt(double eyeX, double eyeY, double eyeZ, double centerX, double centerY, double centerZ,
            double upX, double upY, double upZ) {
    float forward[3] = {float(centerX - eyeX), float(centerY - eyeY), float(centerZ - eyeZ)};
    float up[3] = {float(upX), float(upY), float(upZ)};
    float side[3];
    normalize(forward);
    cross(forward, up, side);
    normalize(side);
    cross(side, forward, up);
    Mat4 m = identity();
    for (int i = 0; i < 3; ++i) {
        at(m, 0, i) = side[i];
        at(m, 1, i) = up[i];
        at(m, 2, i) = -forward[i];
    }
    return multiply(m, translation(float(-eyeX), float(-eyeY), float(-eyeZ)));
}

std::array<float, 4> transformPoint(const Mat4& m, float x, float y, float z) {
    std::array<float, 4> out;
    for (int r = 0; r < 4; ++r) out[r] = m[r] * x + m[4 + r] * y + m[8 + r] * z + m[12 + r];
    return out;
}

std::array<float, 9> normalMatrix(const Mat4& m) {
    // Cofactors of the upper 3 x 3 over its determinant: that is the inverse transpose.
    const float a = m[0], b = m[4], c = m[8];
    const float d = m[1], e = m[5], f = m[9];
    const float g = m[2], h = m[6], i = m[10];
    const float det = a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
    if (det == 0.0f) return {};
    const float k = 1.0f / det;
    return {(e * i - f * h) * k,  -(d * i - f * g) * k, (d * h - e * g) * k,
            -(b * i - c * h) * k, (a * i - c * g) * k,  -(a * h - b * g) * k,
            (b * f - c * e) * k,  -(a * f - c * d) * k, (a * e - b * d) * k};
}

} // namespace webgl
