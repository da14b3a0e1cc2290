// Our own lettering: capitals drawn as round-ended strokes on a 4 x 6 grid, rendered with
// distance-based anti-aliasing so they stay smooth at any size.
#pragma once

#include "image.h"

#include <string>

struct TextStyle {
    double unit;         // pixels per grid step; capitals are 6 steps tall
    double weight = 0.6; // stroke half-width in grid steps
    double gap = 2.0;    // grid steps between glyphs
    double slant = 0;    // sideways shift per unit of height
};

// Width in pixels of the text's stroke centre lines, slant and stroke ends not counted.
double textWidth(const std::string& text, const TextStyle& style);

// Draws text with its left end at x and its baseline at y (pixels, y down), keeping the
// brighter coverage where strokes meet. Returns false on a character the font lacks.
bool drawText(Mask& mask, const std::string& text, double x, double y, const TextStyle& style);

// Draws text centred on x (slant included) with its baseline at y.
bool drawTextCentred(Mask& mask, const std::string& text, double x, double y,
                     const TextStyle& style);
