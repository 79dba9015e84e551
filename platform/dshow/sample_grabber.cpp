#include "platform/dshow/sample_grabber.h"

#include <gst/app/gstappsink.h>

#include "platform/dshow/delivery.h"

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
        if (riid == IID_IUnknown || riid == IID_IMediaSample)
            return ComAnswer<IMediaSample>(this, ppv);
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
    if (!m_bufferSamples) m_last.Reset();
    return S_OK;
}

HRESULT SampleGrabber::GetEndOfStream(BOOL* pEnded) {
    if (!pEnded) return E_POINTER;
    std::lock_guard<std::mutex> g(m_lock);
    *pEnded = m_ended ? TRUE : FALSE;
    return S_OK;
}

HRESULT SampleGrabber::GetCurrentBuffer(long* pBufferSize, long* pBuffer) {
    if (!pBufferSize) return E_POINTER;
    SampleRef last;
    {
        std::lock_guard<std::mutex> g(m_lock);
        if (!m_bufferSamples) return E_INVALIDARG;
        if (!m_last) return VFW_E_WRONG_STATE;
        last.Reset(gst_sample_ref(m_last.Get()));
    }
    std::vector<BYTE> scratch;
    DeliveredBuffer buffer;
    if (!buffer.Prepare(last.Get(), m_input->Format().kind, &scratch)) return VFW_E_WRONG_STATE;
    const auto size = static_cast<long>(buffer.Size());
    if (!pBuffer) {
        *pBufferSize = size;
        return S_OK;
    }
    if (*pBufferSize < size) return E_OUTOFMEMORY;
    std::memcpy(pBuffer, buffer.Data(), buffer.Size());
    *pBufferSize = size;
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
    m_ended = false;
}

GstElement* SampleGrabber::BuildBranch(Pin* input, const BranchContext& ctx) {
    GstElement* sink = MakeElement("appsink");
    if (!sink) return nullptr;
    g_object_set(sink, "sync", ctx.sync ? TRUE : FALSE, nullptr);
    GstAppSinkCallbacks cb{};
    cb.new_sample = &SampleGrabber::OnSample;
    cb.eos = &SampleGrabber::OnEndOfStream;
    gst_app_sink_set_callbacks(GST_APP_SINK(sink), &cb, this, nullptr);
    return MakeConvertingBranch(input->Format(), sink, BranchThread::Own);
}

GstFlowReturn SampleGrabber::OnSample(GstAppSink* sink, gpointer self) {
    SampleRef s(gst_app_sink_pull_sample(sink));
    if (s) static_cast<SampleGrabber*>(self)->Deliver(s.Get());
    return GST_FLOW_OK;
}

void SampleGrabber::OnEndOfStream(GstAppSink*, gpointer self) {
    auto* grabber = static_cast<SampleGrabber*>(self);
    std::lock_guard<std::mutex> g(grabber->m_lock);
    grabber->m_ended = true;
}

void SampleGrabber::Deliver(GstSample* sample) {
    DeliveredBuffer buffer;
    if (!buffer.Prepare(sample, m_input->Format().kind, &m_scratch)) return;
    ISampleGrabberCB* callback;
    long method;
    {
        std::lock_guard<std::mutex> g(m_lock);
        if (m_oneShot && m_shotTaken) return;
        m_shotTaken = true;
        m_ended = false;  // a seek after the end starts the stream again
        if (m_bufferSamples) m_last.Reset(gst_sample_ref(sample));
        callback = m_callback;
        method = m_method;
    }
    if (!callback) return;
    const double seconds = static_cast<double>(buffer.TimeNs()) / kNsPerSecond;
    const auto length = static_cast<long>(buffer.Size());
    if (method == 1) {
        callback->BufferCB(seconds, buffer.Data(), length);
    } else {
        const REFERENCE_TIME t0 = buffer.TimeNs() / kNsPer100ns;
        CallbackSample s(buffer.Data(), length, t0, t0 + buffer.DurationNs() / kNsPer100ns);
        callback->SampleCB(seconds, &s);
    }
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
