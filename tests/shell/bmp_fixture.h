// Writes small BMP files of any shape, good or broken, for the reader's tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct BmpFixture {
    int32_t width = 2, height = 1;
    uint16_t bits = 24;
    std::vector<unsigned char> pixels; // written right after the 54-byte header
    uint32_t dataOffset = 54;          // what the header claims
    size_t truncateTo = 0;             // cut the file to this many bytes if non-zero
};

std::string tempDir();
void writeBmp(const std::string& path, const BmpFixture& f);
