// The one process-wide sound device, on which every sound buffer is made.
#pragma once

#include "platform/dsound.h"
#include "platform/win32.h"

// Makes the device for the show window and sets its mixing format to 44100 Hz, 16-bit stereo.
bool InitDirectSound(HWND window);
// Releases the device; every CdSound must have been destroyed first.
void ReleaseDirectSound();
// The device, or null before InitDirectSound and after ReleaseDirectSound.
IDirectSound8* GetDirectSound();

// A primary buffer carrying the device's mixing format; the caller releases it.
bool CreatePrimaryBuffer(IDirectSoundBuffer** primary);
// A PCM format record; false only for a null record.
bool MakeWaveFormat(WAVEFORMATEX* format, WORD channels, DWORD samplesPerSec, WORD bitsPerSample);

// The device's overall output level and balance, through its primary buffer.
bool GetMasterVolume(LONG* volume);
bool SetMasterVolume(LONG volume);
bool GetMasterPan(LONG* pan);
bool SetMasterPan(LONG pan);
