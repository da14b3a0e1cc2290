#include "platform/sync.h"

#include <chrono>
#include <condition_variable>

namespace {

constexpr std::uint32_t kEventTag = 0x4B564556; // marks a live event

struct Event {
    std::uint32_t tag = kEventTag;
    bool manualReset = false;
    bool signalled = false;
};

// One lock and one condition for all events keeps waiting on several of them simple; the
// engine has only a handful of events and one waiter. Both are never destroyed: the show
// calls exit() while its stream worker waits, and destroying a condition variable that a
// thread waits on blocks until the waiter leaves.
std::mutex& eventsMutex() {
    static auto* m = new std::mutex;
    return *m;
}
std::condition_variable& eventsChanged() {
    static auto* cv = new std::condition_variable;
    return *cv;
}

Event* asEvent(HANDLE h) {
    auto* e = static_cast<Event*>(h);
    return e && e->tag == kEventTag ? e : nullptr;
}

} // namespace

HANDLE CreateEventA(void*, BOOL manualReset, BOOL initialState, const char* name) {
    if (name) return nullptr;
    auto* e = new Event;
    e->manualReset = manualReset != 0;
    e->signalled = initialState != 0;
    return e;
}

BOOL SetEvent(HANDLE h) {
    {
        std::lock_guard<std::mutex> lock(eventsMutex());
        Event* e = asEvent(h);
        if (!e) return 0;
        e->signalled = true;
    }
    eventsChanged().notify_all();
    return 1;
}

BOOL ResetEvent(HANDLE h) {
    std::lock_guard<std::mutex> lock(eventsMutex());
    Event* e = asEvent(h);
    if (!e) return 0;
    e->signalled = false;
    return 1;
}

BOOL CloseHandle(HANDLE h) {
    std::lock_guard<std::mutex> lock(eventsMutex());
    Event* e = asEvent(h);
    if (!e) return 0;
    e->tag = 0;
    delete e;
    return 1;
}

DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD ms) {
    if (count == 0 || count > MAXIMUM_WAIT_OBJECTS || !handles) return WAIT_FAILED;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    std::unique_lock<std::mutex> lock(eventsMutex());
    for (;;) {
        DWORD ready = 0, first = count;
        for (DWORD i = 0; i < count; ++i) {
            Event* e = asEvent(handles[i]);
            if (!e) return WAIT_FAILED;
            if (e->signalled) {
                ++ready;
                if (first == count) first = i;
            }
        }
        if (waitAll ? ready == count : ready > 0) {
            for (DWORD i = 0; i < count; ++i) {
                Event* e = asEvent(handles[i]);
                if (!e->manualReset && (waitAll || i == first)) e->signalled = false;
            }
            return WAIT_OBJECT_0 + (waitAll ? 0 : first);
        }
        if (ms == INFINITE)
            eventsChanged().wait(lock);
        else if (eventsChanged().wait_until(lock, deadline) == std::cv_status::timeout &&
                 std::chrono::steady_clock::now() >= deadline)
            return WAIT_TIMEOUT;
    }
}

DWORD WaitForSingleObject(HANDLE h, DWORD ms) {
    return WaitForMultipleObjects(1, &h, 0, ms);
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
