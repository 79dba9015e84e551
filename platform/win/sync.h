// Threads, waitable events and sleeping.
//
// A HANDLE is a waitable kernel-style object (an event or a thread). Events
// are backed by a file descriptor, so waits block in poll() and burn no CPU.
// All functions are safe to call from any thread.
#pragma once

#include "platform/win/wintypes.h"

struct HandleObject;
using HANDLE = HandleObject*;

constexpr DWORD INFINITE = 0xFFFFFFFFu;
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_ABANDONED_0 = 0x80;
constexpr DWORD WAIT_TIMEOUT = 258;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFFu;
constexpr DWORD MAXIMUM_WAIT_OBJECTS = 64;

// Events. A manual-reset event stays signalled until ResetEvent; an
// auto-reset one is reset by the wait that it releases.
HANDLE CreateEventA(void* security, BOOL manualReset, BOOL initialState, LPCSTR name);
BOOL SetEvent(HANDLE h);
BOOL ResetEvent(HANDLE h);
BOOL CloseHandle(HANDLE h);

using LPTHREAD_START_ROUTINE = DWORD (*)(void* param);
// Starts a thread; the returned handle is signalled when it ends and must be
// closed with CloseHandle (which does not stop the thread).
HANDLE CreateThread(void* security, size_t stackSize, LPTHREAD_START_ROUTINE start, void* param,
                    DWORD flags, DWORD* threadId);
BOOL GetExitCodeThread(HANDLE h, DWORD* code);

DWORD WaitForSingleObject(HANDLE h, DWORD milliseconds);
DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds);
void Sleep(DWORD milliseconds);
DWORD GetTickCount();

// The descriptor that becomes readable while the handle is signalled; for
// hosts that wait on handles in their own event loop.
int HandleWaitFd(HANDLE h);
