#include "platform/wmf/encode_worker.h"

#include "platform/win/thread_policy.h"

namespace wmf {

EncodeWorker::EncodeWorker(size_t capacity) : m_capacity(capacity ? capacity : 1) {
    m_thread = std::thread(&EncodeWorker::Run, this);
}

EncodeWorker::~EncodeWorker() {
    Finish();
}

HRESULT EncodeWorker::Push(Task task) {
    std::unique_lock<std::mutex> g(m_lock);
    m_changed.wait(g, [this] { return m_queue.size() < m_capacity || FAILED(m_failure); });
    if (FAILED(m_failure)) return m_failure;
    if (m_closing) return E_FAIL;
    m_queue.push_back(std::move(task));
    m_changed.notify_all();
    return S_OK;
}

HRESULT EncodeWorker::Finish() {
    {
        std::lock_guard<std::mutex> g(m_lock);
        m_closing = true;
        m_changed.notify_all();
    }
    if (m_thread.joinable()) m_thread.join();
    std::lock_guard<std::mutex> g(m_lock);
    return m_failure;
}

void EncodeWorker::Run() {
    // Encoding is throughput work, fed by the decoding threads (see
    // thread_policy.h).
    SetThreadBatch(0, true);
    for (;;) {
        Task task;
        {
            std::unique_lock<std::mutex> g(m_lock);
            m_changed.wait(g, [this] { return !m_queue.empty() || m_closing; });
            if (m_queue.empty()) return;  // closing and nothing left
            task = std::move(m_queue.front());
            m_queue.pop_front();
            m_changed.notify_all();
        }
        const HRESULT hr = task();
        if (FAILED(hr)) {
            std::lock_guard<std::mutex> g(m_lock);
            if (SUCCEEDED(m_failure)) m_failure = hr;
            m_queue.clear();
            m_changed.notify_all();
        }
    }
}

}  // namespace wmf
