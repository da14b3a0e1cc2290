// The DirectSound objects: argument checks, and the mixer behind them.
#include "platform/dsound.h"

#include "platform/audio_output.h"
#include "platform/buffer_calls.h"
#include "platform/dsound_mixer.h"

#include <cstring>
#include <memory>
#include <new>

const GUID IID_IDirectSoundNotify = {
    0xB0210783, 0x89CD, 0x11D0, {0xAF, 0x08, 0x00, 0xA0, 0xC9, 0x25, 0xCD, 0x16}};

namespace {

bool playablePcm(const WAVEFORMATEX* f) {
    if (!f || f->wFormatTag != WAVE_FORMAT_PCM) return false;
    const WORD bits = f->wBitsPerSample;
    if (bits != 8 && bits != 16 && bits != 24) return false;
    if (f->nChannels < 1 || f->nChannels > 8) return false;
    if (f->nSamplesPerSec < DSBFREQUENCY_MIN || f->nSamplesPerSec > DSBFREQUENCY_MAX) return false;
    return f->nBlockAlign == f->nChannels * (bits / 8) &&
           f->nAvgBytesPerSec == f->nBlockAlign * f->nSamplesPerSec;
}

class Notify final : public IDirectSoundNotify {
  public:
    Notify(std::shared_ptr<Mixer> mixer, Voice* voice) : mixer_(std::move(mixer)), voice_(voice) {}
    HRESULT SetNotificationPositions(DWORD count, const DSBPOSITIONNOTIFY* positions) override {
        return mixer_->SetNotificationPositions(*voice_, count, positions);
    }
    ULONG Release() override {
        delete this;
        return 0;
    }

  private:
    ~Notify() = default;
    std::shared_ptr<Mixer> mixer_;
    Voice* voice_;
};

// Primary (no voice: the device's master level and format) or secondary (a voice to play).
class Buffer final : public IDirectSoundBuffer {
  public:
    Buffer(std::shared_ptr<Mixer> mixer, Voice* voice) : calls_(std::move(mixer), voice) {}

    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (!object) return DSERR_INVALIDPARAM;
        *object = nullptr;
        if (!calls_.voice() || std::memcmp(&iid, &IID_IDirectSoundNotify, sizeof(GUID)) != 0)
            return E_NOINTERFACE;
        auto* notify = new (std::nothrow) Notify(calls_.mixer(), calls_.voice());
        if (!notify) return DSERR_OUTOFMEMORY;
        *object = static_cast<IDirectSoundNotify*>(notify);
        return DS_OK;
    }

    HRESULT SetFormat(const WAVEFORMATEX* format) override {
        if (calls_.voice()) return DSERR_INVALIDCALL;
        return playablePcm(format) && format->nChannels <= 2 ? DS_OK : DSERR_BADFORMAT;
    }
    HRESULT SetVolume(LONG volume) override { return calls_.SetVolume(volume); }
    HRESULT GetVolume(LONG* volume) override { return calls_.GetVolume(volume); }
    HRESULT SetPan(LONG pan) override { return calls_.SetPan(pan); }
    HRESULT GetPan(LONG* pan) override { return calls_.GetPan(pan); }
    HRESULT GetCurrentPosition(DWORD* play, DWORD* write) override {
        return calls_.GetCurrentPosition(play, write);
    }
    HRESULT GetPlayProgress(DWORD* play, std::uint64_t* played) override {
        Voice* voice = calls_.voice();
        return voice ? calls_.mixer()->GetPlayProgress(*voice, play, played) : DSERR_INVALIDCALL;
    }
    HRESULT GetStatus(DWORD* status) override { return calls_.GetStatus(status); }
    HRESULT Lock(DWORD offset, DWORD bytes, void** region1, DWORD* bytes1, void** region2,
                 DWORD* bytes2, DWORD flags) override {
        return calls_.Lock(offset, bytes, region1, bytes1, region2, bytes2, flags);
    }
    HRESULT Unlock(void* region1, DWORD bytes1, void* region2, DWORD bytes2) override {
        return calls_.Unlock(region1, bytes1, region2, bytes2);
    }
    HRESULT Play(DWORD, DWORD, DWORD flags) override { return calls_.Play(flags); }
    HRESULT SetCurrentPosition(DWORD position) override {
        return calls_.SetCurrentPosition(position);
    }
    HRESULT Stop() override { return calls_.Stop(); }

    ULONG Release() override {
        delete this;
        return 0;
    }

  private:
    ~Buffer() = default;
    BufferCalls calls_; // lets the voice go with the buffer
};

class Device final : public IDirectSound8 {
  public:
    explicit Device(std::shared_ptr<Mixer> mixer) : mixer_(std::move(mixer)) {}

    HRESULT SetCooperativeLevel(HWND window, DWORD) override {
        return window ? DS_OK : DSERR_INVALIDPARAM;
    }

    HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** out,
                              void* outer) override {
        if (!out) return DSERR_INVALIDPARAM;
        *out = nullptr;
        if (outer || !desc || desc->dwSize != sizeof(DSBUFFERDESC)) return DSERR_INVALIDPARAM;
        Voice* voice = nullptr;
        if (!(desc->dwFlags & DSBCAPS_PRIMARYBUFFER)) {
            if (!playablePcm(desc->lpwfxFormat)) return DSERR_BADFORMAT;
            const DWORD bytes = desc->dwBufferBytes;
            if (bytes < DSBSIZE_MIN || bytes > DSBSIZE_MAX ||
                bytes < desc->lpwfxFormat->nBlockAlign)
                return DSERR_INVALIDPARAM;
            voice = mixer_->AddVoice(*desc->lpwfxFormat, bytes);
            if (!voice) return DSERR_OUTOFMEMORY;
        } else if (desc->dwBufferBytes != 0 || desc->lpwfxFormat) {
            return DSERR_INVALIDPARAM;
        }
        *out = new (std::nothrow) Buffer(mixer_, voice);
        if (!*out) {
            if (voice) mixer_->RemoveVoice(voice);
            return DSERR_OUTOFMEMORY;
        }
        return DS_OK;
    }

    ULONG Release() override {
        delete this;
        return 0;
    }

  private:
    ~Device() = default;
    std::shared_ptr<Mixer> mixer_;
};

} // namespace

HRESULT DirectSoundCreate8(const GUID* device, IDirectSound8** out, void* outer) {
    if (!out) return DSERR_INVALIDPARAM;
    *out = nullptr;
    if (outer) return DSERR_INVALIDPARAM;
    if (device) return DSERR_NODRIVER; // only the default device exists
    std::unique_ptr<AudioOutput> output = OpenAudioOutput();
    if (!output) return DSERR_NODRIVER;
    auto mixer = std::make_shared<Mixer>(std::move(output));
    if (!mixer->Start()) return DSERR_NODRIVER;
    *out = new (std::nothrow) Device(std::move(mixer));
    return *out ? DS_OK : DSERR_OUTOFMEMORY;
}
