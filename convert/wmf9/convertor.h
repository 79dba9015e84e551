// The engine object of one Convert call: every interface the job acquires,
// the caller's log channel and slots, and the two sample callbacks. Built on
// entry, destroyed before Convert returns, never shared between calls.
#pragma once

#include "convert/engine/engine_call.h"
#include "convert/engine/log_channel.h"
#include "convert/engine/source_end.h"
#include "convert/engine/wide_path.h"
#include "convert/wmf9/grabber_callback.h"
#include "platform/dshow/dshow.h"
#include "platform/wmf/wmsdk.h"

class CConvertor : public CEngineCall {
public:
    CConvertor() = default;
    // Releases everything in the engine's fixed order; the base then clears
    // the caller's slots and uninitialises COM.
    ~CConvertor();

    LogChannel m_log;

    IWMWriter* m_pWriter = nullptr;
    IWMProfile* m_pProfile = nullptr;
    IGraphBuilder* m_pGraph = nullptr;
    IMediaControl* m_pMediaControl = nullptr;
    IMediaPosition* m_pMediaPosition = nullptr;
    IMediaSeeking* m_pMediaSeeking = nullptr;

    IBaseFilter* m_pVideoGrabberFilter = nullptr;  // "SampleGrbV"
    ISampleGrabber* m_pVideoGrabber = nullptr;
    IBaseFilter* m_pVideoNullRenderer = nullptr;   // "NullRenderV"
    IBaseFilter* m_pAudioGrabberFilter = nullptr;  // "SampleGrbA"
    ISampleGrabber* m_pAudioGrabber = nullptr;
    IBaseFilter* m_pAudioNullRenderer = nullptr;  // "NullRenderA"

    CGrabberCallback m_videoCallback{StreamKind::Video};
    CGrabberCallback m_audioCallback{StreamKind::Audio};

    // The source as it was when the job began, and the range's end (100 ns).
    CSourceWatch m_source;
    LONGLONG m_rangeEnd = 0;

    // The destination as the writer and the metadata editor see it.
    WCHAR m_wszDestFN[kMaxPathChars] = {};
};
