#include "sound/dsound_device.h"

#include "sound/sound_error.h"

#include <algorithm>

namespace {

// The device is linked in (dsound.dll or our own): there is no library to load here.
IDirectSound8* pDirectSound = nullptr;

// Runs one operation on a fresh primary buffer and lets it go again.
template <class Operation> bool WithPrimary(Operation operation) {
    IDirectSoundBuffer* primary = nullptr;
    if (!CreatePrimaryBuffer(&primary)) return false;
    const bool ok = SUCCEEDED(operation(primary));
    primary->Release();
    return ok;
}

} // namespace

bool InitDirectSound(HWND window) {
    if (pDirectSound) return true;
    if (FAILED(CreateSoundDevice(&pDirectSound))) {
        pDirectSound = nullptr;
        ShowSoundError("Failed : DirectSoundCreate8()");
        return false;
    }
    if (FAILED(pDirectSound->SetCooperativeLevel(window, DSSCL_PRIORITY))) {
        ShowSoundError("Failed : SetCooperativeLevel()");
        return false;
    }
    IDirectSoundBuffer* primary = nullptr;
    if (!CreatePrimaryBuffer(&primary)) return false;
    primary->Release(); // the format stays in force for the device
    return true;
}

void ReleaseDirectSound() {
    if (pDirectSound) pDirectSound->Release();
    pDirectSound = nullptr;
}

IDirectSound8* GetDirectSound() {
    return pDirectSound;
}

bool CreatePrimaryBuffer(IDirectSoundBuffer** primary) {
    if (!primary) return false;
    *primary = nullptr;
    DSBUFFERDESC desc{};
    desc.dwSize = sizeof(DSBUFFERDESC);
    desc.dwFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
    if (!pDirectSound || FAILED(pDirectSound->CreateSoundBuffer(&desc, primary, nullptr))) {
        *primary = nullptr;
        ShowSoundError("Failed : CreateSoundBuffer()");
        return false;
    }
    WAVEFORMATEX format;
    if (!MakeWaveFormat(&format, 2, 44100, 16) || (*primary)->SetFormat(&format) != DS_OK) {
        (*primary)->Release();
        *primary = nullptr;
        ShowSoundError("Failed : CreateSoundBuffer()");
        return false;
    }
    return true;
}

bool MakeWaveFormat(WAVEFORMATEX* format, WORD channels, DWORD samplesPerSec, WORD bitsPerSample) {
    if (!format) return false;
    format->wFormatTag = WAVE_FORMAT_PCM;
    format->nChannels = channels;
    format->nSamplesPerSec = samplesPerSec;
    format->nBlockAlign = WORD(WORD(bitsPerSample / 8) * channels);
    format->nAvgBytesPerSec = samplesPerSec * format->nBlockAlign;
    format->wBitsPerSample = bitsPerSample;
    format->cbSize = 18;
    return true;
}

bool GetMasterVolume(LONG* volume) {
    return WithPrimary([volume](IDirectSoundBuffer* p) { return p->GetVolume(volume); });
}

bool SetMasterVolume(LONG volume) {
    volume = std::clamp<LONG>(volume, DSBVOLUME_MIN, DSBVOLUME_MAX);
    return WithPrimary([volume](IDirectSoundBuffer* p) { return p->SetVolume(volume); });
}

bool GetMasterPan(LONG* pan) {
    return WithPrimary([pan](IDirectSoundBuffer* p) { return p->GetPan(pan); });
}

bool SetMasterPan(LONG pan) {
    pan = std::clamp<LONG>(pan, DSBPAN_LEFT, DSBPAN_RIGHT);
    return WithPrimary([pan](IDirectSoundBuffer* p) { return p->SetPan(pan); });
}
