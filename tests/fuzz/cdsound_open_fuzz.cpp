// CdSound::Open on any bytes, as the show opens its music: the WAVE loader first, then the Ogg
// Vorbis one, the secondary buffer made and its first fill decoded. The device plays into a
// silent output that is never started.
#include "memory_file.h"
#include "platform/audio_output.h"
#include "sound/cdsound.h"
#include "sound/dsound_device.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool device = [] {
        SetAudioOutputFactory([] { return MakeSilentOutput(); });
        return InitDirectSound(reinterpret_cast<HWND>(0x1));
    }();
    if (!device) std::abort();
    CdSound sound;
    if (sound.Open(MemoryFile(data, size))) {
        DWORD ms = 0;
        if (!sound.GetPlayTime(&ms) || ms != 0) std::abort();
    }
    return 0;
}
