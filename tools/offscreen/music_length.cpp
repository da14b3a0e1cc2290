#include "tools/offscreen/music_length.h"

#include "sound/play_time.h"
#include "sound/sound_file.h"
#include "sound/sound_loader.h"

#include <memory>
#include <unistd.h>

bool readMusicInfo(const std::string& path, MusicInfo& info, std::string* error) {
    // Checked first: the loader would show its own message box for a missing file.
    if (access(path.c_str(), R_OK) != 0) {
        if (error) *error = "cannot open " + path;
        return false;
    }
    const std::unique_ptr<CSoundLoader> music(OpenSoundFile(path.c_str()));
    if (!music) {
        if (error) *error = path + " is not an Ogg Vorbis file or a WAVE file the show plays";
        return false;
    }
    info.totalMs = BytesToMilliseconds(music->GetDataSize(), music->GetAvgBytesPerSec());
    info.samplesPerSec = music->GetSamplesPerSec();
    music->Close();
    if (info.totalMs == 0) {
        if (error) *error = path + " is too short to show: it lasts under 1 ms";
        return false;
    }
    return true;
}

bool musicLengthMs(const std::string& path, double& totalMs, std::string* error) {
    MusicInfo info;
    if (!readMusicInfo(path, info, error)) return false;
    totalMs = info.totalMs;
    return true;
}
