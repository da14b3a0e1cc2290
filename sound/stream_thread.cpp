// The stream worker. The buffer holds two seconds in two halves; when the play cursor enters
// one half, the other has just been heard and gets the next second of sound.
#include "sound/cdsound.h"

#include "sound/sound_loader.h"

#include <cstring>

void CdSound::StreamThread(void* sound) {
    static_cast<CdSound*>(sound)->Stream();
}

void CdSound::Stream() {
    const DWORD half = pLoader->GetBufferSize();
    const BYTE silence = SilenceByte(pLoader->GetBitsPerSample());
    for (;;) {
        const DWORD woken = WaitForMultipleObjects(2, hEvents, 0, INFINITE);
        // Leaving and its reason are settled under the lock, so that Play, which looks at
        // bStreaming under it too, never counts on a worker that is on its way out.
        CriticalSectionGuard guard(&csLock);
        DWORD status = 0;
        if (bQuit || woken > WAIT_OBJECT_0 + 1 || FAILED(pDSBuffer->GetStatus(&status)) ||
            !(status & DSBSTATUS_PLAYING)) {
            bStreaming = false; // stopped from outside: it resumes with a new worker
            return;
        }
        // Event 1 sits at the middle: the first half has just played and is refilled.
        const int refill = woken == WAIT_OBJECT_0 + 1 ? 0 : 1;
        // A wake taken before FillBuffer started the buffer afresh, but served after it, asks
        // for a half that is already filled: serving it would skip a second.
        if (refill != nNextHalf) continue;
        nNextHalf = 1 - refill;
        // The cursor has left the half that held the last of the sound: all of it was heard.
        if (nEndWakes > 0 && --nEndWakes == 0) {
            pDSBuffer->Stop();
            bEnded = true;
            bStreaming = false;
            return;
        }
        const DWORD offset = notifyPositions[refill].dwOffset;
        int count = nEndWakes > 0 ? 0 : pLoader->Read(0);
        if (count < 0) count = 0; // a failed read ends the sound where it failed
        if (DWORD(count) < half && nEndWakes == 0) {
            // The last of the sound goes in now; the cursor must cross into this half, and
            // then out of it, unless it holds nothing.
            nEndWakes = count > 0 ? 2 : 1;
        }
        void *region1 = nullptr, *region2 = nullptr;
        DWORD bytes1 = 0, bytes2 = 0;
        if (SUCCEEDED(pDSBuffer->Lock(offset, half, &region1, &bytes1, &region2, &bytes2, 0))) {
            auto* region = static_cast<BYTE*>(region1 ? region1 : region2);
            const DWORD room = region1 ? bytes1 : bytes2;
            const DWORD filled = DWORD(count) < room ? DWORD(count) : room;
            std::memcpy(region, pLoader->GetBuffer(), filled);
            // Silence after the end, never what the half held a pass ago.
            std::memset(region + filled, silence, room - filled);
            pDSBuffer->Unlock(region1, bytes1, region2, bytes2);
        }
    }
}
