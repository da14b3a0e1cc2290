// The files under Data/ that the show reads.
#pragma once

#include <string>

// Moves into the folder that holds Data/: the working directory if it has one, else the
// folder of this program (the build tree keeps Data/ beside its programs).
void enterDataFolder();

// The music and the twelve pictures; false naming the first one missing.
bool checkDataFiles(std::string* error);

constexpr const char* kMusicFile = "Data/tech.ogg";
