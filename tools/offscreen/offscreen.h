// A frame-sized GL context with no display: EGL on Mesa's surfaceless platform. Frames drawn
// here match the show's window pixel for pixel, so tests and tools render the real scenes.
#pragma once

#include "gfx/frame.h"

#include <string>
#include <vector>

// Makes the context current on the calling thread; false with a reason if no EGL is usable.
bool offscreenOpen(std::string* error);

// The finished frame as RGB bytes, top row first.
void offscreenReadFrame(std::vector<unsigned char>& rgb);

// Writes RGB bytes (top row first) as an 8-bit PNG.
bool writePng(const std::string& path, int width, int height, const unsigned char* rgb);

// Reads an 8-bit RGB or RGBA PNG back as RGB (top row first); for tests and tools.
bool readPng(const std::string& path, int& width, int& height, std::vector<unsigned char>& rgb);
