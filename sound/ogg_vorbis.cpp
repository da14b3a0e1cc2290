#include "sound/ogg_vorbis.h"

#include <algorithm>
#include <climits>
#include <cstring>

COggVorbis::COggVorbis() : pFile(nullptr) {
    std::memset(&vf, 0, sizeof vf);
}

COggVorbis::~COggVorbis() {
    if (pFile) ov_clear(&vf);
}

int COggVorbis::Open(const char* fileName) {
    Close();
    pFile = fileName ? std::fopen(fileName, "rb") : nullptr;
    if (!pFile) {
        ShowFileOpenError(fileName);
        return -3;
    }
    if (ov_open(pFile, &vf, nullptr, 0) < 0) {
        std::fclose(pFile);
        pFile = nullptr;
        return -2;
    }
    if (!ov_seekable(&vf)) return Refuse();
    const vorbis_info* info = ov_info(&vf, -1);
    const ogg_int64_t frames = ov_pcm_total(&vf, -1);
    if (!info || info->channels < 1 || info->channels > 255 || frames < 0) return Refuse();

    wfx.wFormatTag = WAVE_FORMAT_PCM;
    wfx.nChannels = WORD(info->channels);
    wfx.nSamplesPerSec = DWORD(info->rate);
    wfx.wBitsPerSample = 16;
    wfx.nBlockAlign = WORD(wfx.nChannels * 2);
    wfx.nAvgBytesPerSec = wfx.nBlockAlign * wfx.nSamplesPerSec;
    wfx.cbSize = 18;
    // Open reports the size as an int: longer streams are refused rather than wrapped.
    if (std::uint64_t(frames) * wfx.nBlockAlign > std::uint64_t(INT_MAX)) return Refuse();
    dwDataSize = DWORD(frames) * wfx.nBlockAlign;
    return int(dwDataSize);
}

// A stream that was opened but cannot serve: the decoder closes the file with itself.
int COggVorbis::Refuse() {
    ov_clear(&vf);
    pFile = nullptr;
    CSoundLoader::Close();
    return -2;
}

void COggVorbis::Close() {
    CSoundLoader::Close();
    if (pFile) ov_clear(&vf);
    pFile = nullptr;
}

int COggVorbis::Read(DWORD dwSize) {
    if (!pFile || !pBuffer) return -1;
    DWORD wanted = BlockSize(dwSize);
    DWORD delivered = 0;
    while (wanted > 0) {
        int stream = 0;
        const long got = ov_read(&vf, reinterpret_cast<char*>(pBuffer) + delivered,
                                 int(std::min<DWORD>(wanted, INT_MAX)), 0, 2, 1, &stream);
        if (got == 0) break;
        if (got < 0) {
            MessageBoxA(nullptr, "Ogg vorbis decoede error.", "Error", MB_OK);
            return -1;
        }
        delivered += DWORD(got);
        wanted -= DWORD(got);
    }
    return int(delivered);
}

int COggVorbis::Seek(LONG position) {
    if (!pFile) return -1;
    const LONG align = wfx.nBlockAlign;
    const ogg_int64_t last = dwDataSize / DWORD(align);
    const ogg_int64_t frame = std::clamp<ogg_int64_t>(position / align, 0, last);
    if (ov_pcm_seek(&vf, frame) != 0) {
        MessageBoxA(nullptr, "Ogg vorbis seek error.", "Error", MB_OK);
        return -1;
    }
    return position;
}
