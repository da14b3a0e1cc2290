// The DirectSound objects: argument checks, and the mixer behind them.
#include "platform/dsound.h"

#include "platform/audio_output.h"
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
    Buffer(std::shared_ptr<Mixer> mixer, Voice* voice) : mixer_(std::move(mixer)), voice_(voice) {}

    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (!object) return DSERR_INVALIDPARAM;
        *object = nullptr;
        if (!voice_ || std::memcmp(&iid, &IID_IDirectSoundNotify, sizeof(GUID)) != 0)
            return E_NOINTERFACE;
        auto* notify = new (std::nothrow) Notify(mixer_, voice_);
        if (!notify) return DSERR_OUTOFMEMORY;
        *object = static_cast<IDirectSoundNotify*>(notify);
        return DS_OK;
    }

    HRESULT SetFormat(const WAVEFORMATEX* format) override {
        if (voice_) return DSERR_INVALIDCALL;
        return playablePcm(format) && format->nChannels <= 2 ? DS_OK : DSERR_BADFORMAT;
    }
    HRESULT SetVolume(LONG volume) override {
        if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
        voice_ ? mixer_->SetVolume(*voice_, volume) : mixer_->SetMasterVolume(volume);
        return DS_OK;
    }
    HRESULT GetVolume(LONG* volume) override {
        if (!volume) return DSERR_INVALIDPARAM;
        *volume = voice_ ? mixer_->Volume(*voice_) : mixer_->MasterVolume();
        return DS_OK;
    }
    HRESULT SetPan(LONG pan) override {
        if (pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT) return DSERR_INVALIDPARAM;
        voice_ ? mixer_->SetPan(*voice_, pan) : mixer_->SetMasterPan(pan);
        return DS_OK;
    }
    HRESULT GetPan(LONG* pan) override {
        if (!pan) return DSERR_INVALIDPARAM;
        *pan = voice_ ? mixer_->Pan(*voice_) : mixer_->MasterPan();
        return DS_OK;
    }

    // The device's own mix is not the application's to write, play or move.
    HRESULT GetCurrentPosition(DWORD* play, DWORD* write) override {
        if (!voice_) return DSERR_INVALIDCALL;
        if (!play || write) return DSERR_INVALIDPARAM;
        return mixer_->GetCurrentPosition(*voice_, play);
    }
    HRESULT GetPlayProgress(DWORD* play, std::uint64_t* played) override {
        return voice_ ? mixer_->GetPlayProgress(*voice_, play, played) : DSERR_INVALIDCALL;
    }
    HRESULT GetStatus(DWORD* status) override {
        return voice_ ? mixer_->GetStatus(*voice_, status) : DSERR_INVALIDCALL;
    }
    HRESULT Lock(DWORD offset, DWORD bytes, void** region1, DWORD* bytes1, void** region2,
                 DWORD* bytes2, DWORD flags) override {
        if (!voice_) return DSERR_INVALIDCALL;
        if (flags) return DSERR_INVALIDPARAM;
        return mixer_->Lock(*voice_, offset, bytes, region1, bytes1, region2, bytes2);
    }
    HRESULT Unlock(void* region1, DWORD bytes1, void* region2, DWORD bytes2) override {
        return voice_ ? mixer_->Unlock(*voice_, region1, bytes1, region2, bytes2)
                      : DSERR_INVALIDCALL;
    }
    HRESULT Play(DWORD, DWORD, DWORD flags) override {
        if (!voice_) return DSERR_INVALIDCALL;
        if (flags & ~DSBPLAY_LOOPING) return DSERR_INVALIDPARAM;
        return mixer_->Play(*voice_, flags == DSBPLAY_LOOPING);
    }
    HRESULT SetCurrentPosition(DWORD position) override {
        return voice_ ? mixer_->SetCurrentPosition(*voice_, position) : DSERR_INVALIDCALL;
    }
    HRESULT Stop() override { return voice_ ? mixer_->Stop(*voice_) : DSERR_INVALIDCALL; }

    ULONG Release() override {
        if (voice_) mixer_->RemoveVoice(voice_);
        delete this;
        return 0;
    }

  private:
    ~Buffer() = default;
    std::shared_ptr<Mixer> mixer_;
    Voice* voice_;
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
