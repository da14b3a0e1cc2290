// Placeholder until the streaming engine lands: no device, and no file ever opens.
#include "sound/cdsound.h"
#include "sound/dsound_device.h"

bool InitDirectSound(HWND) { return true; }
void ReleaseDirectSound() {}

CdSound::CdSound() = default;
CdSound::~CdSound() = default;
bool CdSound::Open(const char*) { return false; }
DWORD CdSound::GetTotalTime() { return 0; }
void CdSound::Play() {}
bool CdSound::GetPlayTime(DWORD*) { return false; }
void CdSound::Cleanup() {}
