#include "sound/riff_reader.h"

#include "platform/regular_file.h"

#include <limits>

namespace {

DWORD Le32(const BYTE* p) {
    return DWORD(p[0]) | DWORD(p[1]) << 8 | DWORD(p[2]) << 16 | DWORD(p[3]) << 24;
}

std::uint64_t Padded(DWORD size) {
    return std::uint64_t(size) + (size & 1);
}

} // namespace

bool RiffReader::Open(const char* fileName) {
    Close();
    if (!fileName) return false;
    pFile = OpenRegularFile(fileName);
    if (!pFile) return false;
    if (std::fseek(pFile, 0, SEEK_END) != 0) {
        Close();
        return false;
    }
    const long end = std::ftell(pFile);
    if (end < 0 || std::fseek(pFile, 0, SEEK_SET) != 0) {
        Close();
        return false;
    }
    qwSize = std::uint64_t(end);
    qwPosition = 0;
    return true;
}

void RiffReader::Close() {
    if (pFile) std::fclose(pFile);
    pFile = nullptr;
    qwSize = 0;
    qwPosition = 0;
}

bool RiffReader::ReadHeader(std::uint64_t at, DWORD* id, DWORD* size) {
    BYTE header[8];
    if (!Seek(at) || Read(header, 8) != 8) return false;
    *id = Le32(header);
    *size = Le32(header + 4);
    return true;
}

bool RiffReader::DescendRiff(RiffChunk* form, DWORD formType) {
    if (!pFile || !form) return false;
    std::uint64_t at = qwPosition;
    while (at + 12 <= qwSize) {
        DWORD id, size;
        if (!ReadHeader(at, &id, &size)) return false;
        if (at + 8 + size > qwSize) return false; // claims more than the file holds
        BYTE type[4];
        if (id == MakeFourCC('R', 'I', 'F', 'F') && size >= 4 && Read(type, 4) == 4 &&
            Le32(type) == formType) {
            form->ckid = id;
            form->cksize = size;
            form->fccType = formType;
            form->dwDataOffset = DWORD(at + 8);
            return true;
        }
        at += 8 + Padded(size);
    }
    return false;
}

bool RiffReader::DescendChunk(RiffChunk* chunk, const RiffChunk& parent, DWORD id) {
    if (!pFile || !chunk) return false;
    const std::uint64_t end = std::uint64_t(parent.dwDataOffset) + parent.cksize;
    std::uint64_t at = qwPosition;
    while (at + 8 <= end) {
        DWORD found, size;
        if (!ReadHeader(at, &found, &size)) return false;
        // Writers often state the form a few bytes short of its last chunk; the file, not
        // the form, bounds what a chunk may hold.
        if (at + 8 + size > qwSize) return false;
        if (found == id) {
            chunk->ckid = found;
            chunk->cksize = size;
            chunk->fccType = 0;
            chunk->dwDataOffset = DWORD(at + 8);
            return true;
        }
        at += 8 + Padded(size);
    }
    return false;
}

bool RiffReader::Ascend(const RiffChunk& chunk) {
    return Seek(std::uint64_t(chunk.dwDataOffset) + Padded(chunk.cksize));
}

long RiffReader::Read(void* destination, DWORD bytes) {
    if (!pFile) return -1;
    const size_t got = std::fread(destination, 1, bytes, pFile);
    if (got < bytes && std::ferror(pFile)) {
        std::clearerr(pFile);
        Seek(qwPosition); // the stream's position is unknown after an error
        return -1;
    }
    qwPosition += got;
    return long(got);
}

bool RiffReader::Seek(std::uint64_t offset) {
    if (!pFile || offset > std::uint64_t(std::numeric_limits<long>::max())) return false;
    if (std::fseek(pFile, long(offset), SEEK_SET) != 0) return false;
    qwPosition = offset;
    return true;
}
