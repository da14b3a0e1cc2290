// Graphics start-up: the GL state every scene starts from, and the twenty textures.
#pragma once

#include "gfx/gl.h"
#include "shell/bmp_reader.h"

void initGraphics();

// Makes a texture from a 24- or 32-bit BMP file (see readBmp); prints "file open error." or
// "file read error." and ends the process if the file is missing or unusable.
GLuint loadBmpTexture(const char* path);

// An empty 128 x 128 RGBA texture that the scenes later redefine by framebuffer copies.
GLuint createRenderTarget();
