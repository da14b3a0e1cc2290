// Whether the files under Data/ that the show reads are all there.
#pragma once

#include "shell/data_files.h"
#include "tools/offscreen/data_folder.h"

#include <string>

// The music and the twelve bitmaps; false naming the first one missing.
bool checkDataFiles(std::string* error);
