// The heart of the DirectSound stand-in: every secondary buffer's sound and play state, its
// play cursor as heard, its notifications, and the mix the output pulls. One lock guards it
// all and is held only for bookkeeping: sound is written in place, outside it, and the events
// of notifications are signalled after it is let go.
#pragma once

#include "platform/audio_output.h"
#include "platform/dsound.h"

#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <vector>

constexpr DWORD kMaxNotifications = 2; // a buffer's notification positions
constexpr size_t kMaxVoices = 8;       // secondary buffers alive at once

// One secondary buffer. Positions count frames of the buffer's own format.
struct Voice {
    WAVEFORMATEX format{};
    DWORD bytes = 0;
    DWORD frames = 0;
    std::vector<std::uint8_t> data; // written by the owner between Lock and Unlock
    LONG volume = 0;
    LONG pan = 0;
    DSBPOSITIONNOTIFY notify[kMaxNotifications] = {};
    DWORD notifyCount = 0;
    bool locked = false;
    DWORD lockedAt = 0;    // byte offset of the locked range,
    DWORD lockedBytes = 0; // which may wrap past the end to the start

    bool playing = false;
    bool looping = false;
    // A run is one stretch of playing from startFrame; its counters are not wrapped.
    DWORD startFrame = 0;
    double runStartedAt = 0; // on the output's clock
    double shift = 0;        // added to every block's heardAt in this run
    double mixed = 0;        // frames the mix has read
    double heard = 0;        // frames heard, never less than the last answer
    // Frames the cursor moved by playing in the runs before this one: with heard, a count no
    // wrap of a looping buffer can hide, however long nobody asks.
    std::uint64_t travelled = 0;
    bool anchored = false;
    double anchorFrames = 0;      // mixed at the start of the last block
    double anchorAt = 0;          // when that block's first frame is heard
    double anchorSpan = 0;        // frames in that block
    std::int64_t notifiedTo = -1; // byte position (not wrapped) signalled so far
};

// A secondary buffer as the device sees it, for whoever listens to the mix.
struct VoiceView {
    WAVEFORMATEX format{};
    DWORD bytes = 0;
    DWORD cursor = 0; // the play cursor, in bytes
    bool playing = false;
    std::vector<DSBPOSITIONNOTIFY> notify;
    std::vector<std::uint8_t> data; // the range asked for; what is locked for writing is silence
};

// Events due, gathered under the mixer's lock and signalled once it is let go.
class Signals {
  public:
    void Add(HANDLE event);
    void Fire();

  private:
    HANDLE due_[kMaxVoices * kMaxNotifications] = {};
    size_t count_ = 0;
};

class Mixer final : public AudioMixer {
  public:
    explicit Mixer(std::unique_ptr<AudioOutput> output);
    ~Mixer();
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    bool Start();

    // The device's overall level and balance, kept by the primary buffer.
    void SetMasterVolume(LONG volume);
    LONG MasterVolume();
    void SetMasterPan(LONG pan);
    LONG MasterPan();

    // Null when the memory cannot be had or kMaxVoices are alive; the format must be checked.
    Voice* AddVoice(const WAVEFORMATEX& format, DWORD bytes);
    void RemoveVoice(Voice* voice);

    HRESULT Lock(Voice& v, DWORD offset, DWORD bytes, void** region1, DWORD* bytes1, void** region2,
                 DWORD* bytes2);
    HRESULT Unlock(Voice& v, void* region1, DWORD bytes1, void* region2, DWORD bytes2);
    HRESULT Play(Voice& v, bool looping);
    HRESULT Stop(Voice& v);
    HRESULT GetStatus(Voice& v, DWORD* status);
    HRESULT GetCurrentPosition(Voice& v, DWORD* playCursor);
    HRESULT GetPlayProgress(Voice& v, DWORD* playCursor, std::uint64_t* playedBytes);
    HRESULT SetCurrentPosition(Voice& v, DWORD position);
    void SetVolume(Voice& v, LONG volume);
    LONG Volume(Voice& v);
    void SetPan(Voice& v, LONG pan);
    LONG Pan(Voice& v);
    HRESULT SetNotificationPositions(Voice& v, DWORD count, const DSBPOSITIONNOTIFY* positions);

    void Mix(float* out, int frames, double now, double heardAt) override;

    // Beyond DirectSound: the index-th live secondary buffer (oldest first) as the mix would
    // read it now, with count bytes of it from offset; false when there are fewer buffers.
    bool Peek(size_t index, DWORD offset, DWORD count, VoiceView* view);

  private:
    double Now() const;

    std::unique_ptr<AudioOutput> output_;
    std::mutex mutex_;
    std::list<Voice> voices_;
    LONG masterVolume_ = 0;
    LONG masterPan_ = 0;
};
