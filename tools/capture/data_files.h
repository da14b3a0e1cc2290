// The files under Data/ that the show reads.
#pragma once

#include "tools/offscreen/data_folder.h"

#include <string>

// The music and the twelve pictures; false naming the first one missing.
bool checkDataFiles(std::string* error);

constexpr const char* kMusicFile = "Data/tech.ogg";
