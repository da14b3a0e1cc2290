// The stream worker. The buffer holds two seconds in two halves; when the play cursor enters
// one half, the other has just been heard and gets the next second of sound.
#include "sound/cdsound.h"

#include "sound/sound_loader.h"

#include <cstring>

void StreamThread(void* argument) {
    auto* sound = static_cast<CdSound*>(argument);
    const DWORD half = sound->pLoader->GetBufferSize();
    for (;;) {
        const DWORD woken = WaitForMultipleObjects(2, sound->hEvents, 0, INFINITE);
        // Leaving and its reason are settled under the lock, so that Play, which looks at
        // bStreaming under it too, never counts on a worker that is on its way out.
        EnterCriticalSection(&sound->csLock);
        DWORD status = 0;
        if (sound->bQuit || woken > WAIT_OBJECT_0 + 1 ||
            FAILED(sound->pDSBuffer->GetStatus(&status)) || !(status & DSBSTATUS_PLAYING)) {
            sound->bStreaming = false; // stopped from outside: nothing to rewind
            LeaveCriticalSection(&sound->csLock);
            return;
        }
        // Event 1 sits at the middle: the first half has just played.
        const DWORD offset = woken == WAIT_OBJECT_0 + 1 ? 0 : sound->notifyPositions[1].dwOffset;
        const int count = sound->pLoader->Read(0);
        if (count < int(half)) {
            // The data has run out (or failed): the half playing now is cut off with it.
            sound->dwPlayedBase = 0;
            sound->pDSBuffer->Stop();
            sound->FillBuffer(0);
            sound->bStreaming = false; // last: whoever sees it sees the rewound sound
            LeaveCriticalSection(&sound->csLock);
            return;
        }
        void *region1 = nullptr, *region2 = nullptr;
        DWORD bytes1 = 0, bytes2 = 0;
        if (SUCCEEDED(
                sound->pDSBuffer->Lock(offset, half, &region1, &bytes1, &region2, &bytes2, 0))) {
            void* region = region1 ? region1 : region2;
            const DWORD room = region1 ? bytes1 : bytes2;
            std::memcpy(region, sound->pLoader->GetBuffer(), DWORD(count) < room ? count : room);
            sound->pDSBuffer->Unlock(region1, bytes1, region2, bytes2);
        }
        LeaveCriticalSection(&sound->csLock);
    }
}
