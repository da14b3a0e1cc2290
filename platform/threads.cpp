#include "platform/threads.h"

#include <thread>

std::uintptr_t StartThread(void (*start)(void*), void* arg) {
    if (!start) return kNoThread;
    try {
        return reinterpret_cast<std::uintptr_t>(new std::thread(start, arg));
    } catch (...) {
        return kNoThread;
    }
}

void JoinThread(std::uintptr_t thread) {
    if (thread == kNoThread || thread == 0) return;
    auto* t = reinterpret_cast<std::thread*>(thread);
    if (t->joinable()) t->join();
    delete t;
}
