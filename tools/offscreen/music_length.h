// The music's total length as the program's sound engine reports it.
#pragma once

#include <string>

struct MusicInfo {
    double totalMs = 0;
    unsigned samplesPerSec = 0;
};

// The length in milliseconds, worked out as the engine does from the decoded size: data bytes
// over bytes per second, times 1000 in double precision, truncated to a 32-bit count; and the
// rate the music plays at. The file is opened as the show opens it (RIFF WAVE PCM, else Ogg
// Vorbis). False with a reason if the file is missing, not one the show plays, or too short to
// show a frame.
bool readMusicInfo(const std::string& path, MusicInfo& info, std::string* error);

// The length alone.
bool musicLengthMs(const std::string& path, double& totalMs, std::string* error);
