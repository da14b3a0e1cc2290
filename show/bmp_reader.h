// Uncompressed 24- and 32-bit BMP files, as editors write them, read into GL-ready rows.
#pragma once

#include <string>
#include <vector>

enum class BmpStatus { Ok, OpenError, ReadError };

struct BmpImage {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb; // bottom row first, rows padded to 4 bytes
};

// Reads the file at path; on failure out is left empty and reason (if given) says why in a few
// words. Pictures wider or taller than maxSide are refused.
BmpStatus readBmp(const char* path, int maxSide, BmpImage& out, std::string* reason = nullptr);
