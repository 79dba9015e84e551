// Encodes pictures on a thread of its own, so that the thread that decodes
// and converts the next picture does not wait for the encoder: on two cores
// decoding and encoding overlap. At most `capacity` pictures wait, which
// keeps memory bounded whatever the length of the job.
//
// Threads: Push and Finish from one thread at a time (the stream's writer
// serialises them); the encode function runs on the worker thread only.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/wmf/ffmpeg_ptr.h"
#include "platform/win/wintypes.h"

namespace wmf {

class EncodeWorker {
public:
    using EncodeFn = std::function<HRESULT(AVFrame* frame)>;

    EncodeWorker(EncodeFn encode, size_t capacity);
    ~EncodeWorker();
    EncodeWorker(const EncodeWorker&) = delete;
    EncodeWorker& operator=(const EncodeWorker&) = delete;

    // Queues a picture, waiting while the queue is full. Returns the first
    // failure of the encoder so far (the picture is then dropped).
    HRESULT Push(FramePtr frame);
    // Encodes what is queued and ends the thread; returns the first failure.
    HRESULT Finish();

private:
    void Run();

    EncodeFn m_encode;
    const size_t m_capacity;
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::deque<FramePtr> m_queue;
    bool m_closing = false;
    bool m_busy = false;
    HRESULT m_failure = S_OK;
    std::thread m_thread;
};

}  // namespace wmf
