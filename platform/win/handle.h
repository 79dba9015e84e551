// Internal: the object behind a HANDLE. Not for use outside platform/win.
#pragma once

#include <atomic>
#include <mutex>

#include "platform/win/sync.h"

struct HandleObject {
    enum class Kind { Event, Thread };

    HandleObject(Kind k, bool manualReset, bool signalled);
    ~HandleObject();
    HandleObject(const HandleObject&) = delete;
    HandleObject& operator=(const HandleObject&) = delete;

    void Signal();
    void Reset();
    // For auto-reset events: take the signal if it is still there. Manual
    // ones and threads stay signalled and always succeed while signalled.
    bool TryAcquire();
    void AddRef() { ++refs; }
    void Drop() {
        if (--refs == 0) delete this;
    }

    const Kind kind;
    const bool manual;
    int fd;  // eventfd, readable while signalled
    std::mutex lock;
    bool signalled = false;
    DWORD exitCode = 0;
    std::atomic<int> refs{1};
};
