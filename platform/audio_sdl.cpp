// A real sound device through SDL2 audio: SDL's callback pulls from the mixer.
#include "platform/audio_output.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kCallbackFrames = 1024;
// Longer than any callback period, shorter than a pause anyone would wait out. In its first
// seconds a server may take its time to start the stream: PulseAudio, just started, has been
// seen to call once and then not again for 1.3 s.
constexpr double kSilentForFirst = 3.0;
constexpr double kSilentFor = 0.5;
constexpr auto kWatchPeriod = std::chrono::milliseconds(20);
// A watch that wakes this late was itself held up (the process stopped), and so was SDL.
constexpr double kWatchLate = 0.2;

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
        // The process hears INT, TERM and HUP itself (platform/process_start.h).
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
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
        if (!device_ || !mixer || watch_.joinable()) return false;
        SDL_LockAudioDevice(device_);
        {
            std::lock_guard<std::mutex> pull(pullMutex_);
            mixer_ = mixer;
        }
        SDL_UnlockAudioDevice(device_);
        lastCallbackAt_ = -1;
        try {
            watch_ = std::thread([this] { Watch(); });
        } catch (...) {
            return false;
        }
        SDL_PauseAudioDevice(device_, 0);
        return true;
    }

    void Stop() override {
        if (!device_) return;
        {
            std::lock_guard<std::mutex> lock(watchMutex_);
            watchStopping_ = true;
        }
        watchWake_.notify_all();
        if (watch_.joinable()) watch_.join();
        SDL_PauseAudioDevice(device_, 1);
        SDL_LockAudioDevice(device_); // waits for a callback under way
        {
            std::lock_guard<std::mutex> pull(pullMutex_);
            mixer_ = nullptr;
        }
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
        self->lastCallbackAt_ = self->Now();
        std::lock_guard<std::mutex> pull(self->pullMutex_);
        // Once lost, a device that comes back gets silence: the cursor has run on without it.
        if (self->lostAt_ >= 0 || SDL_GetAudioDeviceStatus(self->device_) == SDL_AUDIO_STOPPED) {
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

    // Some drivers (SDL's PipeWire one) stop calling back at all when their server goes away.
    // So the callbacks are watched from here: after kSilentFor without one, the device counts
    // as lost from its last callback, and this thread pulls the mix as the clock says.
    void Watch() {
        std::unique_lock<std::mutex> lock(watchMutex_);
        // The first callback's grace counts from here, just before the device is unpaused, not
        // from its opening: the show's start-up between the two may take seconds.
        const double started = Now();
        double expected = started;
        while (!watchWake_.wait_for(lock, kWatchPeriod, [this] { return watchStopping_; })) {
            const double now = Now();
            const bool held = now - expected > kWatchLate + 0.02;
            expected = now + 0.02;
            double last = lastCallbackAt_;
            if (held && last >= 0) {
                lastCallbackAt_ = now; // the callbacks were held up with us: no loss
                continue;
            }
            if (last < 0) last = started;
            const double silentFor =
                last - started < kSilentForFirst ? kSilentForFirst : kSilentFor;
            std::lock_guard<std::mutex> pull(pullMutex_);
            if (lostAt_ < 0 && now - last <= silentFor) continue;
            if (lostAt_ < 0) lostAt_ = last;
            FollowClock();
        }
    }

    const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    bool initialised_ = false;
    SDL_AudioDeviceID device_ = 0;
    double latency_ = 0;
    std::vector<float> scratch_;
    AudioMixer* mixer_ = nullptr;
    double lostAt_ = -1; // when the device went away (pullMutex_)
    long long lostFrames_ = 0;
    std::mutex pullMutex_; // the callback against the watch: one pulls from the mixer at a time
    std::atomic<double> lastCallbackAt_{-1};
    std::mutex watchMutex_;
    std::condition_variable watchWake_;
    bool watchStopping_ = false;
    std::thread watch_;
};

} // namespace

std::unique_ptr<AudioOutput> OpenSdlOutput(std::string* whyNot) {
    auto output = std::make_unique<SdlOutput>();
    if (output->Open()) return output;
    if (whyNot) *whyNot = SDL_GetError();
    return nullptr;
}
