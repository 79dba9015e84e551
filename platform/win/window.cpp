#include "platform/win/window.h"

#include <poll.h>

#include <cerrno>
#include <chrono>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/win/handle.h"

namespace {

// The message queue of one thread. Posts from any thread; drained by the
// owning thread. Its event is signalled while messages are queued.
struct ThreadQueue {
    std::mutex lock;
    std::deque<MSG> messages;
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ~ThreadQueue() { CloseHandle(ready); }
};

struct WindowEntry {
    WindowHandler handler;
    std::shared_ptr<ThreadQueue> queue;
};

// Process-wide window table: windows are addressed from any thread.
struct WindowTable {
    std::mutex lock;
    std::map<uintptr_t, std::shared_ptr<WindowEntry>> windows;
    uintptr_t next = 0x100;
};

WindowTable& Table() {
    static WindowTable* t = new WindowTable;  // never destroyed: posts may race exit
    return *t;
}

std::shared_ptr<ThreadQueue>& CurrentQueue() {
    thread_local std::shared_ptr<ThreadQueue> q = std::make_shared<ThreadQueue>();
    return q;
}

thread_local IHostEventLoop* t_hostLoop = nullptr;

std::shared_ptr<WindowEntry> Lookup(HWND hwnd) {
    auto& t = Table();
    std::lock_guard<std::mutex> g(t.lock);
    auto it = t.windows.find(reinterpret_cast<uintptr_t>(hwnd));
    return it == t.windows.end() ? nullptr : it->second;
}

void Enqueue(ThreadQueue& q, const MSG& m) {
    std::lock_guard<std::mutex> g(q.lock);
    q.messages.push_back(m);
    SetEvent(q.ready);
}

bool Matches(const MSG& m, HWND hwnd, UINT lo, UINT hi) {
    if (hwnd && m.hwnd != hwnd) return false;
    if (lo == 0 && hi == 0) return true;
    return m.message >= lo && m.message <= hi;
}

}  // namespace

HWND CreateHostWindow(WindowHandler handler) {
    auto entry = std::make_shared<WindowEntry>();
    entry->handler = std::move(handler);
    entry->queue = CurrentQueue();
    auto& t = Table();
    std::lock_guard<std::mutex> g(t.lock);
    uintptr_t id = t.next;
    t.next += 0x10;
    t.windows[id] = std::move(entry);
    return reinterpret_cast<HWND>(id);
}

BOOL DestroyWindow(HWND hwnd) {
    auto& t = Table();
    std::shared_ptr<WindowEntry> gone;
    {
        std::lock_guard<std::mutex> g(t.lock);
        auto it = t.windows.find(reinterpret_cast<uintptr_t>(hwnd));
        if (it == t.windows.end()) return FALSE;
        gone = std::move(it->second);
        t.windows.erase(it);
    }
    std::lock_guard<std::mutex> g(gone->queue->lock);
    auto& msgs = gone->queue->messages;
    for (auto it = msgs.begin(); it != msgs.end();) it = it->hwnd == hwnd ? msgs.erase(it) : it + 1;
    if (msgs.empty()) ResetEvent(gone->queue->ready);
    return TRUE;
}

BOOL IsWindow(HWND hwnd) {
    return Lookup(hwnd) ? TRUE : FALSE;
}

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto entry = Lookup(hwnd);
    if (!entry || !entry->handler) return 0;
    return entry->handler(hwnd, msg, wParam, lParam);
}

BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto entry = Lookup(hwnd);
    if (!entry) return FALSE;
    Enqueue(*entry->queue, MSG{hwnd, msg, wParam, lParam, GetTickCount()});
    return TRUE;
}

BOOL PostThreadMessageToCurrent(UINT msg, WPARAM wParam, LPARAM lParam) {
    Enqueue(*CurrentQueue(), MSG{nullptr, msg, wParam, lParam, GetTickCount()});
    return TRUE;
}

BOOL PeekMessageA(MSG* out, HWND hwnd, UINT lo, UINT hi, UINT remove) {
    auto& q = *CurrentQueue();
    std::lock_guard<std::mutex> g(q.lock);
    for (auto it = q.messages.begin(); it != q.messages.end(); ++it) {
        if (!Matches(*it, hwnd, lo, hi)) continue;
        if (out) *out = *it;
        if (remove & PM_REMOVE) {
            q.messages.erase(it);
            if (q.messages.empty()) ResetEvent(q.ready);
        }
        return TRUE;
    }
    return FALSE;
}

int MessageQueueWaitFd() {
    return CurrentQueue()->ready->fd;
}

BOOL TranslateMessage(const MSG*) {
    return FALSE;
}  // no keyboard messages here

LRESULT DispatchMessageA(const MSG* m) {
    if (!m || !m->hwnd) return 0;
    auto entry = Lookup(m->hwnd);
    if (!entry || !entry->handler) return 0;
    return entry->handler(m->hwnd, m->message, m->wParam, m->lParam);
}

DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD ms,
                                DWORD wakeMask) {
    if (count > MAXIMUM_WAIT_OBJECTS || (count && !handles)) return WAIT_FAILED;
    for (DWORD i = 0; i < count; ++i)
        if (!handles[i]) return WAIT_FAILED;
    if (waitAll) return WaitForMultipleObjects(count, handles, TRUE, ms);
    auto& q = *CurrentQueue();
    const bool wantInput = wakeMask != 0;
    auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(ms == INFINITE ? 0 : ms);
    std::vector<int> fds(count + 1);
    for (;;) {
        for (DWORD i = 0; i < count; ++i)
            if (handles[i]->TryAcquire()) return WAIT_OBJECT_0 + i;
        if (wantInput) {
            std::lock_guard<std::mutex> g(q.lock);
            if (!q.messages.empty()) return WAIT_OBJECT_0 + count;
        }
        DWORD left = INFINITE;
        if (ms != INFINITE) {
            auto l = std::chrono::duration_cast<std::chrono::milliseconds>(
                         deadline - std::chrono::steady_clock::now())
                         .count();
            if (l <= 0) return WAIT_TIMEOUT;
            left = static_cast<DWORD>(l);
        }
        int n = 0;
        for (DWORD i = 0; i < count; ++i) fds[n++] = handles[i]->fd;
        if (wantInput) fds[n++] = q.ready->fd;
        if (t_hostLoop) {
            // The host's events are handled inside its loop, as Windows
            // dispatches a thread's messages while it waits for input.
            t_hostLoop->RunUntilReadable(fds.data(), n, left);
            continue;
        }
        std::vector<pollfd> p(n);
        for (int i = 0; i < n; ++i) p[i] = pollfd{fds[i], POLLIN, 0};
        int rc = poll(p.data(), n, left == INFINITE ? -1 : static_cast<int>(left));
        if (rc < 0 && errno != EINTR) return WAIT_FAILED;
    }
}

IHostEventLoop* SetHostEventLoop(IHostEventLoop* loop) {
    IHostEventLoop* old = t_hostLoop;
    t_hostLoop = loop;
    return old;
}
