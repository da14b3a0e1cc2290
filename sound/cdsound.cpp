#include "sound/cdsound.h"

#include "sound/dsound_device.h"
#include "sound/sound_error.h"
#include "sound/sound_file.h"
#include "sound/sound_loader.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr DWORD kStaticLimit = 1048576; // larger data streams

constexpr DWORD kBufferFlags = DSBCAPS_LOCSOFTWARE | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME |
                               DSBCAPS_CTRLPOSITIONNOTIFY | DSBCAPS_GLOBALFOCUS |
                               DSBCAPS_GETCURRENTPOSITION2;

} // namespace

CdSound::CdSound()
    : pDSBuffer(nullptr), pDSNotify(nullptr), hEvents{}, notifyPositions{}, dwBufferBytes(0),
      pLoader(nullptr), bStatic(true), bStreaming(false), dwPlayedBase(0), dwLastCursor(0),
      qwLastPlayed(0), wAlignMask(0), hWorker(kNoThread), bQuit(false), nEndWakes(0), nNextHalf(1),
      bEnded(false), bPlayingOnce(false) {
    InitializeCriticalSection(&csLock);
}

// The worker must be gone before the lock and the buffer it uses.
CdSound::~CdSound() {
    Cleanup();
    DeleteCriticalSection(&csLock);
}

bool CdSound::Open(const char* fileName) {
    Cleanup(); // a second Open starts from nothing

    pLoader = OpenSoundFile(fileName);
    if (!pLoader) return false;
    const DWORD dataSize = pLoader->GetDataSize();
    if (dataSize == 0) { // no buffer can be made for it, and it has no clock to give
        ShowSoundError("The sound holds no samples. : CdSound::Open()");
        Cleanup();
        return false;
    }
    DWORD decodeSize = dataSize, bufferSize = dataSize;
    if (dataSize > kStaticLimit) {
        bStatic = false;
        const DWORD bytesPerSecond = (DWORD(pLoader->GetNumChannels()) *
                                      pLoader->GetBitsPerSample() * pLoader->GetSamplesPerSec()) >>
                                     3;
        decodeSize = bytesPerSecond;
        bufferSize = 2 * bytesPerSecond;
    }
    // Without a decode buffer or a sound buffer nothing can play, and the show has no clock.
    const bool decodeReady = pLoader->AllocBuffer(decodeSize);
    const bool bufferReady = CreateSecondaryBuffer(bufferSize);
    if (decodeReady && bufferReady) FillBuffer(0);

    // The loaders give 8, 16 or 24 bits only.
    const WORD bits = pLoader->GetBitsPerSample();
    wAlignMask = bits == 24 ? 3 : bits == 16 ? 1 : 0;
    return decodeReady && bufferReady;
}

bool CdSound::CreateSecondaryBuffer(DWORD size) {
    dwBufferBytes = size;
    IDirectSound8* device = GetDirectSound();
    WAVEFORMATEX format{};
    if (pLoader) {
        format.wFormatTag = WAVE_FORMAT_PCM;
        format.nChannels = pLoader->GetNumChannels();
        format.nSamplesPerSec = pLoader->GetSamplesPerSec();
        format.wBitsPerSample = pLoader->GetBitsPerSample();
        format.nBlockAlign = WORD(WORD(format.wBitsPerSample / 8) * format.nChannels);
        format.nAvgBytesPerSec = format.nBlockAlign * format.nSamplesPerSec;
        format.cbSize = 18;
    }
    DSBUFFERDESC desc{};
    desc.dwSize = sizeof(DSBUFFERDESC);
    desc.dwFlags = kBufferFlags;
    desc.dwBufferBytes = size;
    desc.lpwfxFormat = &format;
    if (!device || !pLoader || FAILED(device->CreateSoundBuffer(&desc, &pDSBuffer, nullptr))) {
        pDSBuffer = nullptr;
        ShowSoundError("Create Secondary Buffer failed. : CdSound::CreateSecondaryBuffer()");
        return false;
    }
    if (bStatic) return true;

    if (FAILED(pDSBuffer->QueryInterface(IID_IDirectSoundNotify,
                                         reinterpret_cast<void**>(&pDSNotify)))) {
        pDSNotify = nullptr;
        ShowSoundError(
            "Create DirectSoundNortify interface failed. : CdSound::CreateSecondaryBuffer()");
        return false;
    }
    const DWORD half = size >> 1;
    for (DWORD i = 0; i < 2; ++i) {
        hEvents[i] = CreateEventA(nullptr, 0, 0, nullptr);
        notifyPositions[i].dwOffset = i * half;
        notifyPositions[i].hEventNotify = hEvents[i];
    }
    if (!hEvents[0] || !hEvents[1] ||
        FAILED(pDSNotify->SetNotificationPositions(2, notifyPositions))) {
        ShowSoundError("Set event failed. : CdSound::CreateSecondaryBuffer");
        return false;
    }
    return true;
}

bool CdSound::FillBuffer(DWORD position) {
    if (!pDSBuffer || !pLoader || !pLoader->GetBuffer()) return false;
    CriticalSectionGuard lock(&csLock);
    void *region1 = nullptr, *region2 = nullptr;
    DWORD bytes1 = 0, bytes2 = 0;
    if (FAILED(pDSBuffer->Lock(0, dwBufferBytes, &region1, &bytes1, &region2, &bytes2, 0)))
        return false;
    pLoader->Seek(LONG(position));
    const int count = pLoader->Read(0);
    BYTE* region = static_cast<BYTE*>(region1 ? region1 : region2);
    const DWORD regionBytes = region1 ? bytes1 : bytes2;
    if (region) {
        std::memset(region, SilenceByte(pLoader->GetBitsPerSample()),
                    std::min(dwBufferBytes, regionBytes));
        if (count > 0)
            std::memcpy(region, pLoader->GetBuffer(), std::min(DWORD(count), regionBytes));
    }
    nEndWakes = 0;
    nNextHalf = 1;
    bEnded = false;
    pDSBuffer->Unlock(region1, bytes1, region2, bytes2);
    // A wake still pending belongs to the buffer as it was: the refill it asks for would skip
    // a second of the new start. Reaching offset 0 below signals afresh if playing.
    for (HANDLE event : hEvents)
        if (event) ResetEvent(event);
    pDSBuffer->SetCurrentPosition(0);
    // Cursor and count from one reading: what was played before this start is no wrap.
    if (FAILED(GetPlayProgress(pDSBuffer, &dwLastCursor, &qwLastPlayed))) dwLastCursor = 0;
    return true;
}

DWORD CdSound::GetTotalTime() {
    if (!pLoader) return 0;
    return BytesToMilliseconds(pLoader->GetDataSize(), pLoader->GetAvgBytesPerSec());
}

void CdSound::Play() {
    if (!pDSBuffer || !pLoader || !pLoader->GetBuffer()) return;
    if (bStatic) {
        if (bEnded) { // it played to its end: again from the start
            bEnded = false;
            dwLastCursor = 0;
            pDSBuffer->SetCurrentPosition(0);
        }
        bPlayingOnce = SUCCEEDED(pDSBuffer->Play(0, 0, 0));
        return;
    }
    // Under the lock a worker is either still refilling (bStreaming) or has left for good.
    CriticalSectionGuard lock(&csLock);
    if (bEnded) {
        dwPlayedBase = 0;
        FillBuffer(0);
    }
    if (bStreaming) {
        pDSBuffer->Play(0, 0, DSBPLAY_LOOPING);
        return;
    }
    if (!hEvents[0] || !hEvents[1]) return; // no notification, no worker to wake
    JoinThread(hWorker);                    // one that ended by itself
    hWorker = kNoThread;
    pDSBuffer->Play(0, 0, DSBPLAY_LOOPING);
    bStreaming = true;
    hWorker = StartThread(StreamThread, this);
    if (hWorker == kNoThread) bStreaming = false;
}

// Past the last sample a stream plays silence until the worker stops it, and a failed read
// ends it early: either way the clock stands at the whole length, so the show can end.
bool CdSound::PlayedBytes(DWORD* played) {
    DWORD cursor = dwLastCursor;
    std::uint64_t playedNow = qwLastPlayed;
    const bool ok = SUCCEEDED(GetPlayProgress(pDSBuffer, &cursor, &playedNow));
    if (!ok) { // then the time stands where it was last seen
        cursor = dwLastCursor;
        playedNow = qwLastPlayed;
    }
    if (bStatic) {
        // Asked after the cursor: once stopped by itself it has played its end, whether or
        // not a frame saw it on the way there.
        DWORD status = 0;
        if (bPlayingOnce && SUCCEEDED(pDSBuffer->GetStatus(&status)) &&
            !(status & DSBSTATUS_PLAYING)) {
            bPlayingOnce = false;
            bEnded = true;
        }
    } else {
        // Wraps since the last call, from what the output has played: a window hidden or a
        // process stopped for longer than the buffer still counts every one. A cursor moved
        // back with nothing played has wrapped once.
        std::uint64_t wraps = (dwLastCursor + (playedNow - qwLastPlayed)) / dwBufferBytes;
        if (wraps == 0 && dwLastCursor > cursor) wraps = 1;
        dwPlayedBase += DWORD(wraps * dwBufferBytes);
    }
    dwLastCursor = cursor;
    qwLastPlayed = playedNow;
    const DWORD end = pLoader->GetDataSize();
    *played =
        bEnded ? end : DWORD(std::min<std::uint64_t>(std::uint64_t(dwPlayedBase) + cursor, end));
    return ok;
}

bool CdSound::GetPlayTime(DWORD* milliseconds) {
    if (!pDSBuffer || !pLoader) return false;
    DWORD played = 0;
    const bool ok = PlayedBytes(&played);
    if (milliseconds) *milliseconds = BytesToMilliseconds(played, pLoader->GetAvgBytesPerSec());
    return ok;
}

bool CdSound::SetPlayTime(DWORD milliseconds) {
    if (!pDSBuffer || !pLoader) return false;
    const auto seconds = std::uint64_t(milliseconds / 1000.0);
    const std::uint64_t bytes =
        std::min<std::uint64_t>(pLoader->GetAvgBytesPerSec() * seconds, pLoader->GetDataSize());
    // A 24-bit frame is 3 or 6 bytes, which no mask of low bits aligns to.
    const DWORD frame24 = 3 * DWORD(pLoader->GetNumChannels());
    const DWORD position = pLoader->GetBitsPerSample() == 24 ? DWORD(bytes) - DWORD(bytes) % frame24
                                                             : DWORD(bytes) & ~DWORD(wAlignMask);
    CriticalSectionGuard lock(&csLock);
    // A stream's buffer holds only two seconds from where it was filled: refill it there.
    if (!bStatic) {
        dwPlayedBase = position;
        return FillBuffer(position);
    }
    if (FAILED(pDSBuffer->SetCurrentPosition(position))) return false;
    dwPlayedBase = 0;
    dwLastCursor = position;
    bEnded = false;
    return true;
}

bool CdSound::IsPlaying(bool* playing) {
    DWORD status = 0;
    if (!pDSBuffer || !playing || FAILED(pDSBuffer->GetStatus(&status))) return false;
    *playing = (status & DSBSTATUS_PLAYING) != 0;
    return true;
}

bool CdSound::Stop() {
    DWORD status = 0;
    if (!pDSBuffer || FAILED(pDSBuffer->GetStatus(&status)) || !(status & DSBSTATUS_PLAYING))
        return false;
    CriticalSectionGuard lock(&csLock);
    dwPlayedBase = 0;
    bPlayingOnce = false;
    pDSBuffer->Stop();
    return FillBuffer(0);
}

void CdSound::Pause() {
    DWORD status = 0;
    if (pDSBuffer && SUCCEEDED(pDSBuffer->GetStatus(&status)) && (status & DSBSTATUS_PLAYING)) {
        bPlayingOnce = false; // stopped by us, not by its end
        pDSBuffer->Stop();
    }
}

bool CdSound::GetVolume(LONG* volume) {
    return pDSBuffer && volume && SUCCEEDED(pDSBuffer->GetVolume(volume));
}

bool CdSound::SetVolume(LONG volume) {
    return pDSBuffer &&
           SUCCEEDED(pDSBuffer->SetVolume(std::clamp<LONG>(volume, DSBVOLUME_MIN, DSBVOLUME_MAX)));
}

bool CdSound::GetPan(LONG* pan) {
    return pDSBuffer && pan && SUCCEEDED(pDSBuffer->GetPan(pan));
}

bool CdSound::SetPan(LONG pan) {
    return pDSBuffer &&
           SUCCEEDED(pDSBuffer->SetPan(std::clamp<LONG>(pan, DSBPAN_LEFT, DSBPAN_RIGHT)));
}

void CdSound::EndWorker() {
    if (hWorker == kNoThread) return;
    bQuit = true;
    if (hEvents[0]) SetEvent(hEvents[0]);
    JoinThread(hWorker);
    hWorker = kNoThread;
    bQuit = false;
    bStreaming = false;
}

void CdSound::Cleanup() {
    EndWorker();
    if (pLoader) {
        pLoader->Close();
        delete pLoader;
        pLoader = nullptr;
    }
    if (pDSNotify) pDSNotify->Release();
    pDSNotify = nullptr;
    if (pDSBuffer) pDSBuffer->Release(); // after this no notification reaches the events
    pDSBuffer = nullptr;
    for (int i = 0; i < 2; ++i) {
        if (hEvents[i]) CloseHandle(hEvents[i]);
        hEvents[i] = nullptr;
        notifyPositions[i] = DSBPOSITIONNOTIFY{};
    }
    dwBufferBytes = 0;
    bStatic = true;
    dwPlayedBase = 0;
    dwLastCursor = 0;
    qwLastPlayed = 0;
    nEndWakes = 0;
    bEnded = false;
    bPlayingOnce = false;
}
