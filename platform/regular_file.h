// Opening the show's input files for reading. Only a regular file is opened: a FIFO would block
// start-up until a writer came, and a directory or a device has no file in it to read.
#pragma once

#include <cstdio>

// The file for binary reading, or null (with errno set) when it cannot be opened or is not a
// regular file. Never blocks on what it refuses.
std::FILE* OpenRegularFile(const char* path);
