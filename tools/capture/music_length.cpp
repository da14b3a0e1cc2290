#include "tools/capture/music_length.h"

#include "sound/cdsound.h"
#include "sound/ogg_vorbis.h"

#include <unistd.h>

bool musicLengthMs(const std::string& path, double& totalMs, std::string* error) {
    // Checked first: the loader would show its own message box for a missing file.
    if (access(path.c_str(), R_OK) != 0) {
        if (error) *error = "cannot open " + path;
        return false;
    }
    COggVorbis music;
    const int opened = music.Open(path.c_str());
    if (opened < 0) {
        if (error) *error = path + (opened == -2 ? " is not an Ogg Vorbis file" : " has no length");
        return false;
    }
    totalMs = bytesToMilliseconds(music.GetDataSize(), music.GetAvgBytesPerSec());
    return true;
}
