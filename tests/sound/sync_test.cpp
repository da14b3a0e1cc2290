// The Win32 events, waits and threads the engine runs on.
#include "platform/section_guard.h"
#include "platform/sync.h"
#include "platform/threads.h"
#include "sound_test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <unistd.h>

TEST(Events, AnEventEndsOneWaitThenIsClear) {
    HANDLE e = CreateEventA(nullptr, 0, 1, nullptr);
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(Signalled(e)) << "created signalled";
    EXPECT_FALSE(Signalled(e)) << "auto-reset";
    SetEvent(e);
    SetEvent(e);
    EXPECT_TRUE(Signalled(e));
    EXPECT_FALSE(Signalled(e)) << "two signals, one wake";
    SetEvent(e);
    ResetEvent(e);
    EXPECT_FALSE(Signalled(e));
    CloseHandle(e);
}

TEST(Events, AWaitGivesTheFirstSignalledAndClearsOnlyIt) {
    HANDLE e[2] = {CreateEventA(nullptr, 0, 0, nullptr), CreateEventA(nullptr, 0, 0, nullptr)};
    SetEvent(e[1]);
    EXPECT_EQ(WaitForMultipleObjects(2, e, 0, INFINITE), WAIT_OBJECT_0 + 1);
    SetEvent(e[0]);
    SetEvent(e[1]);
    EXPECT_EQ(WaitForMultipleObjects(2, e, 0, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForMultipleObjects(2, e, 0, INFINITE), WAIT_OBJECT_0 + 1);
    CloseHandle(e[0]);
    CloseHandle(e[1]);
}

TEST(Events, WhatTheEngineNeverAsksForIsRefused) {
    EXPECT_EQ(CreateEventA(nullptr, 1, 0, nullptr), nullptr) << "manual reset";
    EXPECT_EQ(CreateEventA(nullptr, 0, 0, "named"), nullptr);
    HANDLE e = CreateEventA(nullptr, 0, 1, nullptr);
    EXPECT_EQ(WaitForMultipleObjects(1, &e, 1, INFINITE), WAIT_FAILED) << "wait for all";
    EXPECT_EQ(WaitForMultipleObjects(1, &e, 0, 10), WAIT_FAILED) << "a time-out";
    EXPECT_EQ(WaitForMultipleObjects(0, &e, 0, INFINITE), WAIT_FAILED);
    const HANDLE withNull[2] = {e, nullptr};
    EXPECT_EQ(WaitForMultipleObjects(2, withNull, 0, INFINITE), WAIT_FAILED);
    EXPECT_TRUE(Signalled(e)) << "a refused wait takes nothing";
    CloseHandle(e);
}

// A closed handle used to name freed memory; it must fail, never read what is gone, and never
// reach an event made after it in the same place.
TEST(Events, AClosedHandleFailsEverywhere) {
    HANDLE e = CreateEventA(nullptr, 0, 1, nullptr);
    ASSERT_EQ(CloseHandle(e), 1);
    EXPECT_EQ(WaitForMultipleObjects(1, &e, 0, INFINITE), WAIT_FAILED);
    EXPECT_EQ(SetEvent(e), 0);
    EXPECT_EQ(ResetEvent(e), 0);
    EXPECT_EQ(CloseHandle(e), 0);

    HANDLE later = CreateEventA(nullptr, 0, 0, nullptr);
    ASSERT_NE(later, nullptr);
    EXPECT_NE(later, e);
    EXPECT_EQ(SetEvent(e), 0);
    EXPECT_FALSE(Signalled(later)) << "the old handle reached the new event";
    EXPECT_EQ(CloseHandle(reinterpret_cast<HANDLE>(0x4500)), 0) << "names no slot";
    CloseHandle(later);

    // Closed while a thread waits on it: that wait fails instead of hanging.
    HANDLE waited = CreateEventA(nullptr, 0, 0, nullptr);
    std::atomic<DWORD> result{0};
    std::thread waiter([&] { result = WaitForMultipleObjects(1, &waited, 0, INFINITE); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    CloseHandle(waited);
    waiter.join();
    EXPECT_EQ(result, WAIT_FAILED);
}

TEST(Events, TheTableRunsOutCleanlyAndFreesItsSlots) {
    std::vector<HANDLE> made;
    for (HANDLE h; (h = CreateEventA(nullptr, 0, 0, nullptr)) != nullptr;) {
        made.push_back(h);
        ASSERT_LE(made.size(), 1000u);
    }
    EXPECT_GE(made.size(), 60u) << "room for far more than the engine's two";
    CloseHandle(made.back());
    made.back() = CreateEventA(nullptr, 0, 0, nullptr);
    EXPECT_NE(made.back(), nullptr);
    for (HANDLE h : made) CloseHandle(h);
}

TEST(Events, AWaitEndsWhenAnotherThreadSignals) {
    HANDLE e = CreateEventA(nullptr, 0, 0, nullptr);
    std::thread signaller([e] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        SetEvent(e);
    });
    EXPECT_EQ(WaitForMultipleObjects(1, &e, 0, INFINITE), WAIT_OBJECT_0);
    signaller.join();
    CloseHandle(e);
}

TEST(Threads, JoinWaitsForTheStartRoutineToReturn) {
    static std::atomic<int> seen{0};
    static int argument = 7;
    const std::uintptr_t t = StartThread(
        [](void* arg) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            seen = *static_cast<int*>(arg);
        },
        &argument);
    ASSERT_NE(t, kNoThread);
    JoinThread(t);
    EXPECT_EQ(seen, 7);
    EXPECT_EQ(StartThread(nullptr, nullptr), kNoThread);
}

TEST(CriticalSection, IsRecursiveAndExcludesOtherThreads) {
    CRITICAL_SECTION cs;
    InitializeCriticalSection(&cs);
    EnterCriticalSection(&cs);
    EnterCriticalSection(&cs);
    std::atomic<bool> entered{false};
    std::thread other([&] {
        CriticalSectionGuard guard(&cs);
        entered = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(entered);
    LeaveCriticalSection(&cs);
    LeaveCriticalSection(&cs);
    other.join();
    EXPECT_TRUE(entered);
    DeleteCriticalSection(&cs);
}

// The show calls exit(0) at its end while the stream worker waits for its next wake.
TEST(EventsDeathTest, TheProcessExitsWhileAThreadWaits) {
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(
        {
            alarm(5); // a hang ends in SIGALRM, not in status 0
            HANDLE e = CreateEventA(nullptr, 0, 0, nullptr);
            std::thread([e] { WaitForMultipleObjects(1, &e, 0, INFINITE); }).detach();
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            std::exit(0);
        },
        testing::ExitedWithCode(0), "");
}
