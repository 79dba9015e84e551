// Windows and messages: the part of the Win32 message system that the
// engines use to talk to their caller.
//
// A host registers a window with a handler; the window belongs to the
// registering thread. SendMessageA calls the handler synchronously on the
// caller's thread. PostMessageA queues to the owning thread's queue, which
// PeekMessageA/DispatchMessageA drain. MsgWaitForMultipleObjects waits on
// handles and on the thread's input; a host with its own event loop (the Qt
// program) plugs it in with SetHostEventLoop so that its events are handled
// while an engine waits.
#pragma once

#include <functional>

#include "platform/win/sync.h"
#include "platform/win/wintypes.h"

struct HWND__;
using HWND = HWND__*;

constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_USER = 0x0400;
constexpr UINT WM_APP = 0x8000;

constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;
constexpr DWORD QS_ALLINPUT = 0x04FF;
constexpr DWORD QS_POSTMESSAGE = 0x0008;

constexpr WORD LOWORD(WPARAM v) {
    return static_cast<WORD>(v & 0xFFFF);
}
constexpr WORD HIWORD(WPARAM v) {
    return static_cast<WORD>((v >> 16) & 0xFFFF);
}

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
};

using WindowHandler = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

// Registers a window owned by the calling thread. The handler runs on the
// owning thread (dispatched posts) or on the sender's thread (sends).
HWND CreateHostWindow(WindowHandler handler);
// Removes the window; messages still queued for it are dropped.
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
BOOL PostThreadMessageToCurrent(UINT msg, WPARAM wParam, LPARAM lParam);

BOOL PeekMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
// The descriptor that is readable while the calling thread's queue holds
// posted messages, so that a host with its own event loop can drain the
// queue (PeekMessageA, DispatchMessageA) when something arrives. Owned by
// the thread's queue; valid as long as the thread lives.
int MessageQueueWaitFd();
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageA(const MSG* msg);

// Returns WAIT_OBJECT_0 + i when handle i is signalled, WAIT_OBJECT_0 + count
// when the thread's queue has input, WAIT_TIMEOUT or WAIT_FAILED.
DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll,
                                DWORD milliseconds, DWORD wakeMask);

// A host's own event loop, plugged in per thread. While an engine waits in
// MsgWaitForMultipleObjects on that thread, the host runs its loop until one
// of the descriptors becomes readable or the time-out passes; the host's
// events are handled inside, as Windows would dispatch them.
class IHostEventLoop {
public:
    virtual ~IHostEventLoop() = default;
    // Handles host events until a descriptor is readable (returns its index)
    // or `timeoutMs` passes (returns -1; INFINITE means no time-out).
    virtual int RunUntilReadable(const int* fds, int count, DWORD timeoutMs) = 0;
};
// Installs `loop` for the calling thread (nullptr removes it); returns the
// previous one. The loop is borrowed, not owned.
IHostEventLoop* SetHostEventLoop(IHostEventLoop* loop);
