#include "platform/win/sync.h"

#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <ctime>
#include <thread>
#include <vector>

#include "platform/win/handle.h"

HandleObject::HandleObject(Kind k, bool manualReset, bool initial)
    : kind(k), manual(manualReset), fd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    if (initial) Signal();
}

HandleObject::~HandleObject() {
    if (fd >= 0) close(fd);
}

void HandleObject::Signal() {
    std::lock_guard<std::mutex> g(lock);
    if (signalled) return;
    signalled = true;
    uint64_t one = 1;
    // The counter was 0, so this cannot block or overflow.
    [[maybe_unused]] ssize_t n = write(fd, &one, sizeof one);
}

void HandleObject::Reset() {
    std::lock_guard<std::mutex> g(lock);
    if (!signalled) return;
    signalled = false;
    uint64_t v;
    [[maybe_unused]] ssize_t n = read(fd, &v, sizeof v);
}

bool HandleObject::TryAcquire() {
    std::lock_guard<std::mutex> g(lock);
    if (!signalled) return false;
    if (!manual) {
        signalled = false;
        uint64_t v;
        [[maybe_unused]] ssize_t n = read(fd, &v, sizeof v);
    }
    return true;
}

HANDLE CreateEventA(void*, BOOL manualReset, BOOL initialState, LPCSTR) {
    auto* h =
        new HandleObject(HandleObject::Kind::Event, manualReset != FALSE, initialState != FALSE);
    if (h->fd < 0) {
        delete h;
        return nullptr;
    }
    return h;
}

BOOL SetEvent(HANDLE h) {
    if (!h || h->kind != HandleObject::Kind::Event) return FALSE;
    h->Signal();
    return TRUE;
}

BOOL ResetEvent(HANDLE h) {
    if (!h || h->kind != HandleObject::Kind::Event) return FALSE;
    h->Reset();
    return TRUE;
}

BOOL CloseHandle(HANDLE h) {
    if (!h) return FALSE;
    h->Drop();
    return TRUE;
}

namespace {

struct ThreadStart {
    LPTHREAD_START_ROUTINE start;
    void* param;
    HANDLE handle;
};

void* ThreadMain(void* arg) {
    auto* ts = static_cast<ThreadStart*>(arg);
    DWORD code = ts->start(ts->param);
    HANDLE h = ts->handle;
    delete ts;
    {
        std::lock_guard<std::mutex> g(h->lock);
        h->exitCode = code;
    }
    h->Signal();
    h->Drop();
    return nullptr;
}

}  // namespace

HANDLE CreateThread(void*, size_t stackSize, LPTHREAD_START_ROUTINE start, void* param, DWORD,
                    DWORD* threadId) {
    if (!start) return nullptr;
    auto* h = new HandleObject(HandleObject::Kind::Thread, true, false);
    if (h->fd < 0) {
        delete h;
        return nullptr;
    }
    h->AddRef();  // the thread's own reference
    auto* ts = new ThreadStart{start, param, h};
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
    if (stackSize) pthread_attr_setstacksize(&attr, stackSize < 65536 ? 65536 : stackSize);
    pthread_t tid;
    int rc = pthread_create(&tid, &attr, ThreadMain, ts);
    pthread_attr_destroy(&attr);
    if (rc != 0) {
        delete ts;
        h->Drop();
        h->Drop();
        return nullptr;
    }
    if (threadId) *threadId = static_cast<DWORD>(reinterpret_cast<uintptr_t>(h) & 0xFFFFFFFF);
    return h;
}

BOOL GetExitCodeThread(HANDLE h, DWORD* code) {
    if (!h || h->kind != HandleObject::Kind::Thread || !code) return FALSE;
    std::lock_guard<std::mutex> g(h->lock);
    *code = h->signalled ? h->exitCode : 259;  // STILL_ACTIVE
    return TRUE;
}

namespace {

int RemainingMs(std::chrono::steady_clock::time_point deadline, DWORD ms) {
    if (ms == INFINITE) return -1;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    deadline - std::chrono::steady_clock::now())
                    .count();
    return left < 0 ? 0 : static_cast<int>(left);
}

}  // namespace

DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD ms) {
    if (count == 0 || count > MAXIMUM_WAIT_OBJECTS || !handles) return WAIT_FAILED;
    for (DWORD i = 0; i < count; ++i)
        if (!handles[i]) return WAIT_FAILED;
    auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(ms == INFINITE ? 0 : ms);
    std::vector<pollfd> fds(count);
    for (;;) {
        if (waitAll) {
            bool all = true;
            for (DWORD i = 0; i < count; ++i) {
                std::lock_guard<std::mutex> g(handles[i]->lock);
                all = all && handles[i]->signalled;
            }
            // Auto-reset events are taken one by one; good enough for the
            // uses here, which wait for all of a set of threads.
            if (all) {
                for (DWORD i = 0; i < count; ++i) handles[i]->TryAcquire();
                return WAIT_OBJECT_0;
            }
        } else {
            for (DWORD i = 0; i < count; ++i)
                if (handles[i]->TryAcquire()) return WAIT_OBJECT_0 + i;
        }
        int left = RemainingMs(deadline, ms);
        if (left == 0) return WAIT_TIMEOUT;
        for (DWORD i = 0; i < count; ++i) fds[i] = pollfd{handles[i]->fd, POLLIN, 0};
        int rc = poll(fds.data(), count, left);
        if (rc < 0 && errno != EINTR) return WAIT_FAILED;
    }
}

DWORD WaitForSingleObject(HANDLE h, DWORD ms) {
    return WaitForMultipleObjects(1, &h, FALSE, ms);
}

void Sleep(DWORD ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

DWORD GetTickCount() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<DWORD>(static_cast<uint64_t>(ts.tv_sec) * 1000u + ts.tv_nsec / 1000000);
}

int HandleWaitFd(HANDLE h) {
    return h ? h->fd : -1;
}
