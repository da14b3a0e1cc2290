// How every length and play position of a sound is counted.
#pragma once

#include "platform/win32.h"

// Bytes of sound over bytes per second, in whole milliseconds (truncated).
DWORD BytesToMilliseconds(DWORD bytes, DWORD bytesPerSecond);
