// Where the mixed sound goes: an output pulls blocks of stereo float frames at kMixRate from
// a mixer and tells the mixer when each block will be heard, on the output's own timeline.
#pragma once

#include <functional>
#include <memory>
#include <string>

constexpr int kMixRate = 44100;

class AudioMixer {
  public:
    // Fills frames stereo frames (interleaved left, right) of out. now is the output's time at
    // the call, heardAt the time at which the block's first frame reaches the listener.
    virtual void Mix(float* out, int frames, double now, double heardAt) = 0;

  protected:
    ~AudioMixer() = default;
};

class AudioOutput {
  public:
    virtual ~AudioOutput() = default;
    // Begins pulling from mixer; false when the output cannot run.
    virtual bool Start(AudioMixer* mixer) = 0;
    // After it returns the mixer is not called again.
    virtual void Stop() = 0;
    // Seconds on the timeline of heardAt.
    virtual double Now() const = 0;
};

// A real sound device through SDL2 audio; null when none opens (SDL's own silent "dummy"
// driver counts as none: it runs off real time), with SDL's reason in whyNot.
std::unique_ptr<AudioOutput> OpenSdlOutput(std::string* whyNot = nullptr);

// Frames pulled in blocks paced by the monotonic clock and dropped, or handed to tap.
// speed > 1 runs the whole timeline faster (for tests only: all cursor logic stays the same).
using AudioTap = std::function<void(const float* frames, int count)>;
std::unique_ptr<AudioOutput> MakeSilentOutput(double speed = 1.0, AudioTap tap = {});

// The output DirectSoundCreate8 plays through. By default: SDL2, else the silent output with
// one line on stderr. A test may set its own; an empty factory restores the default.
using AudioOutputFactory = std::function<std::unique_ptr<AudioOutput>()>;
void SetAudioOutputFactory(AudioOutputFactory factory);
std::unique_ptr<AudioOutput> OpenAudioOutput();
