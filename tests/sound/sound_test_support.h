// Helpers shared by the sound tests: an output whose clock the test moves, RIFF bytes built by
// hand, fixture paths and small file utilities.
#pragma once

#include "platform/audio_output.h"
#include "platform/dsound_mixer.h"
#include "platform/win32.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <mutex>
#include <set>
#include <string>
#include <vector>

// An output that stands still until the test moves its clock. Advance pulls one 441-frame
// block at every 10 ms step it passes (the step it stands on included, the one it stops on
// not: that callback is yet to come), each heard `latency` seconds after it is pulled, and
// keeps what was mixed.
class ManualOutput final : public AudioOutput {
  public:
    explicit ManualOutput(double latency = 0) : latency_(latency) {}
    bool Start(AudioMixer* mixer) override;
    void Stop() override;
    double Now() const override;

    void Advance(double seconds);
    // Moves the clock without pulling anything: between two callbacks.
    void Drift(double seconds);
    // Pulls one block now, heard at heardAt: a callback out of its rhythm.
    void PullHeardAt(double heardAt);
    // Left/right floats of everything mixed so far.
    std::vector<float> Mixed() const;
    // The sound's buffer (the oldest secondary buffer alive) as the mix would read it now,
    // with count bytes of it from offset; false when there is none.
    bool Peek(VoiceView* view, DWORD offset = 0, DWORD count = ~DWORD(0)) const;
    // Those bytes alone; empty when there is no buffer.
    std::string Bytes(DWORD offset = 0, DWORD count = ~DWORD(0)) const;

  private:
    const double latency_;
    mutable std::mutex mutex_;
    AudioMixer* mixer_ = nullptr;
    long long frame_ = 0;     // the clock, in frames
    long long nextBlock_ = 0; // the frame at which the next block is pulled
    std::vector<float> mixed_;
};

// Makes DirectSoundCreate8 use a fresh ManualOutput and gives it (owned by the device).
ManualOutput* InstallManualOutput(double latency = 0);
// Back to SDL or the silent output.
void RestoreDefaultOutput();

// RIFF building blocks: a chunk is its id, its size field and its contents; a size that
// differs from the contents makes damaged files.
struct Chunk {
    std::string id;
    std::string body;
    std::int64_t size = -1; // -1: the body's length
};
std::string Le16(unsigned v);
std::string Le32(std::uint32_t v);
std::string FormatBody(unsigned tag, unsigned channels, std::uint32_t rate, unsigned bits,
                       std::size_t extra = 0);
std::string RiffBytes(std::initializer_list<Chunk> chunks, const std::string& formType = "WAVE",
                      std::int64_t riffSize = -1);

// Whether an event is signalled, without blocking; clears it if it was.
bool Signalled(HANDLE event);

// The ids of this process's threads: a stream worker shows here as it starts and ends.
std::set<long> Threads();

// Polls until done() holds; false after 20 s (a worker that never gets there).
bool WaitUntil(const std::function<bool()>& done);

// Fixture files made by CMake with sox and oggenc.
std::string Fixture(const std::string& name);
// A file under the test's temporary directory.
std::string TempPath(const std::string& name);
void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
int OpenDescriptorCount();

// The whole decoded 16-bit PCM of an Ogg Vorbis file, through libvorbisfile directly.
std::vector<std::int16_t> DecodeOgg(const std::string& path, int* channels, long* rate);
