// A critical section held for the life of a scope, on whichever platform's sync.h is in use.
#pragma once

#include "platform/sync.h"

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
