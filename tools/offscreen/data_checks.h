// Whether the files under Data/ that the show reads are all there.
#pragma once

#include "shell/data_files.h"
#include "tools/offscreen/data_folder.h"

#include <string>

// The music and the twelve bitmaps; false naming the first one missing.
bool checkDataFiles(std::string* error);
// Every picture read as the show reads it, so that a bad one is named and stops the capture
// before the show's own loader ends the process on it; false naming the first bad one.
bool checkPictures(int maxSide, std::string* error);
