#include "platform/dshow/filter_graph.h"

#include <cstdio>

#include "platform/dshow/com_enumerator.h"
#include "platform/dshow/discovery.h"
#include "platform/dshow/renderers.h"

namespace zev::dshow {
namespace {

Pin* AsPin(IPin* p) {
    return p ? dynamic_cast<Pin*>(p) : nullptr;
}

std::wstring StreamPinName(StreamKind kind, int index) {
    std::wstring name = kind == StreamKind::Video ? L"Video" : L"Audio";
    if (index > 0) name += L" " + std::to_wstring(index);
    return name;
}

// Links two pins of the reading chain, which are fixed when the file is read.
void LinkChain(Pin* out, Pin* in, const MediaFormat& format) {
    out->Attach(in, format);
    in->Attach(out, format);
}

}  // namespace

FilterGraph::FilterGraph() : m_runner(m_events) {}

FilterGraph::~FilterGraph() {
    StopPipeline();
    while (!m_filters.empty()) DetachFilter(m_filters.back().filter);
}

HRESULT FilterGraph::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IFilterGraph || riid == IID_IGraphBuilder)
        return ComAnswer<IGraphBuilder>(this, ppv);
    if (riid == IID_IMediaControl) return ComAnswer<IMediaControl>(this, ppv);
    if (riid == IID_IMediaPosition) return ComAnswer<IMediaPosition>(this, ppv);
    if (riid == IID_IMediaSeeking) return ComAnswer<IMediaSeeking>(this, ppv);
    if (riid == IID_IMediaEvent || riid == IID_IMediaEventEx)
        return ComAnswer<IMediaEventEx>(this, ppv);
    if (riid == IID_IMediaEventSink) return ComAnswer<IMediaEventSink>(this, ppv);
    if (riid == IID_IMediaFilter) return ComAnswer<IMediaFilter>(this, ppv);
    if (riid == IID_IVideoWindow) return ComAnswer<IVideoWindow>(this, ppv);
    *ppv = nullptr;
    return E_NOINTERFACE;
}

bool FilterGraph::CanChangeTopology() {
    if (!IsStopped()) return false;
    DropCue();
    return true;
}

FilterBase* FilterGraph::FindByName(const std::wstring& name) const {
    for (const auto& e : m_filters)
        if (e.filter->Name() == name) return e.filter;
    return nullptr;
}

bool FilterGraph::Contains(const FilterBase* f) const {
    for (const auto& e : m_filters)
        if (e.filter == f) return true;
    return false;
}

std::wstring FilterGraph::UniqueName(const std::wstring& wanted) const {
    if (!FindByName(wanted)) return wanted;
    // Same scheme as the platform's graphs: "Name 0001", "Name 0002", ...
    for (int i = 1;; ++i) {
        wchar_t suffix[16];
        std::swprintf(suffix, 16, L" %04d", i);
        std::wstring candidate = wanted + suffix;
        if (!FindByName(candidate)) return candidate;
    }
}

HRESULT FilterGraph::AddFilter(IBaseFilter* pFilter, LPCWSTR pName) {
    auto* f = pFilter ? dynamic_cast<FilterBase*>(pFilter) : nullptr;
    if (!f) return E_POINTER;
    if (!CanChangeTopology()) return VFW_E_WRONG_STATE;
    if (f->Host()) return E_INVALIDARG;  // already in a graph
    std::wstring name = UniqueName(pName && *pName ? std::wstring(pName) : f->DefaultName());
    f->AddRef();
    m_filters.push_back(Entry{f});
    f->JoinGraph(this, std::move(name));
    return S_OK;
}

void FilterGraph::DetachFilter(FilterBase* f) {
    for (const auto& pin : f->Pins()) {
        Pin* peer = pin->Peer();
        if (peer && peer->Peer() == pin.get()) peer->Detach();
        pin->Detach();
    }
    for (auto it = m_filters.begin(); it != m_filters.end(); ++it) {
        if (it->filter == f) {
            m_filters.erase(it);
            break;
        }
    }
    f->JoinGraph(nullptr, {});
    f->Release();
}

HRESULT FilterGraph::RemoveFilter(IBaseFilter* pFilter) {
    auto* f = pFilter ? dynamic_cast<FilterBase*>(pFilter) : nullptr;
    if (!f) return E_POINTER;
    if (!Contains(f)) return VFW_E_NOT_FOUND;
    if (!CanChangeTopology()) return VFW_E_WRONG_STATE;
    DetachFilter(f);
    return S_OK;
}

HRESULT FilterGraph::EnumFilters(IEnumFilters** ppEnum) {
    if (!ppEnum) return E_POINTER;
    std::vector<ComPtr<IBaseFilter>> filters;
    for (const auto& e : m_filters) {
        e.filter->AddRef();
        filters.emplace_back(e.filter);
    }
    *ppEnum = new ComEnumerator<IEnumFilters, IBaseFilter>(std::move(filters));
    return S_OK;
}

HRESULT FilterGraph::FindFilterByName(LPCWSTR pName, IBaseFilter** ppFilter) {
    if (!ppFilter) return E_POINTER;
    *ppFilter = nullptr;
    if (!pName) return E_POINTER;
    FilterBase* f = FindByName(pName);
    if (!f) return VFW_E_NOT_FOUND;
    f->AddRef();
    *ppFilter = f;
    return S_OK;
}

HRESULT FilterGraph::ConnectPins(Pin* out, Pin* in) {
    if (!out || !in) return E_POINTER;
    if (out->Direction() != PINDIR_OUTPUT || in->Direction() != PINDIR_INPUT) return E_INVALIDARG;
    if (!Contains(out->Owner()) || !Contains(in->Owner())) return VFW_E_NOT_IN_GRAPH;
    if (!CanChangeTopology()) return VFW_E_WRONG_STATE;
    if (out->Peer() || in->Peer()) return VFW_E_ALREADY_CONNECTED;
    const MediaFormat offered = out->Owner()->OfferedFormat(out);
    if (offered.kind == StreamKind::Other && !out->Owner()->IsSourceChain())
        return VFW_E_NOT_CONNECTED;
    MediaFormat agreed;
    if (!in->Owner()->AcceptInput(in, out, offered, &agreed)) return VFW_E_CANNOT_CONNECT;
    out->Attach(in, agreed);
    in->Attach(out, agreed);
    return S_OK;
}

HRESULT FilterGraph::Connect(IPin* ppinOut, IPin* ppinIn) {
    return ConnectPins(AsPin(ppinOut), AsPin(ppinIn));
}

HRESULT FilterGraph::ConnectDirect(IPin* ppinOut, IPin* ppinIn, const AM_MEDIA_TYPE* pmt) {
    Pin* out = AsPin(ppinOut);
    if (pmt && out && pmt->majortype != GUID_NULL) {
        const MediaFormat offered = out->Owner()->OfferedFormat(out);
        MediaFormat agreed;
        if (!NegotiateFormat(offered, *pmt, &agreed)) return VFW_E_CANNOT_CONNECT;
    }
    return ConnectPins(out, AsPin(ppinIn));
}

HRESULT FilterGraph::Disconnect(IPin* ppin) {
    Pin* p = AsPin(ppin);
    if (!p) return E_POINTER;
    return p->Disconnect();
}

HRESULT FilterGraph::RenderPin(Pin* out) {
    if (!out || out->Direction() != PINDIR_OUTPUT) return E_INVALIDARG;
    if (out->Peer()) return VFW_E_ALREADY_CONNECTED;
    // Filters already in the graph come first, as a configured writer
    // placed there before the file was rendered must receive the streams.
    for (const auto& e : std::vector<Entry>(m_filters)) {
        if (e.filter->IsSourceChain()) continue;
        for (const auto& pin : e.filter->Pins())
            if (pin->Direction() == PINDIR_INPUT && !pin->Peer() &&
                SUCCEEDED(ConnectPins(out, pin.get())))
                return S_OK;
    }
    const StreamKind kind = out->Owner()->OfferedFormat(out).kind;
    FilterBase* renderer = nullptr;
    if (kind == StreamKind::Video) renderer = new VideoRenderer;
    if (kind == StreamKind::Audio) renderer = new AudioRenderer;
    if (!renderer) return VFW_E_CANNOT_RENDER;
    HRESULT hr = AddFilter(renderer, nullptr);
    renderer->Release();
    if (FAILED(hr)) return hr;
    hr = ConnectPins(out, renderer->FirstPin(PINDIR_INPUT));
    if (FAILED(hr)) DetachFilter(renderer);
    return hr;
}

HRESULT FilterGraph::Render(IPin* ppinOut) {
    if (!CanChangeTopology()) return VFW_E_WRONG_STATE;
    return RenderPin(AsPin(ppinOut));
}

HRESULT FilterGraph::RenderFile(LPCWSTR lpcwstrFile, LPCWSTR) {
    if (!lpcwstrFile) return E_POINTER;
    if (!CanChangeTopology()) return VFW_E_WRONG_STATE;
    if (!EnsureGstInit()) return E_FAIL;
    const std::string path = WideToUtf8(lpcwstrFile);
    Discovery found;
    HRESULT hr = DiscoverFile(path, &found);
    if (FAILED(hr)) return hr;

    // The platform names a file's source filter after the file.
    auto* source = new SourceFilter(path, lpcwstrFile, found.durationNs, found.originNs);
    source->KeepPreroll(std::move(found.held));
    AddFilter(source, lpcwstrFile);
    source->Release();
    std::vector<FilterBase*> added{source};
    auto addChain = [&](const std::string& name) {
        auto* f = new ChainFilter(Utf8ToWide(name.c_str()));
        AddFilter(f, f->DefaultName().c_str());
        source->AdoptChainFilter(f);
        f->Release();
        added.push_back(f);
        return f;
    };
    ChainFilter* splitter = nullptr;
    if (!found.demuxerName.empty()) {
        splitter = addChain(found.demuxerName);
        splitter->SetUpstream(source->Output());
        LinkChain(source->Output(), splitter->Input(), MediaFormat{});
    }

    int perKind[3] = {0, 0, 0};
    int rendered = 0;
    int unrendered = found.unrenderable;
    for (const DiscoveredStream& s : found.streams) {
        StreamSlot slot;
        slot.streamId = s.streamId;
        slot.format = s.format;
        const bool hasDecoder = !s.decoderName.empty();
        Pin* upstream = source->Output();
        if (splitter) {
            const int index = perKind[static_cast<int>(s.format.kind)]++;
            upstream = splitter->AddOutput(StreamPinName(s.format.kind, index),
                                           hasDecoder ? MediaFormat{} : s.format);
            slot.chainPins.push_back(source->Output());
        } else if (upstream->Peer() || !hasDecoder) {
            // Without a container only one stream can hang off the source.
            ++unrendered;
            continue;
        }
        if (hasDecoder) {
            ChainFilter* decoder = addChain(s.decoderName);
            decoder->SetUpstream(upstream);
            LinkChain(upstream, decoder->Input(), MediaFormat{});
            slot.chainPins.push_back(upstream);
            slot.decodedPin = decoder->AddOutput(L"Output", s.format);
        } else {
            slot.decodedPin = upstream;
        }
        Pin* decoded = slot.decodedPin;
        source->AddSlot(std::move(slot));
        if (SUCCEEDED(RenderPin(decoded)))
            ++rendered;
        else
            ++unrendered;
    }
    if (rendered == 0) {
        // Nothing is left behind for a file that cannot be played.
        for (auto it = added.rbegin(); it != added.rend(); ++it)
            if (Contains(*it)) DetachFilter(*it);
        return VFW_E_CANNOT_RENDER;
    }
    return unrendered > 0 ? VFW_S_PARTIAL_RENDER : S_OK;
}

VideoRenderer* FilterGraph::FindVideoRenderer() const {
    for (const auto& e : m_filters)
        if (auto* v = dynamic_cast<VideoRenderer*>(e.filter)) return v;
    return nullptr;
}

HRESULT CreateFilterGraph(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (!EnsureGstInit()) return E_FAIL;
    auto* g = new FilterGraph;
    HRESULT hr = g->QueryInterface(riid, ppv);
    g->Release();
    return hr;
}

}  // namespace zev::dshow
