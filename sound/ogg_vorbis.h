// The loader for Ogg Vorbis files: the stream decoded by libvorbisfile into 16-bit signed
// little-endian PCM with the stream's own channel count and rate.
#pragma once

#include "sound/sound_loader.h"

#include <cstdio>
#include <vorbis/vorbisfile.h>

class COggVorbis : public CSoundLoader {
  public:
    COggVorbis();
    ~COggVorbis() override;

    int Open(const char* fileName) override;
    void Close() override;
    int Read(DWORD dwSize) override;
    // Seeks to the sample frame holding the byte; gives the position asked for.
    int Seek(LONG position) override;

  private:
    int Refuse();

    FILE* pFile;       // owned by vf once ov_open has taken it
    OggVorbis_File vf; // valid while pFile is set
};
