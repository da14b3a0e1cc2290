// Win32 events, waits and critical sections over the C++ standard library.
#pragma once

#include "platform/win32.h"

#include <mutex>

constexpr DWORD INFINITE = 0xFFFFFFFF;
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_TIMEOUT = 0x102;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;
constexpr DWORD MAXIMUM_WAIT_OBJECTS = 64;

// Unnamed events only: a name gives null. Security attributes are ignored.
HANDLE CreateEventA(void* security, BOOL manualReset, BOOL initialState, const char* name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);
// Frees an event; nobody may be waiting on it or signal it afterwards.
BOOL CloseHandle(HANDLE event);

// Waits for any (or all) of the events; an auto-reset event that ends the wait is reset by it.
// Gives WAIT_OBJECT_0 + index, WAIT_TIMEOUT, or WAIT_FAILED for a null or closed handle.
DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds);
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);

// Recursive, like its Win32 namesake.
struct CRITICAL_SECTION {
    std::recursive_mutex mutex;
};

void InitializeCriticalSection(CRITICAL_SECTION* section);
void DeleteCriticalSection(CRITICAL_SECTION* section);
void EnterCriticalSection(CRITICAL_SECTION* section);
void LeaveCriticalSection(CRITICAL_SECTION* section);

// Holds a critical section for the life of a scope, so no exit path can leave it held.
class CriticalSectionGuard {
  public:
    explicit CriticalSectionGuard(CRITICAL_SECTION* section) : section_(section) {
        EnterCriticalSection(section_);
    }
    ~CriticalSectionGuard() { LeaveCriticalSection(section_); }
    CriticalSectionGuard(const CriticalSectionGuard&) = delete;
    CriticalSectionGuard& operator=(const CriticalSectionGuard&) = delete;

  private:
    CRITICAL_SECTION* section_;
};
