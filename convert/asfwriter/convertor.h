// The engine object of one Convert call of the fallback engine: the graph,
// the ASF writer filter with its two configuration interfaces, the profile,
// and the caller's log channel and slots. Built on entry, destroyed before
// Convert returns.
#pragma once

#include "convert/engine/engine_call.h"
#include "convert/asfwriter/echo_log.h"
#include "convert/engine/wide_path.h"
#include "platform/dshow/dshow.h"
#include "platform/wmf/wmsdk.h"

class CConvertor : public CEngineCall {
public:
    CConvertor() = default;
    // Releases everything in the engine's fixed order; the base then clears
    // the caller's slots and uninitialises COM.
    ~CConvertor();

    EchoLog m_log;

    IGraphBuilder* m_pGraph = nullptr;
    IBaseFilter* m_pWriterFilter = nullptr;  // "Mux"
    IFileSinkFilter* m_pFileSink = nullptr;
    IConfigAsfWriter* m_pConfig = nullptr;
    IWMProfile* m_pProfile = nullptr;
    IMediaControl* m_pMediaControl = nullptr;
    IMediaPosition* m_pMediaPosition = nullptr;
    IMediaSeeking* m_pMediaSeeking = nullptr;

    WCHAR m_wszSourceFN[kMaxPathChars] = {};
    WCHAR m_wszDestFN[kMaxPathChars] = {};
};
