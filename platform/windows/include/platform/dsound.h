// The real DirectSound 8, and the engine's way to its device and play position.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

#include <cstdint>

// The default device; where none opens (DirectSoundCreate8 fails: no sound server under Wine
// gives DSERR_INVALIDPARAM), one line on stderr and a silent device whose cursors run on the
// clock, so the show still plays, paced as with sound.
HRESULT CreateSoundDevice(IDirectSound8** out);

// DirectSound keeps no count of bytes played: playedBytes stays 0, and the engine counts a
// looping buffer's wraps from its cursor moving back, read at least once a pass.
inline HRESULT GetPlayProgress(IDirectSoundBuffer* buffer, DWORD* playCursor,
                               std::uint64_t* playedBytes) {
    *playedBytes = 0;
    return buffer->GetCurrentPosition(playCursor, nullptr);
}
