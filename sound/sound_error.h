// How the sound code tells the user what went wrong: one modal box, captioned "Error".
#pragma once

void ShowSoundError(const char* text);
