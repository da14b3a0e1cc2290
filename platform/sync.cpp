#include "platform/sync.h"

#include <condition_variable>
#include <cstdint>

namespace {

// A handle names a slot and the generation of the event that holds it, so a handle outlives
// its event harmlessly: once closed, it matches nothing.
constexpr std::uintptr_t kSlots = 64;
constexpr unsigned kSlotBits = 8;

struct Slot {
    std::uintptr_t generation = 0; // 0: free
    bool signalled = false;
};

// One lock and one condition for all events keeps waiting on several of them simple; the
// engine has two events and one waiter. Never destroyed: the show calls exit() while its
// stream worker waits, and destroying a condition variable that a thread waits on blocks
// until the waiter leaves.
struct Events {
    std::mutex mutex;
    std::condition_variable changed;
    Slot slots[kSlots];
    std::uintptr_t lastGeneration = 0;
};
Events& events() {
    static auto* e = new Events;
    return *e;
}

// The slot a live handle names; null for anything else. Under the events' mutex.
Slot* find(HANDLE h) {
    const auto value = reinterpret_cast<std::uintptr_t>(h);
    const std::uintptr_t index = (value & ((std::uintptr_t(1) << kSlotBits) - 1)) - 1;
    const std::uintptr_t generation = value >> kSlotBits;
    if (index >= kSlots || generation == 0) return nullptr;
    Slot& slot = events().slots[index];
    return slot.generation == generation ? &slot : nullptr;
}

} // namespace

HANDLE CreateEventA(void*, BOOL manualReset, BOOL initialState, const char* name) {
    if (manualReset || name) return nullptr;
    Events& e = events();
    std::lock_guard<std::mutex> lock(e.mutex);
    for (std::uintptr_t i = 0; i < kSlots; ++i) {
        Slot& slot = e.slots[i];
        if (slot.generation != 0) continue;
        // Generations only grow, so a closed handle never comes back to life.
        slot.generation = ++e.lastGeneration;
        slot.signalled = initialState != 0;
        return reinterpret_cast<HANDLE>(slot.generation << kSlotBits | (i + 1));
    }
    return nullptr;
}

BOOL SetEvent(HANDLE h) {
    Events& e = events();
    {
        std::lock_guard<std::mutex> lock(e.mutex);
        Slot* slot = find(h);
        if (!slot) return 0;
        slot->signalled = true;
    }
    e.changed.notify_all();
    return 1;
}

BOOL ResetEvent(HANDLE h) {
    std::lock_guard<std::mutex> lock(events().mutex);
    Slot* slot = find(h);
    if (!slot) return 0;
    slot->signalled = false;
    return 1;
}

BOOL CloseHandle(HANDLE h) {
    Events& e = events();
    {
        std::lock_guard<std::mutex> lock(e.mutex);
        Slot* slot = find(h);
        if (!slot) return 0;
        *slot = Slot{};
    }
    e.changed.notify_all(); // a wait on it ends, failed
    return 1;
}

DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD ms) {
    if (count == 0 || count > kSlots || !handles || waitAll || ms != INFINITE) return WAIT_FAILED;
    Events& e = events();
    std::unique_lock<std::mutex> lock(e.mutex);
    for (;;) {
        Slot* first = nullptr;
        DWORD index = 0;
        for (DWORD i = 0; i < count; ++i) {
            Slot* slot = find(handles[i]);
            if (!slot) return WAIT_FAILED;
            if (!first && slot->signalled) {
                first = slot;
                index = i;
            }
        }
        if (first) {
            first->signalled = false;
            return WAIT_OBJECT_0 + index;
        }
        e.changed.wait(lock);
    }
}

// The mutex lives in the record itself, so there is nothing to set up or tear down.
void InitializeCriticalSection(CRITICAL_SECTION*) {}
void DeleteCriticalSection(CRITICAL_SECTION*) {}
void EnterCriticalSection(CRITICAL_SECTION* section) {
    section->mutex.lock();
}
void LeaveCriticalSection(CRITICAL_SECTION* section) {
    section->mutex.unlock();
}
