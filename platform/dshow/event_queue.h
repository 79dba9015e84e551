// The graph's event channel: events posted from any thread (streaming
// threads, the host's stop command) are queued in order and taken by the
// owning thread. A manual-reset handle is signalled while the queue holds
// events; a notify window gets one posted message per event. Internal.
#pragma once

#include <deque>
#include <mutex>

#include "platform/win/sync.h"
#include "platform/win/window.h"

namespace zev::dshow {

class EventQueue {
public:
    EventQueue();
    ~EventQueue();
    EventQueue(const EventQueue&) = delete;
    EventQueue& operator=(const EventQueue&) = delete;

    // Any thread.
    void Post(long code, LONG_PTR param1, LONG_PTR param2);
    // E_ABORT when nothing arrives within msTimeout (negative: no limit).
    HRESULT Get(long* code, LONG_PTR* param1, LONG_PTR* param2, long msTimeout);
    // The handle stays owned by the queue.
    HANDLE Handle() const { return m_signal; }
    // msg 0 stops the notifications.
    void SetNotifyWindow(HWND hwnd, UINT msg, LONG_PTR instanceData);
    void Clear();

private:
    struct Event {
        long code;
        LONG_PTR param1;
        LONG_PTR param2;
    };
    std::mutex m_lock;
    std::deque<Event> m_events;
    HANDLE m_signal;
    HWND m_notifyWindow = nullptr;
    UINT m_notifyMessage = 0;
    LONG_PTR m_notifyData = 0;
};

}  // namespace zev::dshow
