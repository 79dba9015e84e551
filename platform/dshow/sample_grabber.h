// The sample grabber: hands every buffer that reaches it to the
// application's callback, converted to the media type it was told to
// accept, with the buffer's time in seconds from the position the graph was
// last set to. Buffers outside the graph's current range are never handed
// over (see GraphRunner for how the start of a run is held back). Internal.
#pragma once

#include <mutex>
#include <vector>

#include <gst/app/gstappsink.h>

#include "platform/dshow/filter_base.h"

namespace zev::dshow {

class SampleGrabber final : public FilterBase, public ISampleGrabber {
public:
    SampleGrabber();
    ~SampleGrabber() override;

    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    ULONG AddRef() override { return FilterBase::AddRef(); }
    ULONG Release() override { return FilterBase::Release(); }

    HRESULT SetOneShot(BOOL oneShot) override;
    HRESULT SetMediaType(const AM_MEDIA_TYPE* pType) override;
    HRESULT GetConnectedMediaType(AM_MEDIA_TYPE* pType) override;
    HRESULT SetBufferSamples(BOOL bufferThem) override;
    HRESULT GetCurrentBuffer(long* pBufferSize, long* pBuffer) override;
    HRESULT SetCallback(ISampleGrabberCB* callback, long whichMethod) override;
    HRESULT GetEndOfStream(BOOL* pEnded) override;

    bool AcceptInput(Pin* input, Pin* from, const MediaFormat& offered,
                     MediaFormat* agreed) override;
    MediaFormat OfferedFormat(const Pin* output) const override;
    GstElement* BuildBranch(Pin* input, const BranchContext& ctx) override;
    bool GatesDelivery() const override { return true; }
    void OnGraphStarting() override;

private:
    static GstFlowReturn OnSample(GstAppSink* sink, gpointer self);
    static void OnEndOfStream(GstAppSink* sink, gpointer self);
    void Deliver(GstSample* sample);

    Pin* m_input;
    Pin* m_output;
    AM_MEDIA_TYPE m_wanted{};
    std::mutex m_lock;  // guards what the owning thread sets and streaming threads read
    ISampleGrabberCB* m_callback = nullptr;
    long m_method = 1;
    bool m_bufferSamples = false;
    bool m_oneShot = false;
    bool m_shotTaken = false;
    // The last sample when buffering is on; copied out only when asked for,
    // so that buffering costs nothing per buffer.
    SampleRef m_last;
    bool m_ended = false;         // the stream delivered its last buffer
    std::vector<BYTE> m_scratch;  // repacked frames; streaming thread only
};

HRESULT CreateSampleGrabber(REFIID riid, void** ppv);

}  // namespace zev::dshow
