// The DirectSound objects: reference counting, argument checks, and the mixer behind them.
#include "platform/dsound.h"

#include "platform/audio_output.h"
#include "platform/dsound_mixer.h"

#include <atomic>
#include <cstring>
#include <memory>
#include <new>

const GUID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const GUID IID_IDirectSoundBuffer = {
    0x279AFA85, 0x4981, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};
const GUID IID_IDirectSoundNotify = {
    0xB0210783, 0x89CD, 0x11D0, {0xAF, 0x08, 0x00, 0xA0, 0xC9, 0x25, 0xCD, 0x16}};

bool operator==(const GUID& a, const GUID& b) {
    return std::memcmp(&a, &b, sizeof(GUID)) == 0;
}

namespace {

bool validPcm(const WAVEFORMATEX* f) {
    if (!f || f->wFormatTag != WAVE_FORMAT_PCM) return false;
    const WORD bits = f->wBitsPerSample;
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    if (f->nChannels < 1 || f->nChannels > 8) return false;
    if (f->nSamplesPerSec < 100 || f->nSamplesPerSec > 200000) return false;
    return f->nBlockAlign == f->nChannels * (bits / 8) &&
           f->nAvgBytesPerSec == f->nBlockAlign * f->nSamplesPerSec;
}

// Holds the reference count of a COM-style object; Release deletes at zero.
template <class Derived> class RefCounted {
  public:
    ULONG AddRefImpl() { return ++refs_; }
    ULONG ReleaseImpl() {
        const ULONG left = --refs_;
        if (left == 0) delete static_cast<Derived*>(this);
        return left;
    }

  private:
    std::atomic<ULONG> refs_{1};
};

class PrimaryBuffer final : public IDirectSoundBuffer, RefCounted<PrimaryBuffer> {
  public:
    PrimaryBuffer(std::shared_ptr<Mixer> mixer, DWORD flags)
        : mixer_(std::move(mixer)), flags_(flags) {}

    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (!object) return DSERR_INVALIDPARAM;
        *object = nullptr;
        if (!(iid == IID_IUnknown || iid == IID_IDirectSoundBuffer)) return E_NOINTERFACE;
        AddRef();
        *object = static_cast<IDirectSoundBuffer*>(this);
        return DS_OK;
    }
    ULONG AddRef() override { return AddRefImpl(); }
    ULONG Release() override { return ReleaseImpl(); }

    HRESULT SetFormat(const WAVEFORMATEX* format) override {
        if (mixer_->CooperativeLevel() < DSSCL_PRIORITY) return DSERR_PRIOLEVELNEEDED;
        if (!validPcm(format) || format->nChannels > 2) return DSERR_BADFORMAT;
        mixer_->SetPrimaryFormat(*format);
        return DS_OK;
    }
    HRESULT GetFormat(WAVEFORMATEX* format, DWORD bytes, DWORD* written) override {
        const WAVEFORMATEX f = mixer_->PrimaryFormat();
        return copyFormat(f, format, bytes, written);
    }
    HRESULT SetVolume(LONG volume) override {
        if (!(flags_ & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
        if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
        mixer_->SetMasterVolume(volume);
        return DS_OK;
    }
    HRESULT GetVolume(LONG* volume) override {
        if (!(flags_ & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
        if (!volume) return DSERR_INVALIDPARAM;
        *volume = mixer_->MasterVolume();
        return DS_OK;
    }
    HRESULT SetPan(LONG pan) override {
        if (!(flags_ & DSBCAPS_CTRLPAN)) return DSERR_CONTROLUNAVAIL;
        if (pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT) return DSERR_INVALIDPARAM;
        mixer_->SetMasterPan(pan);
        return DS_OK;
    }
    HRESULT GetPan(LONG* pan) override {
        if (!(flags_ & DSBCAPS_CTRLPAN)) return DSERR_CONTROLUNAVAIL;
        if (!pan) return DSERR_INVALIDPARAM;
        *pan = mixer_->MasterPan();
        return DS_OK;
    }
    HRESULT GetStatus(DWORD* status) override {
        if (!status) return DSERR_INVALIDPARAM;
        *status = DSBSTATUS_PLAYING | DSBSTATUS_LOOPING; // the device mixes all the time
        return DS_OK;
    }

    // The device's own mix is not the application's to write or move.
    HRESULT GetCurrentPosition(DWORD*, DWORD*) override { return DSERR_INVALIDCALL; }
    HRESULT Lock(DWORD, DWORD, void**, DWORD*, void**, DWORD*, DWORD) override {
        return DSERR_INVALIDCALL;
    }
    HRESULT Unlock(void*, DWORD, void*, DWORD) override { return DSERR_INVALIDCALL; }
    HRESULT Play(DWORD, DWORD, DWORD) override { return DSERR_INVALIDCALL; }
    HRESULT SetCurrentPosition(DWORD) override { return DSERR_INVALIDCALL; }
    HRESULT Stop() override { return DSERR_INVALIDCALL; }

    static HRESULT copyFormat(const WAVEFORMATEX& f, WAVEFORMATEX* format, DWORD bytes,
                              DWORD* written) {
        if (!format) {
            if (!written) return DSERR_INVALIDPARAM;
            *written = sizeof(WAVEFORMATEX);
            return DS_OK;
        }
        if (bytes < sizeof(WAVEFORMATEX)) return DSERR_INVALIDPARAM;
        *format = f;
        if (written) *written = sizeof(WAVEFORMATEX);
        return DS_OK;
    }

  private:
    ~PrimaryBuffer() = default;
    friend class RefCounted<PrimaryBuffer>;

    std::shared_ptr<Mixer> mixer_;
    DWORD flags_;
};

class SecondaryBuffer;

class Notify final : public IDirectSoundNotify, RefCounted<Notify> {
  public:
    Notify(SecondaryBuffer* owner, std::shared_ptr<Mixer> mixer, Voice* voice);

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override { return AddRefImpl(); }
    ULONG Release() override { return ReleaseImpl(); }
    HRESULT SetNotificationPositions(DWORD count, const DSBPOSITIONNOTIFY* positions) override {
        return mixer_->SetNotificationPositions(*voice_, count, positions);
    }

  private:
    ~Notify();
    friend class RefCounted<Notify>;

    SecondaryBuffer* owner_;
    std::shared_ptr<Mixer> mixer_;
    Voice* voice_;
};

class SecondaryBuffer final : public IDirectSoundBuffer, RefCounted<SecondaryBuffer> {
  public:
    SecondaryBuffer(std::shared_ptr<Mixer> mixer, Voice* voice)
        : mixer_(std::move(mixer)), voice_(voice) {}

    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (!object) return DSERR_INVALIDPARAM;
        *object = nullptr;
        if (iid == IID_IUnknown || iid == IID_IDirectSoundBuffer) {
            AddRef();
            *object = static_cast<IDirectSoundBuffer*>(this);
            return DS_OK;
        }
        if (iid == IID_IDirectSoundNotify && (voice_->flags & DSBCAPS_CTRLPOSITIONNOTIFY)) {
            auto* notify = new (std::nothrow) Notify(this, mixer_, voice_);
            if (!notify) return DSERR_OUTOFMEMORY;
            *object = static_cast<IDirectSoundNotify*>(notify);
            return DS_OK;
        }
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return AddRefImpl(); }
    ULONG Release() override { return ReleaseImpl(); }

    HRESULT GetCurrentPosition(DWORD* play, DWORD* write) override {
        return mixer_->GetCurrentPosition(*voice_, play, write);
    }
    HRESULT GetFormat(WAVEFORMATEX* format, DWORD bytes, DWORD* written) override {
        return PrimaryBuffer::copyFormat(voice_->format, format, bytes, written);
    }
    HRESULT GetVolume(LONG* volume) override { return mixer_->GetVolume(*voice_, volume); }
    HRESULT GetPan(LONG* pan) override { return mixer_->GetPan(*voice_, pan); }
    HRESULT GetStatus(DWORD* status) override { return mixer_->GetStatus(*voice_, status); }
    HRESULT Lock(DWORD offset, DWORD bytes, void** region1, DWORD* bytes1, void** region2,
                 DWORD* bytes2, DWORD flags) override {
        return mixer_->Lock(*voice_, offset, bytes, region1, bytes1, region2, bytes2, flags);
    }
    HRESULT Play(DWORD, DWORD, DWORD flags) override { return mixer_->Play(*voice_, flags); }
    HRESULT SetCurrentPosition(DWORD position) override {
        return mixer_->SetCurrentPosition(*voice_, position);
    }
    HRESULT SetFormat(const WAVEFORMATEX*) override { return DSERR_INVALIDCALL; }
    HRESULT SetVolume(LONG volume) override { return mixer_->SetVolume(*voice_, volume); }
    HRESULT SetPan(LONG pan) override { return mixer_->SetPan(*voice_, pan); }
    HRESULT Stop() override { return mixer_->Stop(*voice_); }
    HRESULT Unlock(void* region1, DWORD bytes1, void* region2, DWORD bytes2) override {
        return mixer_->Unlock(*voice_, region1, bytes1, region2, bytes2);
    }

  private:
    ~SecondaryBuffer() { mixer_->RemoveVoice(voice_); }
    friend class RefCounted<SecondaryBuffer>;

    std::shared_ptr<Mixer> mixer_;
    Voice* voice_;
};

Notify::Notify(SecondaryBuffer* owner, std::shared_ptr<Mixer> mixer, Voice* voice)
    : owner_(owner), mixer_(std::move(mixer)), voice_(voice) {
    owner_->AddRef();
}
Notify::~Notify() {
    owner_->Release();
}

HRESULT Notify::QueryInterface(REFIID iid, void** object) {
    if (!object) return DSERR_INVALIDPARAM;
    if (iid == IID_IDirectSoundNotify) {
        AddRef();
        *object = static_cast<IDirectSoundNotify*>(this);
        return DS_OK;
    }
    return owner_->QueryInterface(iid, object);
}

class Device final : public IDirectSound8, RefCounted<Device> {
  public:
    explicit Device(std::shared_ptr<Mixer> mixer) : mixer_(std::move(mixer)) {}

    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (!object) return DSERR_INVALIDPARAM;
        *object = nullptr;
        if (!(iid == IID_IUnknown)) return E_NOINTERFACE;
        AddRef();
        *object = static_cast<IDirectSound8*>(this);
        return DS_OK;
    }
    ULONG AddRef() override { return AddRefImpl(); }
    ULONG Release() override { return ReleaseImpl(); }

    HRESULT SetCooperativeLevel(HWND window, DWORD level) override {
        if (!window || level < DSSCL_NORMAL || level > 4) return DSERR_INVALIDPARAM;
        mixer_->SetCooperativeLevel(level);
        return DS_OK;
    }

    HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** out,
                              IUnknown* outer) override {
        if (!out) return DSERR_INVALIDPARAM;
        *out = nullptr;
        if (outer) return DSERR_NOAGGREGATION;
        if (!desc || desc->dwSize != sizeof(DSBUFFERDESC)) return DSERR_INVALIDPARAM;
        if (desc->dwFlags & DSBCAPS_PRIMARYBUFFER) {
            if (desc->dwBufferBytes != 0 || desc->lpwfxFormat) return DSERR_INVALIDPARAM;
            auto* primary = new (std::nothrow) PrimaryBuffer(mixer_, desc->dwFlags);
            if (!primary) return DSERR_OUTOFMEMORY;
            *out = primary;
            return DS_OK;
        }
        if (!desc->lpwfxFormat) return DSERR_INVALIDPARAM;
        if (!validPcm(desc->lpwfxFormat)) return DSERR_BADFORMAT;
        const DWORD bytes = desc->dwBufferBytes;
        if (bytes < DSBSIZE_MIN || bytes > DSBSIZE_MAX || bytes < desc->lpwfxFormat->nBlockAlign)
            return DSERR_INVALIDPARAM;
        Voice* voice = mixer_->AddVoice(*desc->lpwfxFormat, bytes, desc->dwFlags);
        if (!voice) return DSERR_OUTOFMEMORY;
        auto* buffer = new (std::nothrow) SecondaryBuffer(mixer_, voice);
        if (!buffer) {
            mixer_->RemoveVoice(voice);
            return DSERR_OUTOFMEMORY;
        }
        *out = buffer;
        return DS_OK;
    }

  private:
    ~Device() = default;
    friend class RefCounted<Device>;

    std::shared_ptr<Mixer> mixer_;
};

} // namespace

HRESULT DirectSoundCreate8(const GUID* device, IDirectSound8** out, IUnknown* outer) {
    if (!out) return DSERR_INVALIDPARAM;
    *out = nullptr;
    if (outer) return DSERR_NOAGGREGATION;
    if (device) return DSERR_NODRIVER; // only the default device exists
    std::unique_ptr<AudioOutput> output = OpenAudioOutput();
    if (!output) return DSERR_NODRIVER;
    auto mixer = std::make_shared<Mixer>(std::move(output));
    if (!mixer->Start()) return DSERR_NODRIVER;
    auto* created = new (std::nothrow) Device(std::move(mixer));
    if (!created) return DSERR_OUTOFMEMORY;
    *out = created;
    return DS_OK;
}
