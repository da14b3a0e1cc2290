#include "sound/sound_file.h"

#include "sound/ogg_vorbis.h"
#include "sound/sound_error.h"
#include "sound/unplayable.h"
#include "sound/wave.h"

#include <memory>
#include <string>

CSoundLoader* OpenSoundFile(const char* fileName) {
    auto wave = std::make_unique<CWave>();
    const int result = wave->Open(fileName);
    if (result >= 0) return wave.release();
    if (result == -3) return nullptr; // said why; no other format is tried
    auto ogg = std::make_unique<COggVorbis>();
    const int oggResult = ogg->Open(fileName);
    if (oggResult == -2) { // neither loader's kind: say what it is instead
        const std::string text =
            std::string("Cannot play ") + fileName + ": " + WhyUnplayable(fileName) + ".";
        ShowSoundError(text.c_str());
    }
    if (oggResult < 0) return nullptr;
    return ogg.release();
}
