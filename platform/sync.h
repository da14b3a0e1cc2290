// Win32 events, a wait for any of them, and critical sections over the C++ standard library:
// what the stream worker and its owner call.
//
// Not here: named or manual-reset events, waiting for all of several events, time-outs, and
// more than 64 events alive at once (CreateEventA then gives null).
#pragma once

#include "platform/win32.h"

#include <mutex>

constexpr DWORD INFINITE = 0xFFFFFFFF;
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;

// An auto-reset event: it ends one wait, then is clear again. Null for a manual-reset or named
// event. Security attributes are ignored.
HANDLE CreateEventA(void* security, BOOL manualReset, BOOL initialState, const char* name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);
// A closed handle stays safe to pass anywhere: waits on it give WAIT_FAILED (a wait under way
// too), everything else FALSE.
BOOL CloseHandle(HANDLE event);

// Waits with no time-out (INFINITE) for any of the events (waitAll FALSE) and clears the first
// signalled one, which it reports as WAIT_OBJECT_0 + its index. WAIT_FAILED for a null, closed
// or unknown handle, and for a time-out or waitAll.
DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds);

// Recursive, like its Win32 namesake.
struct CRITICAL_SECTION {
    std::recursive_mutex mutex;
};

void InitializeCriticalSection(CRITICAL_SECTION* section);
void DeleteCriticalSection(CRITICAL_SECTION* section);
void EnterCriticalSection(CRITICAL_SECTION* section);
void LeaveCriticalSection(CRITICAL_SECTION* section);
