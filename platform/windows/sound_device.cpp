// The real DirectSound where a device opens; else the stand-in's mixer behind the real
// interfaces, played through the silent output, so the show keeps its clock without sound.
#include "platform/audio_output.h"
#include "platform/buffer_calls.h"
#include "platform/dsound.h"
#include "platform/dsound_mixer.h"

#include <atomic>
#include <cstdio>
#include <memory>
#include <new>

namespace {

// One reference count for the three kinds of object; the engine takes and drops one each.
template <class Interface> class Counted : public Interface {
  public:
    STDMETHOD_(ULONG, AddRef)() override { return ++references_; }
    STDMETHOD_(ULONG, Release)() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

  protected:
    virtual ~Counted() = default;

  private:
    std::atomic<ULONG> references_{1};
};

class SilentNotify final : public Counted<IDirectSoundNotify> {
  public:
    SilentNotify(std::shared_ptr<Mixer> mixer, Voice* voice)
        : mixer_(std::move(mixer)), voice_(voice) {}
    STDMETHOD(QueryInterface)(REFIID, void** object) override {
        if (object) *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHOD(SetNotificationPositions)(DWORD count, LPCDSBPOSITIONNOTIFY positions) override {
        return mixer_->SetNotificationPositions(*voice_, count, positions);
    }

  private:
    std::shared_ptr<Mixer> mixer_;
    Voice* voice_;
};

// A secondary buffer (the engine makes primary ones only to set the format and level).
class SilentBuffer final : public Counted<IDirectSoundBuffer> {
  public:
    SilentBuffer(std::shared_ptr<Mixer> mixer, Voice* voice) : calls_(std::move(mixer), voice) {}

    STDMETHOD(QueryInterface)(REFIID iid, void** object) override {
        if (!object) return DSERR_INVALIDPARAM;
        *object = nullptr;
        if (!calls_.voice() || !IsEqualGUID(iid, IID_IDirectSoundNotify)) return E_NOINTERFACE;
        auto* notify = new (std::nothrow) SilentNotify(calls_.mixer(), calls_.voice());
        if (!notify) return DSERR_OUTOFMEMORY;
        *object = static_cast<IDirectSoundNotify*>(notify);
        return DS_OK;
    }
    STDMETHOD(GetCurrentPosition)(LPDWORD play, LPDWORD write) override {
        return calls_.GetCurrentPosition(play, write);
    }
    STDMETHOD(GetStatus)(LPDWORD status) override { return calls_.GetStatus(status); }
    STDMETHOD(Lock)
    (DWORD offset, DWORD bytes, LPVOID* region1, LPDWORD bytes1, LPVOID* region2, LPDWORD bytes2,
     DWORD flags) override {
        return calls_.Lock(offset, bytes, region1, bytes1, region2, bytes2, flags);
    }
    STDMETHOD(Unlock)(LPVOID region1, DWORD bytes1, LPVOID region2, DWORD bytes2) override {
        return calls_.Unlock(region1, bytes1, region2, bytes2);
    }
    STDMETHOD(Play)(DWORD, DWORD, DWORD flags) override { return calls_.Play(flags); }
    STDMETHOD(SetCurrentPosition)(DWORD position) override {
        return calls_.SetCurrentPosition(position);
    }
    STDMETHOD(Stop)() override { return calls_.Stop(); }
    // Nothing is heard: any format, level and balance is taken.
    STDMETHOD(SetFormat)(LPCWAVEFORMATEX) override {
        return calls_.voice() ? DSERR_INVALIDCALL : DS_OK;
    }
    STDMETHOD(SetVolume)(LONG volume) override { return calls_.SetVolume(volume); }
    STDMETHOD(GetVolume)(LPLONG volume) override { return calls_.GetVolume(volume); }
    STDMETHOD(SetPan)(LONG pan) override { return calls_.SetPan(pan); }
    STDMETHOD(GetPan)(LPLONG pan) override { return calls_.GetPan(pan); }
    // What the engine never calls.
    STDMETHOD(GetCaps)(LPDSBCAPS) override { return DSERR_UNSUPPORTED; }
    STDMETHOD(GetFormat)(LPWAVEFORMATEX, DWORD, LPDWORD) override { return DSERR_UNSUPPORTED; }
    STDMETHOD(GetFrequency)(LPDWORD) override { return DSERR_UNSUPPORTED; }
    STDMETHOD(Initialize)(LPDIRECTSOUND, LPCDSBUFFERDESC) override {
        return DSERR_ALREADYINITIALIZED;
    }
    STDMETHOD(SetFrequency)(DWORD) override { return DSERR_UNSUPPORTED; }
    STDMETHOD(Restore)() override { return DS_OK; }

  private:
    BufferCalls calls_; // lets the voice go with the buffer; none for the primary buffer
};

class SilentDevice final : public Counted<IDirectSound8> {
  public:
    explicit SilentDevice(std::shared_ptr<Mixer> mixer) : mixer_(std::move(mixer)) {}

    STDMETHOD(QueryInterface)(REFIID, void** object) override {
        if (object) *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHOD(SetCooperativeLevel)(HWND window, DWORD) override {
        return window ? DS_OK : DSERR_INVALIDPARAM;
    }
    STDMETHOD(CreateSoundBuffer)
    (LPCDSBUFFERDESC desc, LPLPDIRECTSOUNDBUFFER out, IUnknown* outer) override {
        if (!out) return DSERR_INVALIDPARAM;
        *out = nullptr;
        if (outer || !desc || desc->dwSize != sizeof(DSBUFFERDESC)) return DSERR_INVALIDPARAM;
        Voice* voice = nullptr;
        if (!(desc->dwFlags & DSBCAPS_PRIMARYBUFFER)) {
            const WAVEFORMATEX* format = desc->lpwfxFormat;
            if (!format || format->wFormatTag != WAVE_FORMAT_PCM || format->nBlockAlign == 0 ||
                desc->dwBufferBytes < format->nBlockAlign || desc->dwBufferBytes > DSBSIZE_MAX)
                return DSERR_BADFORMAT;
            voice = mixer_->AddVoice(*format, desc->dwBufferBytes);
            if (!voice) return DSERR_OUTOFMEMORY;
        }
        auto* buffer = new (std::nothrow) SilentBuffer(mixer_, voice);
        if (!buffer) {
            if (voice) mixer_->RemoveVoice(voice);
            return DSERR_OUTOFMEMORY;
        }
        *out = buffer;
        return DS_OK;
    }
    // What the engine never calls.
    STDMETHOD(GetCaps)(LPDSCAPS) override { return DSERR_UNSUPPORTED; }
    STDMETHOD(DuplicateSoundBuffer)(LPDIRECTSOUNDBUFFER, LPLPDIRECTSOUNDBUFFER) override {
        return DSERR_UNSUPPORTED;
    }
    STDMETHOD(Compact)() override { return DS_OK; }
    STDMETHOD(GetSpeakerConfig)(LPDWORD) override { return DSERR_UNSUPPORTED; }
    STDMETHOD(SetSpeakerConfig)(DWORD) override { return DSERR_UNSUPPORTED; }
    STDMETHOD(Initialize)(LPCGUID) override { return DSERR_ALREADYINITIALIZED; }
    STDMETHOD(VerifyCertification)(LPDWORD) override { return DSERR_UNSUPPORTED; }

  private:
    std::shared_ptr<Mixer> mixer_;
};

} // namespace

HRESULT CreateSoundDevice(IDirectSound8** out) {
    const HRESULT hr = DirectSoundCreate8(nullptr, out, nullptr);
    if (SUCCEEDED(hr)) return hr;
    *out = nullptr;
    std::fprintf(stderr,
                 "sound: no audio device (DirectSoundCreate8 failed: 0x%08lX); the show plays "
                 "without sound\n",
                 static_cast<unsigned long>(hr));
    auto mixer = std::make_shared<Mixer>(MakeSilentOutput());
    if (!mixer->Start()) return hr;
    *out = new (std::nothrow) SilentDevice(std::move(mixer));
    return *out ? DS_OK : DSERR_OUTOFMEMORY;
}
