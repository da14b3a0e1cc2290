// The Win32 events, waits and threads the engine runs on.
#include "platform/sync.h"
#include "platform/threads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <unistd.h>

TEST(Events, AutoResetWakesOneWaitManualResetStays) {
    HANDLE autoReset = CreateEventA(nullptr, 0, 1, nullptr);
    HANDLE manual = CreateEventA(nullptr, 1, 0, nullptr);
    EXPECT_EQ(WaitForSingleObject(autoReset, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(autoReset, 0), WAIT_TIMEOUT);
    SetEvent(manual);
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
    ResetEvent(manual);
    EXPECT_EQ(WaitForSingleObject(manual, 10), WAIT_TIMEOUT);
    EXPECT_EQ(CreateEventA(nullptr, 0, 0, "named"), nullptr);
    CloseHandle(autoReset);
    CloseHandle(manual);
}

TEST(Events, WaitForAnyGivesTheFirstSignalledWaitForAllTakesThemAll) {
    HANDLE e[2] = {CreateEventA(nullptr, 0, 0, nullptr), CreateEventA(nullptr, 0, 0, nullptr)};
    SetEvent(e[1]);
    EXPECT_EQ(WaitForMultipleObjects(2, e, 0, 0), WAIT_OBJECT_0 + 1);
    SetEvent(e[0]);
    SetEvent(e[1]);
    EXPECT_EQ(WaitForMultipleObjects(2, e, 0, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForMultipleObjects(2, e, 0, 0), WAIT_OBJECT_0 + 1);
    SetEvent(e[0]);
    EXPECT_EQ(WaitForMultipleObjects(2, e, 1, 0), WAIT_TIMEOUT);
    SetEvent(e[1]);
    EXPECT_EQ(WaitForMultipleObjects(2, e, 1, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForMultipleObjects(2, e, 0, 0), WAIT_TIMEOUT) << "both taken";
    const HANDLE withNull[2] = {e[0], nullptr};
    EXPECT_EQ(WaitForMultipleObjects(2, withNull, 0, INFINITE), WAIT_FAILED);
    CloseHandle(e[0]);
    CloseHandle(e[1]);
}

TEST(Events, AWaitEndsWhenAnotherThreadSignals) {
    HANDLE e = CreateEventA(nullptr, 0, 0, nullptr);
    std::thread signaller([e] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        SetEvent(e);
    });
    EXPECT_EQ(WaitForSingleObject(e, INFINITE), WAIT_OBJECT_0);
    signaller.join();
    CloseHandle(e);
}

TEST(Threads, JoinWaitsForTheStartRoutineToReturn) {
    static std::atomic<int> seen{0};
    static int argument = 7;
    const std::uintptr_t t = _beginthread(
        [](void* arg) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            seen = *static_cast<int*>(arg);
        },
        0, &argument);
    ASSERT_NE(t, kNoThread);
    JoinThread(t);
    EXPECT_EQ(seen, 7);
    EXPECT_EQ(_beginthread(nullptr, 0, nullptr), kNoThread);
}

TEST(CriticalSection, IsRecursiveAndExcludesOtherThreads) {
    CRITICAL_SECTION cs;
    InitializeCriticalSection(&cs);
    EnterCriticalSection(&cs);
    EnterCriticalSection(&cs);
    std::atomic<bool> entered{false};
    std::thread other([&] {
        EnterCriticalSection(&cs);
        entered = true;
        LeaveCriticalSection(&cs);
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
            std::thread([e] { WaitForSingleObject(e, INFINITE); }).detach();
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            std::exit(0);
        },
        testing::ExitedWithCode(0), "");
}
