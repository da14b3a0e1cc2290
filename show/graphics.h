// Graphics start-up: the GL state every scene starts from, and the twenty textures.
#pragma once

#include "gfx/gl.h"

#include <cstdio>
#include <vector>

enum class BmpStatus;

// How start-up went: Ok, or how the first picture it could not use failed, and which.
struct GraphicsStart {
    BmpStatus status;
    const char* picture; // the path under Data/, or null when all went well
    bool ok() const { return picture == nullptr; }
};

// Sets the GL state every scene starts from and makes the twenty textures in table order. It
// stops at the first picture it cannot use; the host says so and ends the run.
[[nodiscard]] GraphicsStart initGraphics();

// The show's own words for a failed start: "file open error." or "file read error.".
const char* startErrorMessage(BmpStatus status);

// Makes a texture from a 24- or 32-bit BMP file into name; Ok, or why the file is unusable.
BmpStatus loadBmpTexture(const char* path, GLuint& name);

// An empty 128 x 128 RGBA texture that the scenes later redefine by framebuffer copies.
GLuint createRenderTarget();

// The BMP reader behind loadBmpTexture, without the exits.
enum class BmpStatus { Ok, OpenError, ReadError };
struct BmpImage {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb; // bottom row first, rows padded to 4 bytes
};
BmpStatus readBmp(const char* path, int maxSide, BmpImage& out);
