#include "platform/dshow/sample_grabber.h"

#include <gst/app/gstappsink.h>

namespace zev::dshow {
namespace {

constexpr double kNsPerSecond = 1e9;
constexpr REFERENCE_TIME kNsPer100ns = 100;

// The sample handed to SampleCB; valid only during the call.
class CallbackSample final : public IMediaSample {
public:
    CallbackSample(BYTE* data, long length, REFERENCE_TIME start, REFERENCE_TIME stop)
        : m_data(data), m_length(length), m_start(start), m_stop(stop) {}
    virtual ~CallbackSample() = default;
    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IMediaSample) return ComAnswer<IMediaSample>(this, ppv);
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return 2; }  // lives on the streaming thread's stack
    ULONG Release() override { return 1; }
    HRESULT GetPointer(BYTE** ppBuffer) override {
        if (!ppBuffer) return E_POINTER;
        *ppBuffer = m_data;
        return S_OK;
    }
    long GetActualDataLength() override { return m_length; }
    HRESULT GetTime(REFERENCE_TIME* start, REFERENCE_TIME* stop) override {
        if (!start || !stop) return E_POINTER;
        *start = m_start;
        *stop = m_stop;
        return S_OK;
    }

private:
    BYTE* m_data;
    long m_length;
    REFERENCE_TIME m_start;
    REFERENCE_TIME m_stop;
};

}  // namespace

SampleGrabber::SampleGrabber()
    : FilterBase(L"SampleGrabber"),
      m_input(AddPin(PINDIR_INPUT, L"Input")),
      m_output(AddPin(PINDIR_OUTPUT, L"Output")) {}

SampleGrabber::~SampleGrabber() = default;

HRESULT SampleGrabber::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IID_ISampleGrabber) return ComAnswer<ISampleGrabber>(this, ppv);
    return FilterBase::QueryInterface(riid, ppv);
}

HRESULT SampleGrabber::SetOneShot(BOOL oneShot) {
    std::lock_guard<std::mutex> g(m_lock);
    m_oneShot = oneShot != FALSE;
    return S_OK;
}

HRESULT SampleGrabber::SetMediaType(const AM_MEDIA_TYPE* pType) {
    if (!pType) return E_POINTER;
    m_wanted = AM_MEDIA_TYPE{};
    m_wanted.majortype = pType->majortype;
    m_wanted.subtype = pType->subtype;
    m_wanted.formattype = pType->formattype;
    return S_OK;
}

HRESULT SampleGrabber::GetConnectedMediaType(AM_MEDIA_TYPE* pType) {
    if (!pType) return E_POINTER;
    std::memset(pType, 0, sizeof *pType);
    if (!m_input->Peer()) return VFW_E_NOT_CONNECTED;
    return FormatToMediaType(m_input->Format(), pType);
}

HRESULT SampleGrabber::SetBufferSamples(BOOL bufferThem) {
    std::lock_guard<std::mutex> g(m_lock);
    m_bufferSamples = bufferThem != FALSE;
    if (!m_bufferSamples) m_last.clear();
    return S_OK;
}

HRESULT SampleGrabber::GetCurrentBuffer(long* pBufferSize, long* pBuffer) {
    if (!pBufferSize) return E_POINTER;
    std::lock_guard<std::mutex> g(m_lock);
    if (!m_bufferSamples) return E_INVALIDARG;
    if (m_last.empty()) return VFW_E_WRONG_STATE;
    if (!pBuffer) {
        *pBufferSize = static_cast<long>(m_last.size());
        return S_OK;
    }
    if (*pBufferSize < static_cast<long>(m_last.size())) return E_OUTOFMEMORY;
    std::memcpy(pBuffer, m_last.data(), m_last.size());
    *pBufferSize = static_cast<long>(m_last.size());
    return S_OK;
}

HRESULT SampleGrabber::SetCallback(ISampleGrabberCB* callback, long whichMethod) {
    if (whichMethod != 0 && whichMethod != 1) return E_INVALIDARG;
    std::lock_guard<std::mutex> g(m_lock);
    m_callback = callback;
    m_method = whichMethod;
    return S_OK;
}

bool SampleGrabber::AcceptInput(Pin* input, Pin*, const MediaFormat& offered, MediaFormat* agreed) {
    return input == m_input && NegotiateFormat(offered, m_wanted, agreed);
}

MediaFormat SampleGrabber::OfferedFormat(const Pin* output) const {
    return output == m_output && m_input->Peer() ? m_input->Format() : MediaFormat{};
}

void SampleGrabber::OnGraphStarting() {
    std::lock_guard<std::mutex> g(m_lock);
    m_shotTaken = false;
}

GstElement* SampleGrabber::BuildBranch(Pin* input, const BranchContext& ctx) {
    GstElement* sink = MakeElement("appsink");
    if (!sink) return nullptr;
    g_object_set(sink, "sync", ctx.sync ? TRUE : FALSE, nullptr);
    GstAppSinkCallbacks cb{};
    cb.new_sample = &SampleGrabber::OnSample;
    gst_app_sink_set_callbacks(GST_APP_SINK(sink), &cb, this, nullptr);
    return MakeConvertingBranch(input->Format(), sink);
}

GstFlowReturn SampleGrabber::OnSample(GstAppSink* sink, gpointer self) {
    SampleRef s(gst_app_sink_pull_sample(sink));
    if (s) static_cast<SampleGrabber*>(self)->Deliver(s.Get());
    return GST_FLOW_OK;
}

void SampleGrabber::Deliver(GstSample* sample) {
    const GstSegment* seg = gst_sample_get_segment(sample);
    GstCaps* caps = gst_sample_get_caps(sample);
    GstRef<GstBuffer> buffer(gst_buffer_ref(gst_sample_get_buffer(sample)));
    if (!seg || !caps || !buffer) return;
    const bool isAudio = m_input->Format().kind == StreamKind::Audio;

    // Nothing outside the range the graph was set to reaches the callback.
    if (isAudio) {
        GstAudioInfo ai;
        if (!gst_audio_info_from_caps(&ai, caps)) return;
        buffer.Reset(gst_audio_buffer_clip(buffer.Release(), seg, GST_AUDIO_INFO_RATE(&ai),
                                           GST_AUDIO_INFO_BPF(&ai)));
        if (!buffer) return;
    } else if (GST_BUFFER_PTS_IS_VALID(buffer.Get())) {
        guint64 start = GST_BUFFER_PTS(buffer.Get());
        guint64 stop = GST_BUFFER_DURATION_IS_VALID(buffer.Get())
                           ? start + GST_BUFFER_DURATION(buffer.Get())
                           : start + 1;
        guint64 clippedStart = start;
        if (!gst_segment_clip(seg, GST_FORMAT_TIME, start, stop, &clippedStart, nullptr)) return;
        // A picture that straddles the start counts from the start: no
        // negative times reach the receiver.
        if (clippedStart != start) {
            buffer.Reset(gst_buffer_make_writable(buffer.Release()));
            GST_BUFFER_PTS(buffer.Get()) = clippedStart;
        }
    }

    GstClockTime pts = GST_BUFFER_PTS(buffer.Get());
    double seconds = 0;
    REFERENCE_TIME t0 = 0, t1 = 0;
    if (GST_CLOCK_TIME_IS_VALID(pts)) {
        const gint64 rel = static_cast<gint64>(pts) - static_cast<gint64>(seg->start);
        seconds = static_cast<double>(rel) / kNsPerSecond;
        t0 = rel / kNsPer100ns;
        t1 = t0;
        if (GST_BUFFER_DURATION_IS_VALID(buffer.Get()))
            t1 += static_cast<REFERENCE_TIME>(GST_BUFFER_DURATION(buffer.Get()) / kNsPer100ns);
    }

    GstMapInfo map;
    if (!gst_buffer_map(buffer.Get(), &map, GST_MAP_READ)) return;
    BYTE* data = map.data;
    size_t size = map.size;
    if (!isAudio) {
        GstVideoInfo vi;
        if (gst_video_info_from_caps(&vi, caps) && !IsPackedLayout(vi) &&
            PackVideoFrame(buffer.Get(), vi, &m_scratch)) {
            data = m_scratch.data();
            size = m_scratch.size();
        }
    }

    ISampleGrabberCB* callback;
    long method;
    {
        std::lock_guard<std::mutex> g(m_lock);
        if (m_oneShot && m_shotTaken) {
            gst_buffer_unmap(buffer.Get(), &map);
            return;
        }
        m_shotTaken = true;
        if (m_bufferSamples) m_last.assign(data, data + size);
        callback = m_callback;
        method = m_method;
    }
    if (callback) {
        if (method == 1) {
            callback->BufferCB(seconds, data, static_cast<long>(size));
        } else {
            CallbackSample s(data, static_cast<long>(size), t0, t1);
            callback->SampleCB(seconds, &s);
        }
    }
    gst_buffer_unmap(buffer.Get(), &map);
}

HRESULT CreateSampleGrabber(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (!EnsureGstInit()) return E_FAIL;
    auto* f = new SampleGrabber;
    HRESULT hr = f->QueryInterface(riid, ppv);
    f->Release();
    return hr;
}

}  // namespace zev::dshow
