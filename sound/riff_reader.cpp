#include "sound/riff_reader.h"

#include "platform/regular_file.h"

#include <limits>

namespace {

DWORD le32(const BYTE* p) {
    return DWORD(p[0]) | DWORD(p[1]) << 8 | DWORD(p[2]) << 16 | DWORD(p[3]) << 24;
}

std::uint64_t padded(DWORD size) {
    return std::uint64_t(size) + (size & 1);
}

} // namespace

bool RiffReader::Open(const char* fileName) {
    Close();
    if (!fileName) return false;
    file_ = OpenRegularFile(fileName);
    if (!file_) return false;
    if (std::fseek(file_, 0, SEEK_END) != 0) {
        Close();
        return false;
    }
    const long end = std::ftell(file_);
    if (end < 0 || std::fseek(file_, 0, SEEK_SET) != 0) {
        Close();
        return false;
    }
    size_ = std::uint64_t(end);
    position_ = 0;
    return true;
}

void RiffReader::Close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    size_ = 0;
    position_ = 0;
}

bool RiffReader::ReadHeader(std::uint64_t at, DWORD* id, DWORD* size) {
    BYTE header[8];
    if (!Seek(at) || Read(header, 8) != 8) return false;
    *id = le32(header);
    *size = le32(header + 4);
    return true;
}

bool RiffReader::DescendRiff(RiffChunk* form, DWORD formType) {
    if (!file_ || !form) return false;
    std::uint64_t at = position_;
    while (at + 12 <= size_) {
        DWORD id, size;
        if (!ReadHeader(at, &id, &size)) return false;
        if (at + 8 + size > size_) return false; // claims more than the file holds
        BYTE type[4];
        if (id == MakeFourCC('R', 'I', 'F', 'F') && size >= 4 && Read(type, 4) == 4 &&
            le32(type) == formType) {
            form->ckid = id;
            form->cksize = size;
            form->fccType = formType;
            form->dwDataOffset = DWORD(at + 8);
            return true;
        }
        at += 8 + padded(size);
    }
    return false;
}

bool RiffReader::DescendChunk(RiffChunk* chunk, const RiffChunk& parent, DWORD id) {
    if (!file_ || !chunk) return false;
    const std::uint64_t end = std::uint64_t(parent.dwDataOffset) + parent.cksize;
    std::uint64_t at = position_;
    while (at + 8 <= end) {
        DWORD found, size;
        if (!ReadHeader(at, &found, &size)) return false;
        // Writers often state the form a few bytes short of its last chunk; the file, not
        // the form, bounds what a chunk may hold.
        if (at + 8 + size > size_) return false;
        if (found == id) {
            chunk->ckid = found;
            chunk->cksize = size;
            chunk->fccType = 0;
            chunk->dwDataOffset = DWORD(at + 8);
            return true;
        }
        at += 8 + padded(size);
    }
    return false;
}

bool RiffReader::Ascend(const RiffChunk& chunk) {
    return Seek(std::uint64_t(chunk.dwDataOffset) + padded(chunk.cksize));
}

long RiffReader::Read(void* destination, DWORD bytes) {
    if (!file_) return -1;
    const size_t got = std::fread(destination, 1, bytes, file_);
    if (got < bytes && std::ferror(file_)) {
        std::clearerr(file_);
        Seek(position_); // the stream's position is unknown after an error
        return -1;
    }
    position_ += got;
    return long(got);
}

bool RiffReader::Seek(std::uint64_t offset) {
    if (!file_ || offset > std::uint64_t(std::numeric_limits<long>::max())) return false;
    if (std::fseek(file_, long(offset), SEEK_SET) != 0) return false;
    position_ = offset;
    return true;
}
