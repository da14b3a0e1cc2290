#include "platform/buffer_calls.h"

HRESULT BufferCalls::SetVolume(LONG volume) {
    if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
    voice_ ? mixer_->SetVolume(*voice_, volume) : mixer_->SetMasterVolume(volume);
    return DS_OK;
}

HRESULT BufferCalls::GetVolume(LONG* volume) {
    if (!volume) return DSERR_INVALIDPARAM;
    *volume = voice_ ? mixer_->Volume(*voice_) : mixer_->MasterVolume();
    return DS_OK;
}

HRESULT BufferCalls::SetPan(LONG pan) {
    if (pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT) return DSERR_INVALIDPARAM;
    voice_ ? mixer_->SetPan(*voice_, pan) : mixer_->SetMasterPan(pan);
    return DS_OK;
}

HRESULT BufferCalls::GetPan(LONG* pan) {
    if (!pan) return DSERR_INVALIDPARAM;
    *pan = voice_ ? mixer_->Pan(*voice_) : mixer_->MasterPan();
    return DS_OK;
}

// The device's own mix is not the application's to write, play or move.
HRESULT BufferCalls::GetCurrentPosition(DWORD* play, DWORD* write) {
    if (!voice_) return DSERR_INVALIDCALL;
    if (!play || write) return DSERR_INVALIDPARAM;
    return mixer_->GetCurrentPosition(*voice_, play);
}

HRESULT BufferCalls::GetStatus(DWORD* status) {
    return voice_ ? mixer_->GetStatus(*voice_, status) : DSERR_INVALIDCALL;
}

HRESULT BufferCalls::Lock(DWORD offset, DWORD bytes, void** region1, DWORD* bytes1, void** region2,
                          DWORD* bytes2, DWORD flags) {
    if (!voice_) return DSERR_INVALIDCALL;
    if (flags) return DSERR_INVALIDPARAM;
    return mixer_->Lock(*voice_, offset, bytes, region1, bytes1, region2, bytes2);
}

HRESULT BufferCalls::Unlock(void* region1, DWORD bytes1, void* region2, DWORD bytes2) {
    return voice_ ? mixer_->Unlock(*voice_, region1, bytes1, region2, bytes2) : DSERR_INVALIDCALL;
}

HRESULT BufferCalls::Play(DWORD flags) {
    if (!voice_) return DSERR_INVALIDCALL;
    if (flags & ~DWORD(DSBPLAY_LOOPING)) return DSERR_INVALIDPARAM;
    return mixer_->Play(*voice_, flags == DSBPLAY_LOOPING);
}

HRESULT BufferCalls::SetCurrentPosition(DWORD position) {
    return voice_ ? mixer_->SetCurrentPosition(*voice_, position) : DSERR_INVALIDCALL;
}

HRESULT BufferCalls::Stop() {
    return voice_ ? mixer_->Stop(*voice_) : DSERR_INVALIDCALL;
}
