// An 8-bit RGB picture in memory, top row first.
#pragma once

#include <cstddef>
#include <vector>

struct Rgb {
    unsigned char r, g, b;
};

struct RgbImage {
    int width = 0, height = 0;
    std::vector<unsigned char> pixels;

    RgbImage() = default;
    RgbImage(int w, int h, Rgb fill)
        : width(w), height(h), pixels(std::size_t(w) * std::size_t(h) * 3) {
        for (std::size_t i = 0; i < pixels.size(); i += 3) {
            pixels[i] = fill.r;
            pixels[i + 1] = fill.g;
            pixels[i + 2] = fill.b;
        }
    }
    unsigned char* at(int x, int y) {
        return &pixels[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3];
    }
    const unsigned char* at(int x, int y) const {
        return &pixels[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3];
    }
};
