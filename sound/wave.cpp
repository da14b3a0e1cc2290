#include "sound/wave.h"

#include "sound/sound_error.h"
#include "sound/wave_format.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

CWave::~CWave() {
    riff.Close();
}

int CWave::Open(const char* fileName) {
    Close();
    if (!riff.Open(fileName)) {
        ShowFileOpenError(fileName);
        return -3;
    }
    RiffChunk form, format, data;
    if (!riff.DescendRiff(&form, MakeFourCC('W', 'A', 'V', 'E'))) return Refuse();
    if (!riff.DescendChunk(&format, form, MakeFourCC('f', 'm', 't', ' '))) return Refuse();
    // The record and, for WAVE_FORMAT_EXTENSIBLE, its sub-format; Ascend skips anything more.
    BYTE stored[40] = {};
    const DWORD wanted = std::min<DWORD>(format.cksize, sizeof stored);
    if (riff.Read(stored, wanted) != long(wanted)) return Refuse();
    if (!riff.Ascend(format)) return Refuse();
    WAVEFORMATEX pcm{};
    std::string why;
    switch (ReadWaveFormat(stored, wanted, &pcm, &why)) {
    case WaveFormatCheck::Playable:
        break;
    case WaveFormatCheck::NotPcm:
        return Refuse();
    case WaveFormatCheck::Unplayable:
        riff.Close();
        ShowSoundError((std::string("Cannot play ") + fileName + ": " + why + ".").c_str());
        return -3;
    }
    if (!riff.DescendChunk(&data, form, MakeFourCC('d', 'a', 't', 'a'))) return Refuse();
    // Open reports the size as an int.
    if (data.cksize > DWORD(INT_MAX)) return Refuse();

    wfx = pcm;
    dwDataOffset = DWORD(riff.Tell());
    dwDataSize = data.cksize - data.cksize % pcm.nBlockAlign; // whole frames only
    dwReadPos = 0;
    return int(dwDataSize);
}

int CWave::Refuse() {
    riff.Close();
    return -2;
}

void CWave::Close() {
    CSoundLoader::Close();
    riff.Close();
}

int CWave::Read(DWORD dwSize) {
    if (dwReadPos == dwDataSize) return 0;
    if (!pBuffer || !riff.IsOpen()) return -1;
    std::memset(pBuffer, 0, dwBufferSize);
    const DWORD count = std::min(BlockSize(dwSize), dwDataSize - dwReadPos);
    const long got = riff.Read(pBuffer, count);
    if (got < 0) return -1; // the position stays where it was
    dwReadPos += DWORD(got);
    return int(got);
}

int CWave::Seek(LONG position) {
    if (position < 0)
        dwReadPos = 0;
    else
        dwReadPos = std::min(DWORD(position), dwDataSize);
    riff.Seek(std::uint64_t(dwDataOffset) + dwReadPos);
    return int(dwReadPos);
}
