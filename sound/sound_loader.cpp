#include "sound/sound_loader.h"

#include "sound/sound_error.h"

#include <cstdlib>
#include <string>

CSoundLoader::CSoundLoader()
    : pBuffer(nullptr), wfx{}, dwDataSize(0), dwBufferSize(0), dwDataOffset(0), dwReadPos(0) {}

CSoundLoader::~CSoundLoader() {
    CSoundLoader::Close();
}

int CSoundLoader::Open(const char*) {
    return 0;
}

void CSoundLoader::Close() {
    std::free(pBuffer);
    pBuffer = nullptr;
    wfx = WAVEFORMATEX{};
    dwDataSize = 0;
    dwBufferSize = 0;
    dwDataOffset = 0;
    dwReadPos = 0;
}

int CSoundLoader::Read(DWORD) {
    return 0;
}

int CSoundLoader::Seek(LONG) {
    return 0;
}

bool CSoundLoader::AllocBuffer(DWORD dwSize) {
    // realloc of 0 bytes may free and give null; keep a real block so null means failure.
    void* grown = std::realloc(pBuffer, dwSize ? dwSize : 1);
    if (!grown) {
        std::free(pBuffer);
        pBuffer = nullptr;
        dwBufferSize = 0;
        ShowSoundError("Allocate buffer failed. : CLoade::AllocBuffer()");
        return false;
    }
    pBuffer = static_cast<BYTE*>(grown);
    dwBufferSize = dwSize;
    return true;
}

DWORD CSoundLoader::BlockSize(DWORD dwSize) const {
    return dwSize == 0 || dwSize > dwBufferSize ? dwBufferSize : dwSize;
}

void CSoundLoader::ShowFileOpenError(const char* fileName) {
    ShowSoundError((std::string("File open error : ") + (fileName ? fileName : "")).c_str());
}
