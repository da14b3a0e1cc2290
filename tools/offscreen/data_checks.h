// Whether the files under Data/ that the show reads are all there and usable.
#pragma once

#include "show/data_files.h"
#include "tools/offscreen/data_folder.h"

#include <string>

// The music and the twelve bitmaps; false naming the first one missing.
bool checkDataFiles(std::string* error);
// The show's graphics start-up on the current context; false naming the first picture it
// could not use and why.
bool startShowGraphics(std::string* error);
