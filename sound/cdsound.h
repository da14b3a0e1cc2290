// One sound file played through one secondary buffer; the show's clock comes from it.
// Up to 1 MiB of PCM sits whole in a buffer played once; more streams through a two-second
// looping buffer whose halves its stream worker refills.
#pragma once

#include "platform/dsound.h"
#include "platform/section_guard.h"
#include "platform/sync.h"
#include "platform/threads.h"
#include "platform/win32.h"
#include "sound/play_time.h"

#include <atomic>
#include <cstdint>

class CSoundLoader;

// The byte that sounds as silence: 8-bit samples are unsigned, wider ones signed.
inline BYTE SilenceByte(WORD bitsPerSample) {
    return bitsPerSample == 8 ? 0x80 : 0;
}

class CdSound {
  public:
    CdSound();
    ~CdSound();
    CdSound(const CdSound&) = delete;
    CdSound& operator=(const CdSound&) = delete;

    // Picks the decoder (RIFF WAVE first, then Ogg Vorbis), makes and fills the buffer.
    bool Open(const char* fileName);
    // Length of the whole sound in milliseconds.
    DWORD GetTotalTime();
    // Starts playback, and the stream worker when there is none; after the end of the sound,
    // from its beginning again.
    void Play();
    // Milliseconds played since play began, across wraps of a looping buffer; after the end
    // of the sound it holds at the whole length.
    bool GetPlayTime(DWORD* milliseconds);
    // Moves to the start of the whole second that holds milliseconds.
    bool SetPlayTime(DWORD milliseconds);
    bool IsPlaying(bool* playing);
    // Stops a playing buffer and rewinds it and the decoder to the start.
    bool Stop();
    // Stops a playing buffer where it stands.
    void Pause();
    bool GetVolume(LONG* volume);
    bool SetVolume(LONG volume);
    bool GetPan(LONG* pan);
    bool SetPan(LONG pan);

  private:
    // Ends the worker, closes the loader, releases the buffer and its events.
    void Cleanup();
    bool CreateSecondaryBuffer(DWORD size);
    // Puts the sound from a byte position on at the start of the buffer, zeros the rest and
    // rewinds the play cursor.
    bool FillBuffer(DWORD position);
    void EndWorker();
    // Bytes of the sound played so far, never more than the sound holds.
    bool PlayedBytes(DWORD* played);

    // The stream worker, started through StartThread with the sound as its argument: refills
    // the half of the buffer that has just played, one second of sound per notification, until
    // the data runs out.
    static void StreamThread(void* sound);
    void Stream();

    IDirectSoundBuffer* pDSBuffer;
    IDirectSoundNotify* pDSNotify;
    HANDLE hEvents[2];
    DSBPOSITIONNOTIFY notifyPositions[2];
    DWORD dwBufferBytes;
    CSoundLoader* pLoader;
    bool bStatic;
    std::atomic<bool> bStreaming; // written by the worker under csLock, read by Play under it
    DWORD dwPlayedBase;           // main thread only
    DWORD dwLastCursor;           // main thread only
    std::uint64_t qwLastPlayed;   // the output's count of bytes played, as dwLastCursor was read
    WORD wAlignMask;
    CRITICAL_SECTION csLock; // the buffer's Lock/Unlock, the loader, and nEndWakes
    std::uintptr_t hWorker;  // the stream worker, kNoThread when none was started
    std::atomic<bool> bQuit; // tells a waiting worker to end, for Cleanup
    // Wakes of the worker left until the cursor has passed the last sample; 0 while the
    // sound still flows. FillBuffer starts it afresh.
    int nEndWakes;
    // The half the worker fills next (csLock); FillBuffer fills the first, so it is then 1.
    int nNextHalf;
    // The sound has played to its end: the worker stopped the stream there (or at a failed
    // read), or the buffer played once stopped by itself.
    std::atomic<bool> bEnded;
    // A buffer played once was started and not stopped by us since (main thread only).
    bool bPlayingOnce;
};
