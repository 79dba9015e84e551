#include <gtest/gtest.h>
#include <poll.h>

#include <thread>
#include <vector>

#include "platform/win/window.h"

namespace {

struct Seen {
    UINT msg;
    WPARAM w;
    std::thread::id thread;
};

HWND MakeRecorder(std::vector<Seen>& seen) {
    return CreateHostWindow([&seen](HWND, UINT msg, WPARAM w, LPARAM) -> LRESULT {
        seen.push_back({msg, w, std::this_thread::get_id()});
        return static_cast<LRESULT>(w) * 2;
    });
}

void DrainQueue() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
}

}  // namespace

TEST(Window, SendRunsTheHandlerAtOnceOnTheCallersThread) {
    std::vector<Seen> seen;
    HWND w = MakeRecorder(seen);
    EXPECT_EQ(SendMessageA(w, WM_COMMAND, 57106, 0), 57106 * 2);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].thread, std::this_thread::get_id());
    DestroyWindow(w);
    EXPECT_EQ(SendMessageA(w, WM_COMMAND, 1, 0), 0);
    EXPECT_FALSE(IsWindow(w));
}

TEST(Window, PostFromAnotherThreadWakesTheOwnersWaitAndIsDispatchedThere) {
    std::vector<Seen> seen;
    HWND w = MakeRecorder(seen);
    HANDLE never = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread poster([w] {
        Sleep(30);
        PostMessageA(w, WM_USER + 1, 11, 0);
        PostMessageA(w, WM_USER + 2, 12, 0);
    });
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &never, FALSE, 5000, QS_ALLINPUT), WAIT_OBJECT_0 + 1);
    poster.join();
    EXPECT_TRUE(seen.empty());  // posts are not handled until dispatched
    DrainQueue();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].msg, WM_USER + 1);
    EXPECT_EQ(seen[1].w, 12u);
    EXPECT_EQ(seen[1].thread, std::this_thread::get_id());
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &never, FALSE, 0, QS_ALLINPUT), WAIT_TIMEOUT);
    CloseHandle(never);
    DestroyWindow(w);
}

TEST(Window, HandleWinsOverInputAndDestroyedWindowsLoseTheirPosts) {
    std::vector<Seen> seen;
    HWND w = MakeRecorder(seen);
    HANDLE ev = CreateEventA(nullptr, FALSE, TRUE, nullptr);
    PostMessageA(w, WM_USER, 1, 0);
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &ev, FALSE, 0, QS_ALLINPUT), WAIT_OBJECT_0);
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &ev, FALSE, 0, QS_ALLINPUT), WAIT_OBJECT_0 + 1);
    DestroyWindow(w);
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &ev, FALSE, 0, QS_ALLINPUT), WAIT_TIMEOUT);
    DrainQueue();
    EXPECT_TRUE(seen.empty());
    EXPECT_FALSE(PostMessageA(w, WM_USER, 1, 0));
    CloseHandle(ev);
}

namespace {

// A host loop as a GUI toolkit would plug it in: it handles its own events
// (here, counts its turns) until a descriptor is readable.
class CountingHostLoop : public IHostEventLoop {
public:
    int turns = 0;
    int RunUntilReadable(const int* fds, int count, DWORD timeoutMs) override {
        ++turns;
        std::vector<pollfd> p;
        for (int i = 0; i < count; ++i) p.push_back(pollfd{fds[i], POLLIN, 0});
        int rc = poll(p.data(), p.size(), timeoutMs == INFINITE ? -1 : static_cast<int>(timeoutMs));
        if (rc <= 0) return -1;
        for (int i = 0; i < count; ++i)
            if (p[i].revents & POLLIN) return i;
        return -1;
    }
};

}  // namespace

TEST(Window, WaitRunsTheHostsOwnLoopWhileBlocked) {
    CountingHostLoop host;
    ASSERT_EQ(SetHostEventLoop(&host), nullptr);
    HANDLE ev = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread setter([ev] {
        Sleep(30);
        SetEvent(ev);
    });
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &ev, FALSE, 5000, QS_ALLINPUT), WAIT_OBJECT_0);
    setter.join();
    EXPECT_GE(host.turns, 1);
    EXPECT_EQ(SetHostEventLoop(nullptr), &host);
    CloseHandle(ev);
}

TEST(Window, QueueDescriptorIsReadableExactlyWhileMessagesWait) {
    auto readable = [] {
        pollfd p{MessageQueueWaitFd(), POLLIN, 0};
        return poll(&p, 1, 0) == 1 && (p.revents & POLLIN);
    };
    HWND hwnd = CreateHostWindow([](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return 0; });
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
    EXPECT_FALSE(readable());
    std::thread poster([hwnd] { PostMessageA(hwnd, WM_USER + 1, 0, 0); });
    poster.join();
    EXPECT_TRUE(readable());
    EXPECT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, WM_USER + 1);
    EXPECT_FALSE(readable());
    DestroyWindow(hwnd);
}
