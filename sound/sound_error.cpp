#include "sound/sound_error.h"

#include "platform/message.h"

void ShowSoundError(const char* text) {
    ShowMessage("Error", text);
}
