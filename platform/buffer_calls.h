// What a buffer's calls do once past the interface, for both kinds of object on the mixer: the
// stand-in's own and, on Windows, the silent device's behind the real interfaces. Without a
// voice the buffer is the primary one: the device's level and balance, and nothing to play.
#pragma once

#include "platform/dsound_mixer.h"

#include <memory>
#include <utility>

class BufferCalls {
  public:
    BufferCalls(std::shared_ptr<Mixer> mixer, Voice* voice)
        : mixer_(std::move(mixer)), voice_(voice) {}
    ~BufferCalls() {
        if (voice_) mixer_->RemoveVoice(voice_);
    }
    BufferCalls(const BufferCalls&) = delete;
    BufferCalls& operator=(const BufferCalls&) = delete;

    const std::shared_ptr<Mixer>& mixer() const { return mixer_; }
    Voice* voice() const { return voice_; }

    HRESULT SetVolume(LONG volume);
    HRESULT GetVolume(LONG* volume);
    HRESULT SetPan(LONG pan);
    HRESULT GetPan(LONG* pan);
    HRESULT GetCurrentPosition(DWORD* play, DWORD* write);
    HRESULT GetStatus(DWORD* status);
    HRESULT Lock(DWORD offset, DWORD bytes, void** region1, DWORD* bytes1, void** region2,
                 DWORD* bytes2, DWORD flags);
    HRESULT Unlock(void* region1, DWORD bytes1, void* region2, DWORD bytes2);
    HRESULT Play(DWORD flags);
    HRESULT SetCurrentPosition(DWORD position);
    HRESULT Stop();

  private:
    std::shared_ptr<Mixer> mixer_;
    Voice* voice_;
};
