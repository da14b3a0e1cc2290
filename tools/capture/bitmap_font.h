// A tiny 5 x 7 bitmap font for the contact sheet's labels: digits, a little punctuation and the
// few letters the labels use.
#pragma once

#include "tools/capture/rgb_image.h"

#include <string>

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;
constexpr int kGlyphAdvance = 6;

// Whether pixel (x, y) of c's glyph is lit; a character with no glyph shows as a hollow box,
// so that a missing one is seen rather than silently dropped.
bool glyphPixel(char c, int x, int y);

// Width in pixels of text drawn at the given scale (each font pixel a scale x scale square).
int textWidth(const std::string& text, int scale);

// Draws text with its top-left corner at (x, y), clipped to the image.
void drawText(RgbImage& image, int x, int y, const std::string& text, int scale, Rgb colour);
