#include <gtest/gtest.h>

#include <atomic>
#include <ctime>

#include "platform/win/sync.h"

namespace {

double ThreadCpuSeconds() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

}  // namespace

TEST(Sync, AutoResetEventReleasesOneWaitManualResetStays) {
    HANDLE autoEv = CreateEventA(nullptr, FALSE, TRUE, nullptr);
    HANDLE manualEv = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    ASSERT_NE(autoEv, nullptr);
    EXPECT_EQ(WaitForSingleObject(autoEv, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(autoEv, 0), WAIT_TIMEOUT);
    EXPECT_EQ(WaitForSingleObject(manualEv, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(manualEv, 0), WAIT_OBJECT_0);
    ResetEvent(manualEv);
    EXPECT_EQ(WaitForSingleObject(manualEv, 10), WAIT_TIMEOUT);

    HANDLE both[2] = {manualEv, autoEv};
    SetEvent(autoEv);
    EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 0), WAIT_OBJECT_0 + 1);
    CloseHandle(autoEv);
    CloseHandle(manualEv);
}

TEST(Sync, ThreadHandleIsSignalledWithItsExitCode) {
    static std::atomic<int> ran{0};
    static int kFive = 5;
    HANDLE t = CreateThread(
        nullptr, 0,
        [](void* p) -> DWORD {
            Sleep(20);
            ran = *static_cast<int*>(p);
            return 7;
        },
        &kFive, 0, nullptr);
    ASSERT_NE(t, nullptr);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(t, &code));
    EXPECT_EQ(code, 259u);  // still running
    EXPECT_EQ(WaitForSingleObject(t, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(ran.load(), 5);
    EXPECT_TRUE(GetExitCodeThread(t, &code));
    EXPECT_EQ(code, 7u);
    CloseHandle(t);
}

TEST(Sync, WaitingBurnsNoCpu) {
    HANDLE ev = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const double before = ThreadCpuSeconds();
    EXPECT_EQ(WaitForSingleObject(ev, 300), WAIT_TIMEOUT);
    // A spinning wait would use most of the 300 ms.
    EXPECT_LT(ThreadCpuSeconds() - before, 0.05);
    CloseHandle(ev);
}

TEST(Sync, BadHandlesFailInsteadOfCrashing) {
    EXPECT_EQ(WaitForSingleObject(nullptr, 0), WAIT_FAILED);
    EXPECT_FALSE(SetEvent(nullptr));
    EXPECT_FALSE(CloseHandle(nullptr));
    EXPECT_EQ(CreateThread(nullptr, 0, nullptr, nullptr, 0, nullptr), nullptr);
}
