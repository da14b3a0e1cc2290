// An Ogg file held whole in memory and read by vorbisfile through callbacks: the bytes the
// layout check passed are the bytes decoded, whatever happens to the file afterwards, and the
// stream worker decodes without touching the disk.
#pragma once

#include <cstdio>
#include <vector>
#include <vorbis/vorbisfile.h>

class OggSource {
  public:
    // Larger files are refused rather than held: hours of music at any Vorbis bit rate fit.
    static constexpr std::size_t kLimit = std::size_t(256) << 20;

    // Reads the rest of the file; false on a read error or past the limit.
    bool Load(std::FILE* file);
    void Clear();
    const unsigned char* Data() const { return bytes.data(); }
    std::size_t Size() const { return bytes.size(); }
    // Callbacks for ov_open_callbacks with this source as the data source; nothing to close.
    static ov_callbacks Callbacks();

  private:
    static size_t ReadBytes(void* to, size_t size, size_t count, void* source);
    static int SeekTo(void* source, ogg_int64_t offset, int whence);
    static long Tell(void* source);

    std::vector<unsigned char> bytes;
    std::size_t nPosition = 0;
};
