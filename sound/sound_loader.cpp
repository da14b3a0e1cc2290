#include "sound/sound_loader.h"

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
        MessageBoxA(nullptr, "Allocate buffer failed. : CLoade::AllocBuffer()", "Error", MB_OK);
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
    ShowError(std::string("File open error : ") + (fileName ? fileName : ""));
}

void CSoundLoader::ShowError(const std::string& text) {
    MessageBoxA(nullptr, text.c_str(), "Error", MB_OK);
}
