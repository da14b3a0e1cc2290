// The one process-wide sound device.
#pragma once

#include "platform/win32.h"

bool InitDirectSound(HWND window);
void ReleaseDirectSound();
