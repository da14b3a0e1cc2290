// Writes small BMP files of any shape, good or broken, for the reader's tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct BmpFixture {
    int32_t width = 2, height = 1;
    uint16_t bits = 24;
    uint32_t infoSize = 40;
    uint32_t compression = 0;
    std::vector<uint32_t> masks; // inside a larger header, or right after a 40-byte one
    std::vector<unsigned char> pixels;
    uint32_t dataOffset = 0;  // 0: right after the headers; larger leaves a gap before the pixels
    uint32_t claimOffset = 0; // what the header says, if not where the pixels are
    size_t truncateTo = 0;    // cut the file to this many bytes if non-zero
};

std::string tempDir();
void writeBmp(const std::string& path, const BmpFixture& f);
