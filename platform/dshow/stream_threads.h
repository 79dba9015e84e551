// The streaming threads of one pipeline, and how the scheduler is to treat
// them. A graph that runs without a clock (a conversion) only cares for
// throughput, and its threads hand every buffer on through queues: as
// batch work (see thread_policy.h) they stop preempting each other at
// every hand-over. A graph that plays in real time keeps the normal policy.
//
// GStreamer announces each streaming thread with a stream-status message
// that the thread itself posts when it starts and before it ends; a bus
// sync handler passes those here. A thread that ends goes back to the
// normal policy, since GStreamer's pool may lend it to another pipeline.
//
// Threads: all members from any thread.
#pragma once

#include <gst/gst.h>
#include <sys/types.h>

#include <memory>
#include <mutex>
#include <vector>

namespace zev::dshow {

class StreamThreads {
public:
    explicit StreamThreads(bool batch) : m_batch(batch) {}

    // From a bus sync handler (in the posting thread): notes a streaming
    // thread that starts or ends. True when `msg` was such a message.
    bool OnMessage(GstMessage* msg);
    // The policy of the threads started so far and of those to come.
    void SetBatch(bool batch);
    // Installs a sync handler on `bus` that does nothing but note the
    // threads; it keeps `threads` until it is replaced or removed.
    static void Watch(GstBus* bus, std::shared_ptr<StreamThreads> threads);

private:
    std::mutex m_lock;
    bool m_batch;
    std::vector<pid_t> m_threads;
};

}  // namespace zev::dshow
