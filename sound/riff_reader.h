// Reads RIFF files chunk by chunk, as the WAVE loader needs: find a form or a chunk and stand
// at its contents, read, step out past a chunk, seek, close. Chunk sizes are checked against
// their parent and the file, so a damaged size is refused instead of trusted.
#pragma once

#include "platform/win32.h"

#include <cstdint>
#include <cstdio>

constexpr DWORD MakeFourCC(char a, char b, char c, char d) {
    return DWORD(BYTE(a)) | DWORD(BYTE(b)) << 8 | DWORD(BYTE(c)) << 16 | DWORD(BYTE(d)) << 24;
}

struct RiffChunk {
    DWORD ckid = 0;
    DWORD cksize = 0;
    DWORD fccType = 0;      // form type, for a RIFF form
    DWORD dwDataOffset = 0; // file offset of the contents (of the form type, for a form)
};

class RiffReader {
  public:
    RiffReader() = default;
    ~RiffReader() { Close(); }
    RiffReader(const RiffReader&) = delete;
    RiffReader& operator=(const RiffReader&) = delete;

    bool Open(const char* fileName);
    void Close();
    bool IsOpen() const { return pFile != nullptr; }

    // From the current position, the first RIFF form of the given type; the file then stands
    // just after the form type.
    bool DescendRiff(RiffChunk* form, DWORD formType);
    // From the current position, the first chunk with the given id inside parent; the file
    // then stands at its contents.
    bool DescendChunk(RiffChunk* chunk, const RiffChunk& parent, DWORD id);
    // Steps past the end of the chunk and its pad byte.
    bool Ascend(const RiffChunk& chunk);

    // Bytes read, fewer at the end of the file, -1 on an error.
    long Read(void* destination, DWORD bytes);
    bool Seek(std::uint64_t offset);
    // The logical position: the next byte Read gives.
    std::uint64_t Tell() const { return qwPosition; }

  private:
    bool ReadHeader(std::uint64_t at, DWORD* id, DWORD* size);

    std::FILE* pFile = nullptr;
    std::uint64_t qwSize = 0;
    std::uint64_t qwPosition = 0;
};
