#include "sound/ogg_source.h"

#include <algorithm>
#include <cstring>

bool OggSource::Load(std::FILE* file) {
    Clear();
    unsigned char chunk[1 << 16];
    for (;;) {
        const size_t got = std::fread(chunk, 1, sizeof chunk, file);
        if (bytes.size() + got > kLimit) break;
        bytes.insert(bytes.end(), chunk, chunk + got);
        if (got < sizeof chunk) return !std::ferror(file);
    }
    Clear();
    return false;
}

void OggSource::Clear() {
    std::vector<unsigned char>().swap(bytes);
    nPosition = 0;
}

ov_callbacks OggSource::Callbacks() {
    return ov_callbacks{ReadBytes, SeekTo, nullptr, Tell};
}

size_t OggSource::ReadBytes(void* to, size_t size, size_t count, void* source) {
    OggSource& s = *static_cast<OggSource*>(source);
    if (size == 0) return 0;
    const size_t items = std::min(count, (s.bytes.size() - s.nPosition) / size);
    std::memcpy(to, s.bytes.data() + s.nPosition, items * size);
    s.nPosition += items * size;
    return items;
}

int OggSource::SeekTo(void* source, ogg_int64_t offset, int whence) {
    OggSource& s = *static_cast<OggSource*>(source);
    const ogg_int64_t base = whence == SEEK_SET   ? 0
                             : whence == SEEK_CUR ? ogg_int64_t(s.nPosition)
                             : whence == SEEK_END ? ogg_int64_t(s.bytes.size())
                                                  : -1;
    if (base < 0 || offset < -base || offset > ogg_int64_t(s.bytes.size()) - base) return -1;
    s.nPosition = size_t(base + offset);
    return 0;
}

long OggSource::Tell(void* source) {
    return long(static_cast<OggSource*>(source)->nPosition);
}
