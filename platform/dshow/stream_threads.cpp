#include "platform/dshow/stream_threads.h"

#include <unistd.h>

#include <algorithm>

#include "platform/win/thread_policy.h"

namespace zev::dshow {

bool StreamThreads::OnMessage(GstMessage* msg) {
    if (GST_MESSAGE_TYPE(msg) != GST_MESSAGE_STREAM_STATUS) return false;
    GstStreamStatusType type;
    GstElement* owner = nullptr;
    gst_message_parse_stream_status(msg, &type, &owner);
    const pid_t self = gettid();
    std::lock_guard<std::mutex> g(m_lock);
    auto known = std::find(m_threads.begin(), m_threads.end(), self);
    if (type == GST_STREAM_STATUS_TYPE_ENTER) {
        if (known == m_threads.end()) m_threads.push_back(self);
        SetThreadBatch(0, m_batch);
    } else if (type == GST_STREAM_STATUS_TYPE_LEAVE) {
        if (known != m_threads.end()) m_threads.erase(known);
        SetThreadBatch(0, false);
    }
    return true;
}

void StreamThreads::SetBatch(bool batch) {
    std::lock_guard<std::mutex> g(m_lock);
    m_batch = batch;
    for (pid_t tid : m_threads) SetThreadBatch(tid, batch);
}

void StreamThreads::Watch(GstBus* bus, std::shared_ptr<StreamThreads> threads) {
    auto* kept = new std::shared_ptr<StreamThreads>(std::move(threads));
    gst_bus_set_sync_handler(
        bus,
        [](GstBus*, GstMessage* msg, gpointer data) {
            if (!(*static_cast<std::shared_ptr<StreamThreads>*>(data))->OnMessage(msg))
                return GST_BUS_PASS;
            gst_message_unref(msg);
            return GST_BUS_DROP;
        },
        kept, [](gpointer data) { delete static_cast<std::shared_ptr<StreamThreads>*>(data); });
}

}  // namespace zev::dshow
