#include "tools/capture/music_stretch.h"

#include "sound/sound_file.h"
#include "sound/sound_loader.h"
#include "tools/capture/write_all.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <memory>
#include <sys/mman.h>
#include <unistd.h>

namespace {

struct LoaderCloser {
    void operator()(CSoundLoader* loader) const {
        loader->Close();
        delete loader;
    }
};

const char* pcmFormat(int bits) {
    switch (bits) {
    case 8:
        return "u8";
    case 16:
        return "s16le";
    case 24:
        return "s24le";
    case 32:
        return "s32le";
    }
    return nullptr;
}

} // namespace

MusicStretch::~MusicStretch() {
    if (fd_ >= 0) close(fd_);
}

bool MusicStretch::decode(const std::string& path, double start, double duration,
                          std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) *error = "cannot decode the music of " + path + ": " + why;
        return false;
    };
    const std::unique_ptr<CSoundLoader, LoaderCloser> music(OpenSoundFile(path.c_str()));
    if (!music) return fail("the show's loader refuses it");
    const int bits = music->GetBitsPerSample();
    const int channels = music->GetNumChannels();
    const int rate = int(music->GetSamplesPerSec());
    const size_t frameBytes = size_t(channels) * size_t(bits / 8);
    if (!pcmFormat(bits) || frameBytes == 0 || rate <= 0)
        return fail(std::to_string(bits) + "-bit samples");
    // Whole sample frames, each stretch starting where the one before it ends.
    const int64_t total = int64_t(music->GetDataSize() / frameBytes);
    const int64_t first = std::min(total, int64_t(std::llround(start * rate)));
    const int64_t end = std::min(total, int64_t(std::llround((start + duration) * rate)));
    fd_ = memfd_create("kelvaster-capture-music", MFD_CLOEXEC);
    if (fd_ < 0) return fail(std::string("no memory file: ") + std::strerror(errno));
    format_ = pcmFormat(bits);
    rate_ = rate;
    channels_ = channels;
    if (first >= end) return true;
    if (music->Seek(LONG(first * int64_t(frameBytes))) < 0) return fail("it cannot be searched");
    const size_t block = size_t(rate) * frameBytes; // a second at a time
    if (!music->AllocBuffer(DWORD(block))) return fail("no memory to decode it");
    size_t left = size_t(end - first) * frameBytes;
    while (left > 0) {
        const int got = music->Read(DWORD(std::min(left, block)));
        if (got < 0) return fail("it is damaged");
        if (got == 0) break;
        const size_t n = std::min(left, size_t(got));
        if (!writeAll(fd_, music->GetBuffer(), n))
            return fail(std::string("cannot hold it: ") + std::strerror(errno));
        left -= n;
    }
    return true;
}
