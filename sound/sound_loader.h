// The decoder interface behind CdSound: a loader opens one file, describes its PCM sound and
// delivers it block by block into a decode buffer of its own, from a position that can be set.
#pragma once

#include "platform/waveformat.h"
#include "platform/win32.h"

#include <string>

class CSoundLoader {
  public:
    CSoundLoader();
    virtual ~CSoundLoader();
    CSoundLoader(const CSoundLoader&) = delete;
    CSoundLoader& operator=(const CSoundLoader&) = delete;

    // The data size in bytes; -2 when the file is not of this loader's kind; -3 when it cannot
    // be opened at all, or is of this kind but cannot be played, after a message saying so.
    virtual int Open(const char* fileName);
    virtual void Close();
    // Up to dwSize bytes (0, or more than the decode buffer: one whole decode buffer) into the
    // start of the decode buffer; the count, 0 at the end, negative on an error.
    virtual int Read(DWORD dwSize);
    // Moves to a byte of the PCM data; the position on success, -1 on failure.
    virtual int Seek(LONG position);

    // Resizes the decode buffer to exactly dwSize bytes.
    bool AllocBuffer(DWORD dwSize);

    BYTE* GetBuffer() const { return pBuffer; }
    WORD GetNumChannels() const { return wfx.nChannels; }
    DWORD GetSamplesPerSec() const { return wfx.nSamplesPerSec; }
    DWORD GetAvgBytesPerSec() const { return wfx.nAvgBytesPerSec; }
    WORD GetBitsPerSample() const { return wfx.wBitsPerSample; }
    DWORD GetDataSize() const { return dwDataSize; }
    DWORD GetBufferSize() const { return dwBufferSize; }

  protected:
    // The block size Read works with for a requested size.
    DWORD BlockSize(DWORD dwSize) const;
    // Shows "File open error : " with the whole name, however long it is.
    static void ShowFileOpenError(const char* fileName);

    BYTE* pBuffer;
    WAVEFORMATEX wfx;
    DWORD dwDataSize;
    DWORD dwBufferSize;
    DWORD dwDataOffset;
    DWORD dwReadPos;
};
