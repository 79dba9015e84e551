#include "platform/dshow/event_queue.h"

#include <chrono>

namespace zev::dshow {

EventQueue::EventQueue() : m_signal(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

EventQueue::~EventQueue() {
    CloseHandle(m_signal);
}

void EventQueue::Post(long code, LONG_PTR param1, LONG_PTR param2) {
    HWND hwnd;
    UINT msg;
    LONG_PTR data;
    {
        std::lock_guard<std::mutex> g(m_lock);
        m_events.push_back(Event{code, param1, param2});
        SetEvent(m_signal);
        hwnd = m_notifyWindow;
        msg = m_notifyMessage;
        data = m_notifyData;
    }
    if (hwnd && msg) PostMessageA(hwnd, msg, 0, data);
}

HRESULT EventQueue::Get(long* code, LONG_PTR* param1, LONG_PTR* param2, long msTimeout) {
    if (!code || !param1 || !param2) return E_POINTER;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(msTimeout);
    for (;;) {
        {
            std::lock_guard<std::mutex> g(m_lock);
            if (!m_events.empty()) {
                Event e = m_events.front();
                m_events.pop_front();
                if (m_events.empty()) ResetEvent(m_signal);
                *code = e.code;
                *param1 = e.param1;
                *param2 = e.param2;
                return S_OK;
            }
        }
        DWORD wait = INFINITE;
        if (msTimeout >= 0) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                            deadline - std::chrono::steady_clock::now())
                            .count();
            if (left <= 0) break;
            wait = static_cast<DWORD>(left);
        }
        if (WaitForSingleObject(m_signal, wait) != WAIT_OBJECT_0) break;
    }
    *code = 0;
    *param1 = *param2 = 0;
    return E_ABORT;
}

void EventQueue::SetNotifyWindow(HWND hwnd, UINT msg, LONG_PTR instanceData) {
    std::lock_guard<std::mutex> g(m_lock);
    m_notifyWindow = msg ? hwnd : nullptr;
    m_notifyMessage = msg;
    m_notifyData = instanceData;
}

void EventQueue::Clear() {
    std::lock_guard<std::mutex> g(m_lock);
    m_events.clear();
    ResetEvent(m_signal);
}

}  // namespace zev::dshow
