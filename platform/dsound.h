// DirectSound 8 stand-in: the device, its primary buffer, secondary buffers and position
// notification, exactly as far as the sound engine calls them. Buffers are mixed into the
// output of platform/audio_output.h: SDL2 audio where a sound device opens, otherwise a silent
// output paced by the monotonic clock.
//
// Not goals of this stand-in:
// - COM: no reference counts (Release destroys the object; release a notify interface before
//   its buffer), no interface but the notify one to query, no aggregation, one device.
// - Formats: PCM of 8, 16 or 24 bits, 1 to 8 channels of which the first two are heard,
//   100 to 200000 Hz. The mix runs at 44100 Hz in stereo whatever the primary format says.
// - Cooperative levels: any is taken; only a window is required.
// - Lock: one lock of a buffer at a time, from a given offset (no flags). Where a buffer is
//   locked the mix plays silence: writing never makes the output wait.
// - At most two notification positions a buffer, set while it is stopped. Play on a playing
//   buffer changes nothing, looping or not; the status tells playing only.
// - No write cursor, no GetFormat, no frequency, 3-D, effects or capture.
#pragma once

#include "platform/waveformat.h"
#include "platform/win32.h"

#include <cstdint>

struct GUID {
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];
};
using REFIID = const GUID&;
extern const GUID IID_IDirectSoundNotify;

inline bool SUCCEEDED(HRESULT hr) {
    return hr >= 0;
}
inline bool FAILED(HRESULT hr) {
    return hr < 0;
}

constexpr HRESULT DS_OK = 0;
constexpr HRESULT E_NOINTERFACE = HRESULT(0x80004002u);
constexpr HRESULT DSERR_OUTOFMEMORY = HRESULT(0x8007000Eu);
constexpr HRESULT DSERR_INVALIDPARAM = HRESULT(0x80070057u);
constexpr HRESULT DSERR_INVALIDCALL = HRESULT(0x88780032u);
constexpr HRESULT DSERR_BADFORMAT = HRESULT(0x88780064u);
constexpr HRESULT DSERR_NODRIVER = HRESULT(0x88780078u);

constexpr DWORD DSSCL_PRIORITY = 2;

constexpr DWORD DSBCAPS_PRIMARYBUFFER = 0x1;
constexpr DWORD DSBCAPS_LOCSOFTWARE = 0x8;
constexpr DWORD DSBCAPS_CTRLPAN = 0x40;
constexpr DWORD DSBCAPS_CTRLVOLUME = 0x80;
constexpr DWORD DSBCAPS_CTRLPOSITIONNOTIFY = 0x100;
constexpr DWORD DSBCAPS_GLOBALFOCUS = 0x8000;
constexpr DWORD DSBCAPS_GETCURRENTPOSITION2 = 0x10000;

constexpr DWORD DSBPLAY_LOOPING = 0x1;
constexpr DWORD DSBSTATUS_PLAYING = 0x1;

constexpr LONG DSBVOLUME_MIN = -10000;
constexpr LONG DSBVOLUME_MAX = 0;
constexpr LONG DSBPAN_LEFT = -10000;
constexpr LONG DSBPAN_RIGHT = 10000;
constexpr DWORD DSBSIZE_MIN = 4;
constexpr DWORD DSBSIZE_MAX = 0x0FFFFFFF;
constexpr DWORD DSBFREQUENCY_MIN = 100;
constexpr DWORD DSBFREQUENCY_MAX = 200000;

struct DSBUFFERDESC {
    DWORD dwSize; // sizeof(DSBUFFERDESC)
    DWORD dwFlags;
    DWORD dwBufferBytes;
    DWORD dwReserved;
    WAVEFORMATEX* lpwfxFormat;
    GUID guid3DAlgorithm;
};

struct DSBPOSITIONNOTIFY {
    DWORD dwOffset;
    HANDLE hEventNotify;
};

class IDirectSoundNotify {
  public:
    virtual HRESULT SetNotificationPositions(DWORD count, const DSBPOSITIONNOTIFY* positions) = 0;
    virtual ULONG Release() = 0;

  protected:
    ~IDirectSoundNotify() = default;
};

// The primary buffer takes SetFormat and the master volume and pan; the rest is for
// secondary buffers, which take everything but SetFormat.
class IDirectSoundBuffer {
  public:
    // IID_IDirectSoundNotify only.
    virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
    // writeCursor must be null.
    virtual HRESULT GetCurrentPosition(DWORD* playCursor, DWORD* writeCursor) = 0;
    virtual HRESULT GetVolume(LONG* volume) = 0;
    virtual HRESULT GetPan(LONG* pan) = 0;
    virtual HRESULT GetStatus(DWORD* status) = 0;
    virtual HRESULT Lock(DWORD offset, DWORD bytes, void** region1, DWORD* bytes1, void** region2,
                         DWORD* bytes2, DWORD flags) = 0;
    virtual HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) = 0;
    virtual HRESULT SetCurrentPosition(DWORD position) = 0;
    virtual HRESULT SetFormat(const WAVEFORMATEX* format) = 0;
    virtual HRESULT SetVolume(LONG volume) = 0;
    virtual HRESULT SetPan(LONG pan) = 0;
    virtual HRESULT Stop() = 0;
    virtual HRESULT Unlock(void* region1, DWORD bytes1, void* region2, DWORD bytes2) = 0;
    virtual ULONG Release() = 0;
    // Beyond DirectSound: the play cursor, and with it the bytes it has moved by playing since
    // the buffer was made, every wrap counted. GetCurrentPosition alone cannot tell two
    // positions a whole buffer apart.
    virtual HRESULT GetPlayProgress(DWORD* playCursor, std::uint64_t* playedBytes) = 0;

  protected:
    ~IDirectSoundBuffer() = default;
};

class IDirectSound8 {
  public:
    virtual HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer,
                                      void* outer) = 0;
    virtual HRESULT SetCooperativeLevel(HWND window, DWORD level) = 0;
    virtual ULONG Release() = 0;

  protected:
    ~IDirectSound8() = default;
};

// Only the default device (a null GUID) exists. The output comes from the factory set with
// SetAudioOutputFactory (platform/audio_output.h); DSERR_NODRIVER when it gives none.
HRESULT DirectSoundCreate8(const GUID* device, IDirectSound8** out, void* outer);

// The sound engine's way to its device and its play position, which on Windows go to the real
// DirectSound (platform/windows): the default device, and the cursor with the bytes played.
inline HRESULT CreateSoundDevice(IDirectSound8** out) {
    return DirectSoundCreate8(nullptr, out, nullptr);
}
inline HRESULT GetPlayProgress(IDirectSoundBuffer* buffer, DWORD* playCursor,
                               std::uint64_t* playedBytes) {
    return buffer->GetPlayProgress(playCursor, playedBytes);
}
