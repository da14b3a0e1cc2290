// The loader for uncompressed PCM in RIFF WAVE files: the stored sample bytes, as they are.
#pragma once

#include "sound/riff_reader.h"
#include "sound/sound_loader.h"

class CWave : public CSoundLoader {
  public:
    CWave() = default;
    ~CWave() override;

    int Open(const char* fileName) override;
    void Close() override;
    int Read(DWORD dwSize) override;
    // Clamps to 0 .. the data size; gives the new position.
    int Seek(LONG position) override;

  private:
    int Refuse();

    RiffReader riff;
};
