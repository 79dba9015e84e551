#include "convert/wmf9/decode_graph.h"

#include "convert/engine/graph_helpers.h"
#include "convert/engine/wide_path.h"

namespace {

constexpr wchar_t kMpeg1SplitterName[] = L"MPEG-I Stream Splitter";
constexpr long kBufferCallback = 1;

// What differs between the video and the audio branch.
struct BranchSpec {
    const wchar_t* rendererName;
    const wchar_t* grabberName;
    const wchar_t* nullRendererName;
    const char* noRendererMsg;
    const char* createGrabberMsg;
    const char* addGrabberMsg;
    const char* setWriterMsg;
    const char* findGrabberMsg;
    const char* createNullMsg;
    const char* addNullMsg;
    bool checkConnect;  // a video branch that cannot connect ends the job
};

constexpr BranchSpec kVideoBranch = {
    kVideoRendererName,
    L"SampleGrbV",
    L"NullRenderV",
    "Info: file have no Video Render! No video converted, Error=0X%08X\r\n",
    "Failed to create SampleGrabber Video Filter, Error 0X%08X, Mission aborted!\r\n",
    "Failed to add SampleGrb filter to Graph!  Error=0X%08X, Mission aborted!\r\n",
    "Failed to set Writer in grabber samples, Error = 0X%08X Mission aborted!\r\n",
    "Failed to find SampleGrb in base filter! Error=0X%08X, Mirror aborted!\r\n",
    "Failed to create NULL render Filter, Error 0X%08X, Mission aborted!\r\n",
    "Failed to add NULL Render filter to Graph!  Error=0X%08X, Mission aborted!\r\n",
    true,
};

constexpr BranchSpec kAudioBranch = {
    kAudioRendererName,
    L"SampleGrbA",
    L"NullRenderA",
    "Info: source file have no Audio Render! No Audio converted, Error=0X%08X\r\n",
    "Failed to create SampleGrabber Audio Filter, error 0X%08X, Mission aborted!\r\n",
    "Failed to add SampleGrb Audio filter to Graph!  Error=0X%08X, Mission aborted!\r\n",
    "Failed to set Writer Audio to grabber samples, Error = 0X%08X, Mission aborted!\r\n",
    "Failed to find SampleGrb A in base filter! Error=0X%08X, Mirror aborted!\r\n",
    "Failed to create NULL render A Filter, Error 0X%08X, Mission aborted!\r\n",
    "Failed to add NULL Render A filter to Graph!  Error=0X%08X, Mission aborted!\r\n",
    false,
};

// The members of CConvertor that one branch fills.
struct BranchSlots {
    IBaseFilter*& grabberFilter;
    ISampleGrabber*& grabber;
    IBaseFilter*& nullRenderer;
    CGrabberCallback& callback;
};

// Names the filter that owns `decoderOut` in the log.
void ReportDecoder(const LogChannel& log, IPin* decoderOut) {
    PIN_INFO pin = {};
    if (!decoderOut || FAILED(decoderOut->QueryPinInfo(&pin))) return;
    const ComPtr<IBaseFilter> owner(pin.pFilter);
    FILTER_INFO filter = {};
    if (owner && SUCCEEDED(owner->QueryFilterInfo(&filter))) {
        const ComPtr<IFilterGraph> graph(filter.pGraph);
        log.PrintfTraced("Use decoder filter: %ls\r\n", filter.achName);
    }
}

// Takes the renderer out of the graph; returns the decoder's output pin
// that fed it, or an empty pointer.
ComPtr<IPin> CutOutRenderer(CConvertor& c, IBaseFilter* renderer) {
    const ComPtr<IPin> rendererIn(FirstPin(renderer, PINDIR_INPUT));
    ComPtr<IPin> decoderOut;
    if (rendererIn) rendererIn->ConnectedTo(decoderOut.Put());
    ReportDecoder(c.m_log, decoderOut.Get());
    if (decoderOut) decoderOut->Disconnect();
    if (rendererIn) rendererIn->Disconnect();
    c.m_pGraph->RemoveFilter(renderer);
    return decoderOut;
}

AM_MEDIA_TYPE GrabberMediaType(CConvertor& c, StreamKind kind) {
    AM_MEDIA_TYPE mt = {};
    if (kind == StreamKind::Audio) {
        mt.majortype = MEDIATYPE_Audio;
        mt.subtype = MEDIASUBTYPE_PCM;
        mt.formattype = FORMAT_WaveFormatEx;
        return mt;
    }
    mt.majortype = MEDIATYPE_Video;
    // The MPEG-1 splitter's decoder is asked for RGB24; other decoders keep
    // whatever uncompressed type they agree on with the grabber.
    ComPtr<IBaseFilter> splitter;
    if (SUCCEEDED(c.m_pGraph->FindFilterByName(kMpeg1SplitterName, splitter.Put())) && splitter)
        mt.subtype = MEDIASUBTYPE_RGB24;
    return mt;
}

bool ConnectPins(IGraphBuilder* graph, IBaseFilter* from, IBaseFilter* to, HRESULT* result) {
    const ComPtr<IPin> out(FirstPin(from, PINDIR_OUTPUT));
    const ComPtr<IPin> in(FirstPin(to, PINDIR_INPUT));
    const HRESULT hr = out && in ? graph->Connect(out.Get(), in.Get()) : E_POINTER;
    if (result) *result = hr;
    return SUCCEEDED(hr);
}

// Grabber and null renderer in place of the renderer; `decoderOut` is the
// pin to connect the grabber to.
bool InsertGrabber(CConvertor& c, const BranchSpec& spec, BranchSlots slots, StreamKind kind,
                   IPin* decoderOut) {
    const LogChannel& log = c.m_log;
    HRESULT hr = CoCreateInstance(CLSID_SampleGrabber, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IBaseFilter, reinterpret_cast<void**>(&slots.grabberFilter));
    if (FAILED(hr) || !slots.grabberFilter) {
        log.Printf(spec.createGrabberMsg, Hex(FAILED(hr) ? hr : E_POINTER));
        return false;
    }
    hr = c.m_pGraph->AddFilter(slots.grabberFilter, spec.grabberName);
    if (FAILED(hr)) {
        log.Printf(spec.addGrabberMsg, Hex(hr));
        log.Send("Failed to Add SampleGrb to Graph, mission aborted!\r\n");
        return false;
    }
    hr = slots.callback.SetWriter(c.m_pWriter);
    if (FAILED(hr)) {
        log.Printf(spec.setWriterMsg, Hex(hr));
        return false;
    }
    hr = slots.grabberFilter->QueryInterface(IID_ISampleGrabber,
                                             reinterpret_cast<void**>(&slots.grabber));
    if (!slots.grabber) {
        log.Printf(spec.findGrabberMsg, Hex(FAILED(hr) ? hr : E_NOINTERFACE));
        return false;
    }
    slots.grabber->SetCallback(&slots.callback, kBufferCallback);
    slots.grabber->SetBufferSamples(TRUE);
    const AM_MEDIA_TYPE accepted = GrabberMediaType(c, kind);
    slots.grabber->SetMediaType(&accepted);

    hr = CoCreateInstance(CLSID_NullRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                          reinterpret_cast<void**>(&slots.nullRenderer));
    if (FAILED(hr) || !slots.nullRenderer) {
        log.PrintfTraced(spec.createNullMsg, Hex(FAILED(hr) ? hr : E_POINTER));
        return false;
    }
    hr = c.m_pGraph->AddFilter(slots.nullRenderer, spec.nullRendererName);
    if (FAILED(hr)) {
        log.Printf(spec.addNullMsg, Hex(hr));
        return false;
    }
    const ComPtr<IPin> grabberIn(FirstPin(slots.grabberFilter, PINDIR_INPUT));
    hr = decoderOut && grabberIn ? c.m_pGraph->Connect(decoderOut, grabberIn.Get()) : E_POINTER;
    if (spec.checkConnect && FAILED(hr)) {
        log.PrintfTraced(
            "Failed to connect Grab filter with others!  Error=0X%08X, Mission "
            "aborted!\r\n",
            Hex(hr));
        return false;
    }
    ConnectPins(c.m_pGraph, slots.grabberFilter, slots.nullRenderer, nullptr);
    return true;
}

// One branch; a source without that renderer skips it and the job goes on.
bool ReplaceRenderer(CConvertor& c, const BranchSpec& spec, BranchSlots slots, StreamKind kind) {
    ComPtr<IBaseFilter> renderer;
    const HRESULT hr = c.m_pGraph->FindFilterByName(spec.rendererName, renderer.Put());
    if (FAILED(hr) || !renderer) {
        c.m_log.Printf(spec.noRendererMsg, Hex(hr));
        return true;
    }
    const ComPtr<IPin> decoderOut = CutOutRenderer(c, renderer.Get());
    renderer.Reset();
    return InsertGrabber(c, spec, slots, kind, decoderOut.Get());
}

}  // namespace

bool BuildDecodeGraph(CConvertor& c, const char* szSourceFN) {
    HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IGraphBuilder, reinterpret_cast<void**>(&c.m_pGraph));
    if (FAILED(hr) || !c.m_pGraph) {
        c.m_log.Send("Failed to Create Graphbuilder, mission aborted!\r\n");
        return false;
    }
    WCHAR wszSourceFN[kMaxPathChars];
    hr = ToWidePath(szSourceFN, wszSourceFN);
    // A path the graph never saw is not an unrecognised format.
    if (const std::string line = UnusablePathLine("Source", hr); !line.empty()) {
        c.m_log.Send(line.c_str());
        return false;
    }
    if (SUCCEEDED(hr)) hr = c.m_pGraph->RenderFile(wszSourceFN, nullptr);
    if (FAILED(hr)) {
        c.m_log.Printf("Unrecognized source file format in %s!  Error=0X%08X, Mission Aborted!\r\n",
                       szSourceFN, Hex(hr));
        c.m_log.Send(
            "Unrecogonized source file format, pleae ensure WMP can play it! Mission aborted!\r\n");
        return false;
    }
    const BranchSlots video = {c.m_pVideoGrabberFilter, c.m_pVideoGrabber, c.m_pVideoNullRenderer,
                               c.m_videoCallback};
    if (!ReplaceRenderer(c, kVideoBranch, video, StreamKind::Video)) return false;
    const BranchSlots audio = {c.m_pAudioGrabberFilter, c.m_pAudioGrabber, c.m_pAudioNullRenderer,
                               c.m_audioCallback};
    if (!ReplaceRenderer(c, kAudioBranch, audio, StreamKind::Audio)) return false;
    // The first stream of each kind is converted; the others must neither
    // sound nor slow the job down.
    if (const int ignored = DiscardUnconvertedStreams(c.m_pGraph); ignored > 0)
        c.m_log.Printf(kFirstSoundTrackLine, ignored + 1);
    return true;
}
