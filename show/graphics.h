// Graphics start-up: the GL state every scene starts from, and the twenty textures.
#pragma once

#include "gfx/gl.h"

#include <cstdio>
#include <vector>

void initGraphics();

// Makes a texture from a 24- or 32-bit BMP file; prints "file open error." or
// "file read error." and ends the process if the file is missing or unusable.
GLuint loadBmpTexture(const char* path);

// An empty 128 x 128 RGBA texture that the scenes later redefine by framebuffer copies.
GLuint createRenderTarget();

// The BMP reader behind loadBmpTexture, without the exits.
enum class BmpStatus { Ok, OpenError, ReadError };
struct BmpImage {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb; // bottom row first, rows padded to 4 bytes
};
BmpStatus readBmp(const char* path, int maxSide, BmpImage& out);
