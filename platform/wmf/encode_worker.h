// Runs a stream's conversion and encoding on a thread of its own, so that
// the thread that decodes the next picture does not wait for them: on two
// cores decoding and encoding overlap. At most `capacity` tasks wait, which
// keeps memory bounded whatever the length of the job.
//
// Threads: Push and Finish from one thread at a time (the writer serialises
// them per stream); tasks run on the worker thread only, in order.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/win/wintypes.h"

namespace wmf {

class EncodeWorker {
public:
    using Task = std::function<HRESULT()>;

    explicit EncodeWorker(size_t capacity);
    ~EncodeWorker();
    EncodeWorker(const EncodeWorker&) = delete;
    EncodeWorker& operator=(const EncodeWorker&) = delete;

    // Queues a task, waiting while the queue is full. Returns the first
    // failure of a task so far (the new task is then dropped).
    HRESULT Push(Task task);
    // Runs what is queued and ends the thread; returns the first failure.
    HRESULT Finish();

private:
    void Run();

    const size_t m_capacity;
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::deque<Task> m_queue;
    bool m_closing = false;
    HRESULT m_failure = S_OK;
    std::thread m_thread;
};

}  // namespace wmf
