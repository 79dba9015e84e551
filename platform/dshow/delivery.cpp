#include "platform/dshow/delivery.h"

namespace zev::dshow {

DeliveredBuffer::~DeliveredBuffer() {
    if (m_mapped) gst_buffer_unmap(m_buffer.Get(), &m_map);
}

bool DeliveredBuffer::Prepare(GstSample* sample, StreamKind kind, std::vector<BYTE>* scratch) {
    const GstSegment* seg = gst_sample_get_segment(sample);
    GstCaps* caps = gst_sample_get_caps(sample);
    GstBuffer* in = gst_sample_get_buffer(sample);
    if (!seg || !caps || !in) return false;
    m_buffer.Reset(gst_buffer_ref(in));

    if (kind == StreamKind::Audio) {
        GstAudioInfo ai;
        if (!gst_audio_info_from_caps(&ai, caps)) return false;
        m_buffer.Reset(gst_audio_buffer_clip(m_buffer.Release(), seg, GST_AUDIO_INFO_RATE(&ai),
                                             GST_AUDIO_INFO_BPF(&ai)));
        if (!m_buffer) return false;
    } else if (GST_BUFFER_PTS_IS_VALID(m_buffer.Get())) {
        const guint64 start = GST_BUFFER_PTS(m_buffer.Get());
        const guint64 stop = GST_BUFFER_DURATION_IS_VALID(m_buffer.Get())
                                 ? start + GST_BUFFER_DURATION(m_buffer.Get())
                                 : start + 1;
        guint64 clippedStart = start;
        if (!gst_segment_clip(seg, GST_FORMAT_TIME, start, stop, &clippedStart, nullptr))
            return false;
        // A picture that straddles the start counts from the start: no
        // negative times reach the receiver.
        if (clippedStart != start) {
            m_buffer.Reset(gst_buffer_make_writable(m_buffer.Release()));
            GST_BUFFER_PTS(m_buffer.Get()) = clippedStart;
        }
    }

    const GstClockTime pts = GST_BUFFER_PTS(m_buffer.Get());
    if (GST_CLOCK_TIME_IS_VALID(pts))
        m_timeNs = static_cast<gint64>(pts) - static_cast<gint64>(seg->start);
    if (GST_BUFFER_DURATION_IS_VALID(m_buffer.Get()))
        m_durationNs = static_cast<gint64>(GST_BUFFER_DURATION(m_buffer.Get()));

    if (!gst_buffer_map(m_buffer.Get(), &m_map, GST_MAP_READ)) return false;
    m_mapped = true;
    m_data = m_map.data;
    m_size = m_map.size;
    if (kind == StreamKind::Video) {
        GstVideoInfo vi;
        if (gst_video_info_from_caps(&vi, caps) && !IsPackedLayout(vi) &&
            PackVideoFrame(m_buffer.Get(), vi, scratch)) {
            m_data = scratch->data();
            m_size = scratch->size();
        }
    }
    return true;
}

}  // namespace zev::dshow
