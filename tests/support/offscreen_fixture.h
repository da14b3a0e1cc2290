// Render tests on the offscreen context, with the show's textures made once a suite.
#pragma once

#include "gfx/gl.h"
#include "show/graphics.h"
#include "tools/offscreen/offscreen.h"

#include <gtest/gtest.h>

#include <vector>

using Pixels = std::vector<unsigned char>;

class OffscreenTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        std::string error;
        ASSERT_TRUE(offscreenOpen(&error)) << error;
        ASSERT_TRUE(initGraphics().ok());
    }
    static Pixels frame() {
        Pixels rgb;
        offscreenReadFrame(rgb);
        return rgb;
    }
    // A square texture of the given side, bottom row first.
    static Pixels texture(GLuint name, int side) {
        Pixels rgb(size_t(side) * side * 3);
        glBindTexture(GL_TEXTURE_2D, name);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        return rgb;
    }
};
