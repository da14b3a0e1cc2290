// Threads in the manner of the C run-time's _beginthread, but joinable: an owner that must
// outlive its worker waits for it with JoinThread. The same on every platform: the C run-time's
// own _beginthread gives a handle that cannot be waited on.
#pragma once

#include <cstdint>

constexpr std::uintptr_t kNoThread = ~std::uintptr_t(0);

// Runs start(arg) on a new thread; gives kNoThread when no thread can be made. Every other
// result must go to JoinThread once.
std::uintptr_t StartThread(void (*start)(void*), void* arg);

// Waits until the thread has returned from its start routine, then frees the handle.
void JoinThread(std::uintptr_t thread);
