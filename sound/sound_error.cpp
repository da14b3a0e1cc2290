#include "sound/sound_error.h"

#include "platform/win32.h"

void ShowSoundError(const char* text) {
    MessageBoxA(nullptr, text, "Error", MB_OK);
}
