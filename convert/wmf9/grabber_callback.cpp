#include "convert/wmf9/grabber_callback.h"

#include <cstring>

#include "convert/engine/log_channel.h"
#include "convert/common/progress_cell.h"

HRESULT CGrabberCallback::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IID_ISampleGrabberCB || riid == IID_IUnknown) {
        *ppv = static_cast<ISampleGrabberCB*>(this);
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

HRESULT CGrabberCallback::SetWriter(IWMWriter* pWriter) {
    if (!pWriter) return E_POINTER;
    m_pWriter = pWriter;
    return S_OK;
}

HRESULT CGrabberCallback::BufferCB(double SampleTime, BYTE* pBuffer, long BufferLen) {
    PacingClocks& pacing = LibraryPacing();
    const double t = SampleTime * static_cast<double>(kUnitsPerSecond);
    const double base = pacing.BaseTime(t);
    m_sampleTime = static_cast<LONGLONG>(t);

    if (m_rangeLength != 0.0 && m_pProgress) {
        if ((t - base) / m_rangeLength > 1.0) {
            if (IMediaEventSink* sink = m_pEventSink.load()) sink->Notify(EC_COMPLETE, 0, 0);
            return S_OK;
        }
    }
    if (m_isAudio)
        DeliverAudio(t, base, pBuffer, BufferLen);
    else
        DeliverVideo(t, base, pBuffer, BufferLen);
    return S_OK;
}

void CGrabberCallback::DeliverAudio(double t, double base, const BYTE* pBuffer, long BufferLen) {
    PacingClocks& pacing = LibraryPacing();
    Trace("    Buffer Audio Begin time is %.0f, Sample time is %.0f\r\n", base, t);
    if (pacing.Clock(StreamKind::Audio) == 0.0) pacing.SetClock(StreamKind::Audio, t);
    pacing.WaitForOther(StreamKind::Audio);
    WriteBuffer(kAudioWriterInput, pBuffer, BufferLen);
    // A buffer stamped 0 must not hold the other stream back.
    pacing.Delivered(StreamKind::Audio, t == 0.0 ? pacing.Clock(StreamKind::Video) + 1.0 : t);
}

void CGrabberCallback::DeliverVideo(double t, double base, const BYTE* pBuffer, long BufferLen) {
    PacingClocks& pacing = LibraryPacing();
    Trace("    Buffer Video Begin time is %.0f, Sample time is %.0f\r\n", base, t);
    if (pacing.Clock(StreamKind::Video) == 0.0) pacing.SetClock(StreamKind::Video, t);
    pacing.WaitForOther(StreamKind::Video);
    WriteBuffer(kVideoWriterInput, pBuffer, BufferLen);
    if (m_rangeLength != 0.0 && m_pProgress) {
        const double progress = (t - base) / m_rangeLength * 100.0;
        StoreProgress(m_pProgress, static_cast<int>(progress));
        Trace("    Progress is %.4f \r\n", progress);
    }
    pacing.Delivered(StreamKind::Video, t == 0.0 ? pacing.Clock(StreamKind::Audio) + 1.0 : t);
}

void CGrabberCallback::WriteBuffer(DWORD input, const BYTE* pBuffer, long BufferLen) {
    if (!m_pWriter || !pBuffer || BufferLen < 0) return;
    INSSBuffer* pSample = nullptr;
    // A buffer the writer cannot take is dropped; the stream goes on.
    if (FAILED(m_pWriter->AllocateSample(static_cast<DWORD>(BufferLen), &pSample)) || !pSample)
        return;
    BYTE* pData = nullptr;
    if (SUCCEEDED(pSample->GetBuffer(&pData)) && pData) {
        std::memcpy(pData, pBuffer, static_cast<size_t>(BufferLen));
        pSample->SetLength(static_cast<DWORD>(BufferLen));
        const HRESULT hr =
            m_pWriter->WriteSample(input, static_cast<QWORD>(m_sampleTime), 0, pSample);
        // Once the file cannot be written, decoding the rest is pointless:
        // the job ends as by an error, and finishing reports the failure.
        if (IsOutputFileFailure(hr) && !m_writeFailed.exchange(true))
            if (IMediaEventSink* sink = m_pEventSink.load())
                sink->Notify(EC_ERRORABORT, static_cast<LONG_PTR>(hr), 0);
    }
    pSample->Release();
}
