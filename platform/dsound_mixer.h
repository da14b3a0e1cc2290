// The heart of the DirectSound stand-in: every secondary buffer's sound and play state, its
// play cursor as heard, its notifications, and the mix the output pulls. One lock guards it
// all; the buffer objects of platform/dsound.cpp only forward to it.
#pragma once

#include "platform/audio_output.h"
#include "platform/dsound.h"

#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <vector>

// One secondary buffer. Positions count frames of the buffer's own format.
struct Voice {
    WAVEFORMATEX format{};
    DWORD flags = 0;
    DWORD bytes = 0;
    DWORD frames = 0;
    std::vector<std::uint8_t> data;   // what the mix reads
    std::vector<std::uint8_t> shadow; // what Lock hands out; Unlock copies it into data
    LONG volume = 0;
    LONG pan = 0;
    std::vector<DSBPOSITIONNOTIFY> notify;

    bool playing = false;
    bool looping = false;
    // A run is one stretch of playing from startFrame; its counters are not wrapped.
    DWORD startFrame = 0;
    double runStartedAt = 0; // on the output's clock
    double shift = 0;        // added to every block's heardAt in this run
    double mixed = 0;        // frames the mix has read
    double heard = 0;        // frames heard, never less than the last answer
    bool anchored = false;
    double anchorFrames = 0;      // mixed at the start of the last block
    double anchorAt = 0;          // when that block's first frame is heard
    double anchorSpan = 0;        // frames in that block
    std::int64_t notifiedTo = -1; // byte position (not wrapped) signalled so far
};

class Mixer final : public AudioMixer {
  public:
    explicit Mixer(std::unique_ptr<AudioOutput> output);
    ~Mixer();
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    bool Start();

    // Device-wide settings, kept by the primary buffer's operations.
    void SetCooperativeLevel(DWORD level);
    DWORD CooperativeLevel();
    void SetPrimaryFormat(const WAVEFORMATEX& format);
    WAVEFORMATEX PrimaryFormat();
    void SetMasterVolume(LONG volume);
    LONG MasterVolume();
    void SetMasterPan(LONG pan);
    LONG MasterPan();

    // Null when the memory cannot be had; the format must have been checked.
    Voice* AddVoice(const WAVEFORMATEX& format, DWORD bytes, DWORD flags);
    void RemoveVoice(Voice* voice);

    HRESULT Lock(Voice& v, DWORD offset, DWORD bytes, void** region1, DWORD* bytes1, void** region2,
                 DWORD* bytes2, DWORD flags);
    HRESULT Unlock(Voice& v, void* region1, DWORD bytes1, void* region2, DWORD bytes2);
    HRESULT Play(Voice& v, DWORD flags);
    HRESULT Stop(Voice& v);
    HRESULT GetStatus(Voice& v, DWORD* status);
    HRESULT GetCurrentPosition(Voice& v, DWORD* playCursor, DWORD* writeCursor);
    HRESULT SetCurrentPosition(Voice& v, DWORD position);
    HRESULT SetVolume(Voice& v, LONG volume);
    HRESULT GetVolume(Voice& v, LONG* volume);
    HRESULT SetPan(Voice& v, LONG pan);
    HRESULT GetPan(Voice& v, LONG* pan);
    HRESULT SetNotificationPositions(Voice& v, DWORD count, const DSBPOSITIONNOTIFY* positions);

    void Mix(float* out, int frames, double now, double heardAt) override;

  private:
    void Catch(Voice& v, double now);
    double Now() const;

    std::unique_ptr<AudioOutput> output_;
    std::mutex mutex_;
    std::list<Voice> voices_;
    DWORD level_ = 0;
    WAVEFORMATEX primaryFormat_{};
    LONG masterVolume_ = 0;
    LONG masterPan_ = 0;
};

// Linear gain of a DirectSound attenuation in hundredths of a decibel.
float VolumeGain(LONG volume);
// Left and right gains of a DirectSound pan: the far side is attenuated, the near side kept.
void PanGains(LONG pan, float* left, float* right);
