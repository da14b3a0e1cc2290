// The plain 24-bit BMP the show reads: 54-byte header, rows bottom-up, blue-green-red, no padding.
#pragma once

#include "image.h"

#include <cstdint>
#include <string>
#include <vector>

std::vector<uint8_t> encodeBmp(const Image& image);
bool writeBmp(const std::string& path, const Image& image);
