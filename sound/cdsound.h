// One sound file played through one secondary buffer; the show's clock comes from it.
#pragma once

#include "platform/win32.h"

class CdSound {
  public:
    CdSound();
    ~CdSound();
    bool Open(const char* fileName);
    DWORD GetTotalTime();
    void Play();
    bool GetPlayTime(DWORD* milliseconds);
    void Cleanup();
};
