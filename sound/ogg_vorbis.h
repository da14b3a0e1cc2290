// The loader for Ogg Vorbis files: the stream decoded by libvorbisfile into 16-bit signed
// little-endian PCM with the stream's own channel count and rate. The file is read whole and
// its pages checked before the decoder sees them (sound/ogg_layout.h tells why).
#pragma once

#include "sound/ogg_source.h"
#include "sound/sound_loader.h"

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
    // Not Ogg Vorbis: -2, without a word. Ogg Vorbis that cannot be played, once the user has
    // been told why: -3.
    int Refuse();
    int RefuseSaid();
    void ReleaseDecoder();

    OggSource source;  // the file's bytes, which vf reads
    bool bDecoder;     // vf holds a decoder
    OggVorbis_File vf; // valid while bDecoder is set
};
