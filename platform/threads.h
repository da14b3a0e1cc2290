// Threads in the manner of the C run-time's _beginthread, but joinable: an owner that must
// outlive its worker waits for it with JoinThread.
#pragma once

#include <cstdint>

constexpr std::uintptr_t kNoThread = ~std::uintptr_t(0);

// Runs start(arg) on a new thread; gives kNoThread when no thread can be made. The stack
// size is the system's whatever is asked. Every other result must go to JoinThread once.
std::uintptr_t _beginthread(void (*start)(void*), unsigned stackSize, void* arg);

// Waits until the thread has returned from its start routine, then frees the handle.
void JoinThread(std::uintptr_t thread);
