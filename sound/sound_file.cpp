#include "sound/sound_file.h"

#include "sound/ogg_vorbis.h"
#include "sound/wave.h"

#include <memory>

CSoundLoader* OpenSoundFile(const char* fileName) {
    auto wave = std::make_unique<CWave>();
    const int result = wave->Open(fileName);
    if (result >= 0) return wave.release();
    if (result == -3) return nullptr; // said why; no other format is tried
    auto ogg = std::make_unique<COggVorbis>();
    if (ogg->Open(fileName) < 0) return nullptr;
    return ogg.release();
}
