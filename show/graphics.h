// Graphics start-up: the GL state every scene starts from, and the twenty textures.
#pragma once

#include "gfx/gl.h"
#include "show/bmp_reader.h"

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

