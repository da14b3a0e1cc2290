// The real PCM format record; packed as in the RIFF "fmt " chunk, as the readers expect.
#pragma once

#include <windows.h>
#include <mmsystem.h>

static_assert(sizeof(WAVEFORMATEX) == 18, "the record must match the file's layout");
