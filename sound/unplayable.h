// What a file that neither loader takes is, in words for the user: the show plays only
// Ogg Vorbis and PCM WAVE, and a user who put some other music in its place should be told
// what they gave it.
#pragma once

#include <cstddef>
#include <string>

// The kind of file, from its first bytes (1084 are enough for every kind named).
std::string WhyUnplayable(const unsigned char* head, std::size_t size);

// The same for a file on disk; "it cannot be read" when it cannot.
std::string WhyUnplayable(const char* fileName);
