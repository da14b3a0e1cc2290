// The real events, waits and critical sections.
#pragma once

#include <windows.h>
