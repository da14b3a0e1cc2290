// Our matrices against the native GL's and GLU's, float for float: the web frames can only
// land on the native pixels if every transform is worked the same way.
#include "platform/webgl/matrix.h"
#include "tools/offscreen/offscreen.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

class NativeMatrices : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        std::string error;
        if (!offscreenOpen(&error)) GTEST_SKIP() << error;
    }
    void SetUp() override {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    static webgl::Mat4 native(GLenum which) {
        webgl::Mat4 m;
        glGetFloatv(which, m.data());
        return m;
    }
};

void expectSame(const webgl::Mat4& ours, const webgl::Mat4& theirs) {
    for (int i = 0; i < 16; ++i) EXPECT_EQ(ours[i], theirs[i]) << "element " << i;
}

TEST_F(NativeMatrices, ProjectionsOfTheScenes) {
    gluPerspective(60.0, 1.3333333333333333, 1.0, 3000.0);
    expectSame(webgl::perspective(60.0, 1.3333333333333333, 1.0, 3000.0),
               native(GL_MODELVIEW_MATRIX));
    glLoadIdentity();
    glOrtho(-400, 400, -300, 300, -50, 50);
    expectSame(webgl::ortho(-400, 400, -300, 300, -50, 50), native(GL_MODELVIEW_MATRIX));
}

TEST_F(NativeMatrices, CameraAndPlacementsComposeAlike) {
    const double eye[3] = {123.25, -40.5, 310.75}, centre[3] = {-3.5, 12.0, -80.25};
    gluLookAt(eye[0], eye[1], eye[2], centre[0], centre[1], centre[2], 0.1, 1, 0.05);
    webgl::Mat4 ours =
        webgl::lookAt(eye[0], eye[1], eye[2], centre[0], centre[1], centre[2], 0.1, 1, 0.05);
    expectSame(ours, native(GL_MODELVIEW_MATRIX));

    const float turns[][4] = {
        {37.5f, 0, 1, 0}, {-112.25f, 1, 0, 0}, {7.0f, 0.3f, -2.0f, 0.7f}, {400.0f, 0, 0, -1}};
    for (const auto& r : turns) {
        glRotatef(r[0], r[1], r[2], r[3]);
        glTranslatef(r[0] * 0.5f, -r[0], 3.25f);
        ours = webgl::multiply(ours, webgl::rotation(r[0], r[1], r[2], r[3]));
        ours = webgl::multiply(ours, webgl::translation(r[0] * 0.5f, -r[0], 3.25f));
        expectSame(ours, native(GL_MODELVIEW_MATRIX));
    }
}

// Mesa leaves the current normal where glNormal put it when an array draw reads normals from
// client memory; the immediate-mode shapes that follow are lit with it.
TEST_F(NativeMatrices, AnArrayDrawLeavesTheCurrentNormal) {
    const float vertex[8] = {0, 0, 0.6f, 0.0f, 0.8f, 1, 2, 3};
    glNormal3f(0, 0, 1);
    glInterleavedArrays(GL_T2F_N3F_V3F, 0, vertex);
    glDrawArrays(GL_POINTS, 0, 1);
    glFinish();
    float normal[4] = {};
    glGetFloatv(GL_CURRENT_NORMAL, normal);
    EXPECT_EQ(normal[0], 0.0f);
    EXPECT_EQ(normal[2], 1.0f);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

TEST(NormalMatrix, UndoesScalingAndKeepsRotation) {
    const webgl::Mat4 turn = webgl::rotation(30, 0, 0, 1);
    const std::array<float, 9> n = webgl::normalMatrix(turn);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) EXPECT_NEAR(n[r * 3 + c], turn[c * 4 + r], 1e-6);
    webgl::Mat4 squash = webgl::identity();
    squash[0] = 2;
    squash[5] = 4;
    const std::array<float, 9> s = webgl::normalMatrix(squash);
    EXPECT_FLOAT_EQ(s[0], 0.5f);
    EXPECT_FLOAT_EQ(s[4], 0.25f);
    EXPECT_FLOAT_EQ(s[8], 1.0f);
    EXPECT_EQ(webgl::normalMatrix(webgl::Mat4{}), (std::array<float, 9>{}));
}

} // namespace
