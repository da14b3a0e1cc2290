#include "sound_test_support.h"

#include "platform/sync.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>
#include <vorbis/vorbisfile.h>

namespace {
constexpr long long kBlock = 441;
}

bool ManualOutput::Start(AudioMixer* mixer) {
    std::lock_guard<std::mutex> lock(mutex_);
    mixer_ = mixer;
    return true;
}

void ManualOutput::Stop() {
    std::lock_guard<std::mutex> lock(mutex_);
    mixer_ = nullptr;
}

double ManualOutput::Now() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return double(frame_) / kMixRate;
}

void ManualOutput::Advance(double seconds) {
    const long long target = frame_ + std::llround(seconds * kMixRate);
    std::vector<float> block(2 * kBlock);
    for (;;) {
        AudioMixer* mixer;
        double now;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (nextBlock_ >= target) break;
            frame_ = nextBlock_;
            nextBlock_ += kBlock;
            mixer = mixer_;
            now = double(frame_) / kMixRate;
        }
        // Mix outside the clock's lock: the mixer asks the clock for the time itself.
        if (mixer) mixer->Mix(block.data(), int(kBlock), now, now + latency_);
        std::lock_guard<std::mutex> lock(mutex_);
        mixed_.insert(mixed_.end(), block.begin(), block.end());
    }
    std::lock_guard<std::mutex> lock(mutex_);
    frame_ = target;
}

void ManualOutput::Drift(double seconds) {
    std::lock_guard<std::mutex> lock(mutex_);
    frame_ += std::llround(seconds * kMixRate);
}

void ManualOutput::PullHeardAt(double heardAt) {
    std::vector<float> block(2 * kBlock);
    AudioMixer* mixer;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        mixer = mixer_;
    }
    if (mixer) mixer->Mix(block.data(), int(kBlock), Now(), heardAt);
    std::lock_guard<std::mutex> lock(mutex_);
    mixed_.insert(mixed_.end(), block.begin(), block.end());
}

std::vector<float> ManualOutput::Mixed() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return mixed_;
}

bool ManualOutput::Peek(VoiceView* view, DWORD offset, DWORD count) const {
    AudioMixer* mixer;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        mixer = mixer_;
    }
    // The stand-in's mixer is the only one there is; ask it outside the clock's lock, as Mix.
    auto* device = dynamic_cast<Mixer*>(mixer);
    return device && device->Peek(0, offset, count, view);
}

std::string ManualOutput::Bytes(DWORD offset, DWORD count) const {
    VoiceView view;
    if (!Peek(&view, offset, count)) return {};
    return std::string(view.data.begin(), view.data.end());
}

ManualOutput* InstallManualOutput(double latency) {
    auto* output = new ManualOutput(latency);
    // The device takes the first output it is given; later calls of the factory get none.
    auto handed = std::make_shared<bool>(false);
    SetAudioOutputFactory([output, handed]() -> std::unique_ptr<AudioOutput> {
        if (*handed) return nullptr;
        *handed = true;
        return std::unique_ptr<AudioOutput>(output);
    });
    return output;
}

void RestoreDefaultOutput() {
    SetAudioOutputFactory(nullptr);
}

std::string Le16(unsigned v) {
    return {char(v & 0xFF), char(v >> 8 & 0xFF)};
}

std::string Le32(std::uint32_t v) {
    return {char(v & 0xFF), char(v >> 8 & 0xFF), char(v >> 16 & 0xFF), char(v >> 24 & 0xFF)};
}

std::string FormatBody(unsigned tag, unsigned channels, std::uint32_t rate, unsigned bits,
                       std::size_t extra) {
    const unsigned align = channels * (bits / 8);
    std::string body =
        Le16(tag) + Le16(channels) + Le32(rate) + Le32(rate * align) + Le16(align) + Le16(bits);
    if (extra > 0) body += Le16(unsigned(extra)) + std::string(extra, '\x5A');
    return body;
}

std::string RiffBytes(std::initializer_list<Chunk> chunks, const std::string& formType,
                      std::int64_t riffSize) {
    std::string body = formType;
    for (const Chunk& c : chunks) {
        const auto size = std::uint32_t(c.size < 0 ? std::int64_t(c.body.size()) : c.size);
        body += c.id + Le32(size) + c.body;
        if (c.body.size() % 2) body += '\0';
    }
    const auto size = std::uint32_t(riffSize < 0 ? std::int64_t(body.size()) : riffSize);
    return "RIFF" + Le32(size) + body;
}

// A wait ends on the first signalled of its events, so one surely signalled after the event
// asked about says "no".
bool Signalled(HANDLE event) {
    static const HANDLE probe = CreateEventA(nullptr, 0, 0, nullptr);
    SetEvent(probe);
    const HANDLE both[2] = {event, probe};
    const DWORD woken = WaitForMultipleObjects(2, both, 0, INFINITE);
    ResetEvent(probe);
    return woken == WAIT_OBJECT_0;
}

std::set<long> Threads() {
    // ThreadSanitizer starts a thread of its own with the process's first: have that happen
    // here, so that only workers come and go between two listings.
    static const bool first = [] {
        std::thread([] {}).join();
        return true;
    }();
    (void)first;
    std::set<long> ids;
    if (DIR* dir = opendir("/proc/self/task")) {
        while (const dirent* entry = readdir(dir))
            if (entry->d_name[0] != '.') ids.insert(std::atol(entry->d_name));
        closedir(dir);
    }
    return ids;
}

bool WaitUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

std::string Fixture(const std::string& name) {
    return std::string(KV_SOUND_FIXTURES) + "/" + name;
}

std::string TempPath(const std::string& name) {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    return testing::TempDir() + "kv_" + (info ? info->name() : "sound") + "_" + name;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int OpenDescriptorCount() {
    int count = 0;
    if (DIR* dir = opendir("/proc/self/fd")) {
        while (readdir(dir)) ++count;
        closedir(dir);
    }
    return count;
}

std::vector<std::int16_t> DecodeOgg(const std::string& path, int* channels, long* rate) {
    std::vector<std::int16_t> pcm;
    OggVorbis_File vf;
    if (ov_fopen(path.c_str(), &vf) != 0) return pcm;
    const vorbis_info* info = ov_info(&vf, -1);
    if (channels) *channels = info->channels;
    if (rate) *rate = info->rate;
    char chunk[8192];
    int stream = 0;
    long got;
    while ((got = ov_read(&vf, chunk, sizeof chunk, 0, 2, 1, &stream)) > 0) {
        const auto* samples = reinterpret_cast<const std::int16_t*>(chunk);
        pcm.insert(pcm.end(), samples, samples + got / 2);
    }
    ov_clear(&vf);
    return pcm;
}
