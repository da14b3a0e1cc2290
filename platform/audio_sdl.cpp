// A real sound device through SDL2 audio: SDL's callback pulls from the mixer.
#include "platform/audio_output.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kCallbackFrames = 1024;

// ALSA prints a page of diagnostics on stderr when it finds no card; SDL's own error text says
// the same in one line, so the library's chatter is kept off stderr while the device opens.
class QuietStderr {
  public:
    QuietStderr() {
        std::fflush(stderr);
        saved_ = dup(STDERR_FILENO);
        const int null = open("/dev/null", O_WRONLY);
        if (saved_ >= 0 && null >= 0) dup2(null, STDERR_FILENO);
        if (null >= 0) close(null);
    }
    ~QuietStderr() {
        if (saved_ < 0) return;
        dup2(saved_, STDERR_FILENO);
        close(saved_);
    }

  private:
    int saved_ = -1;
};

class SdlOutput final : public AudioOutput {
  public:
    ~SdlOutput() override {
        Stop();
        if (device_) SDL_CloseAudioDevice(device_);
        if (initialised_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    // Opens the device paused; false (with SDL's reason in SDL_GetError) when none opens.
    bool Open() {
        QuietStderr quiet;
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
        initialised_ = true;
        const char* driver = SDL_GetCurrentAudioDriver();
        if (!driver || std::strcmp(driver, "dummy") == 0) {
            SDL_SetError("only SDL's dummy audio driver is available");
            return false;
        }
        SDL_AudioSpec want{};
        want.freq = kMixRate;
        want.format = AUDIO_S16SYS;
        want.channels = 2;
        want.samples = kCallbackFrames;
        want.callback = &SdlOutput::Callback;
        want.userdata = this;
        SDL_AudioSpec have{};
        // No changes allowed: SDL converts to whatever the device takes.
        device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
        if (!device_) return false;
        latency_ = double(have.samples) / have.freq;
        scratch_.resize(2 * size_t(have.samples));
        return true;
    }

    bool Start(AudioMixer* mixer) override {
        if (!device_ || !mixer) return false;
        SDL_LockAudioDevice(device_);
        mixer_ = mixer;
        SDL_UnlockAudioDevice(device_);
        SDL_PauseAudioDevice(device_, 0);
        return true;
    }

    void Stop() override {
        if (!device_) return;
        SDL_PauseAudioDevice(device_, 1);
        SDL_LockAudioDevice(device_); // waits for a callback under way
        mixer_ = nullptr;
        SDL_UnlockAudioDevice(device_);
    }

    double Now() const override {
        const std::chrono::duration<double> since = std::chrono::steady_clock::now() - start_;
        return since.count();
    }

  private:
    // The block filled now is played once the one queued before it has been: one buffer of
    // latency between the mix and the listener.
    static void Callback(void* user, Uint8* stream, int bytes) {
        auto* self = static_cast<SdlOutput*>(user);
        if (SDL_GetAudioDeviceStatus(self->device_) == SDL_AUDIO_STOPPED) {
            std::memset(stream, 0, size_t(bytes));
            self->FollowClock();
            return;
        }
        auto* out = reinterpret_cast<Sint16*>(stream);
        int frames = bytes / int(2 * sizeof(Sint16));
        double heardAt = self->Now() + self->latency_;
        while (frames > 0) {
            const int n = std::min(frames, int(self->scratch_.size() / 2));
            float* mix = self->scratch_.data();
            if (self->mixer_)
                self->mixer_->Mix(mix, n, self->Now(), heardAt);
            else
                std::fill(mix, mix + 2 * n, 0.0f);
            // The mixer reads 16-bit samples as s / 32768: the same scale back gives every
            // one of them unchanged.
            for (int i = 0; i < 2 * n; ++i)
                out[i] = Sint16(std::lround(std::clamp(mix[i] * 32768.0f, -32768.0f, 32767.0f)));
            out += 2 * n;
            frames -= n;
            heardAt += double(n) / kMixRate;
        }
    }

    // A device that went away (its sound server stopped) still gets callbacks, but paced by
    // SDL's sleeps, which a busy machine stretches by a tenth or more. From then on the mix is
    // pulled as the clock says, as the silent output does, so the show still ends on time;
    // pulled well ahead, so that the cursor runs on through a late callback.
    void FollowClock() {
        constexpr double kLead = 0.1;
        const double now = Now();
        if (lostAt_ < 0) lostAt_ = now;
        const auto due = static_cast<long long>((now - lostAt_ + kLead) * kMixRate);
        while (lostFrames_ < due) {
            const int n = int(std::min<long long>(due - lostFrames_, scratch_.size() / 2));
            const double heardAt = lostAt_ + latency_ + double(lostFrames_) / kMixRate;
            if (mixer_) mixer_->Mix(scratch_.data(), n, now, heardAt);
            lostFrames_ += n;
        }
    }

    const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    bool initialised_ = false;
    SDL_AudioDeviceID device_ = 0;
    double latency_ = 0;
    std::vector<float> scratch_;
    AudioMixer* mixer_ = nullptr;
    double lostAt_ = -1; // when the device was found gone
    long long lostFrames_ = 0;
};

} // namespace

std::unique_ptr<AudioOutput> OpenSdlOutput(std::string* whyNot) {
    auto output = std::make_unique<SdlOutput>();
    if (output->Open()) return output;
    if (whyNot) *whyNot = SDL_GetError();
    return nullptr;
}
