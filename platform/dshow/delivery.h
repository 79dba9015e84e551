// A decoded buffer made ready for a receiver outside GStreamer: clipped to
// the segment it belongs to, laid out as the media types describe, and timed
// from the start of the segment (the position the graph was last set to).
// Used by the grabber and the writer filter on streaming threads. Internal.
#pragma once

#include <vector>

#include "platform/dshow/media_format.h"

namespace zev::dshow {

class DeliveredBuffer {
public:
    DeliveredBuffer() = default;
    ~DeliveredBuffer();
    DeliveredBuffer(const DeliveredBuffer&) = delete;
    DeliveredBuffer& operator=(const DeliveredBuffer&) = delete;

    // False when nothing of the buffer lies inside its segment (or it cannot
    // be read); the buffer is then not to be delivered. `scratch` holds
    // repacked pictures and must outlive this object.
    bool Prepare(GstSample* sample, StreamKind kind, std::vector<BYTE>* scratch);
    BYTE* Data() const { return m_data; }
    size_t Size() const { return m_size; }
    gint64 TimeNs() const { return m_timeNs; }
    gint64 DurationNs() const { return m_durationNs; }

private:
    GstRef<GstBuffer> m_buffer;
    GstMapInfo m_map{};
    bool m_mapped = false;
    BYTE* m_data = nullptr;
    size_t m_size = 0;
    gint64 m_timeNs = 0;
    gint64 m_durationNs = 0;
};

}  // namespace zev::dshow
