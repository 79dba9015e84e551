// The sample grabber callback: takes each decoded buffer on a streaming
// thread, paces it against the other stream, copies it into a writer sample
// and writes it. The video callback also reports progress and ends the job
// once video passes the end of the range.
//
// Lifetime: embedded in CConvertor; the grabbers borrow it, so AddRef and
// Release do not count. The writer and the event sink are borrowed too.
#pragma once

#include <atomic>

#include "convert/wmf9/pacing.h"
#include "platform/dshow/dshow.h"
#include "platform/wmf/wmsdk.h"

// Writer inputs: the profile's audio stream is input 0, video input 1.
inline constexpr DWORD kAudioWriterInput = 0;
inline constexpr DWORD kVideoWriterInput = 1;

class CGrabberCallback final : public ISampleGrabberCB {
public:
    explicit CGrabberCallback(StreamKind kind) : m_isAudio(kind == StreamKind::Audio ? 1 : 0) {}
    virtual ~CGrabberCallback() = default;
    CGrabberCallback(const CGrabberCallback&) = delete;
    CGrabberCallback& operator=(const CGrabberCallback&) = delete;

    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }
    HRESULT SampleCB(double SampleTime, IMediaSample* pSample) override { return S_OK; }
    HRESULT BufferCB(double SampleTime, BYTE* pBuffer, long BufferLen) override;

    // E_POINTER when there is no writer.
    HRESULT SetWriter(IWMWriter* pWriter);
    // Video only: where progress goes and how long the range is (100 ns).
    void SetProgress(int* pProgress, double rangeLength) {
        m_pProgress = pProgress;
        m_rangeLength = rangeLength;
    }
    // The graph's sink for the end-of-range signal (video) and for a file
    // that can no longer be written (both); NULL takes it back.
    void SetEventSink(IMediaEventSink* pSink) { m_pEventSink.store(pSink); }

private:
    void WriteBuffer(DWORD input, const BYTE* pBuffer, long BufferLen);
    void DeliverAudio(double t, double base, const BYTE* pBuffer, long BufferLen);
    void DeliverVideo(double t, double base, const BYTE* pBuffer, long BufferLen);

    std::atomic<IMediaEventSink*> m_pEventSink{nullptr};
    std::atomic<bool> m_writeFailed{false};
    int* m_pProgress = nullptr;
    double m_rangeLength = 0.0;
    LONGLONG m_sampleTime = 0;
    const int m_isAudio;
    IWMWriter* m_pWriter = nullptr;
};
