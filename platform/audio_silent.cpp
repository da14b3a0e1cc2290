// The output used where no sound device opens: the same pull of blocks as a sound card, but
// timed by steady_clock on a schedule of absolute deadlines, so it never drifts from the wall.
#include "platform/audio_output.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr int kBlockFrames = 441; // 10 ms
// Blocks are pulled this many ahead of being heard. Nobody hears them, so the lead costs
// nothing, and it keeps the cursor running smoothly when this thread wakes late.
constexpr int kLeadBlocks = 3;

class SilentOutput final : public AudioOutput {
  public:
    SilentOutput(double speed, AudioTap tap)
        : speed_(speed > 0 ? speed : 1.0), tap_(std::move(tap)) {}
    ~SilentOutput() override { Stop(); }

    bool Start(AudioMixer* mixer) override {
        if (!mixer || thread_.joinable()) return false;
        start_ = std::chrono::steady_clock::now();
        try {
            thread_ = std::thread([this, mixer] { Run(mixer); });
        } catch (...) {
            return false;
        }
        return true;
    }

    void Stop() override {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        if (thread_.joinable()) thread_.join();
    }

    double Now() const override {
        const std::chrono::duration<double> since = std::chrono::steady_clock::now() - start_;
        return since.count() * speed_;
    }

  private:
    // Block k is heard from k blocks after the start and is mixed ahead of that, as a sound
    // card's callback fills the next buffer while the current one plays.
    void Run(AudioMixer* mixer) {
        std::vector<float> block(2 * kBlockFrames);
        for (long long k = 0;; ++k) {
            const double heardAt = double(k) * kBlockFrames / kMixRate;
            const double mixAt = heardAt - double(kLeadBlocks * kBlockFrames) / kMixRate;
            const auto due =
                start_ + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                             std::chrono::duration<double>(mixAt / speed_));
            {
                std::unique_lock<std::mutex> lock(mutex_);
                if (wake_.wait_until(lock, due, [this] { return stopping_; })) return;
            }
            mixer->Mix(block.data(), kBlockFrames, Now(), heardAt);
            if (tap_) tap_(block.data(), kBlockFrames);
        }
    }

    const double speed_;
    const AudioTap tap_;
    std::chrono::steady_clock::time_point start_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace

std::unique_ptr<AudioOutput> MakeSilentOutput(double speed, AudioTap tap) {
    return std::make_unique<SilentOutput>(speed, std::move(tap));
}
