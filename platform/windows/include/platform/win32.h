// On Windows the show's logic runs on the real Win32 services. This folder comes before the
// Linux stand-ins of the same names on the include path (platform/CMakeLists.txt).
#pragma once

#include <windows.h>
