#include "platform/audio_output.h"

#include <cstdio>
#include <mutex>

namespace {

// Never destroyed, like everything the sound threads may still touch while the process exits.
std::mutex& factoryMutex() {
    static auto* m = new std::mutex;
    return *m;
}
AudioOutputFactory& currentFactory() {
    static auto* factory = new AudioOutputFactory;
    return *factory;
}

} // namespace

void SetAudioOutputFactory(AudioOutputFactory factory) {
    std::lock_guard<std::mutex> lock(factoryMutex());
    currentFactory() = std::move(factory);
}

std::unique_ptr<AudioOutput> OpenAudioOutput() {
    AudioOutputFactory factory;
    {
        std::lock_guard<std::mutex> lock(factoryMutex());
        factory = currentFactory();
    }
    if (factory) return factory();
    std::string whyNot;
    if (auto sdl = OpenSdlOutput(&whyNot)) return sdl;
    std::fprintf(stderr, "sound: no audio device (%s); the show plays without sound\n",
                 whyNot.c_str());
    return MakeSilentOutput();
}
