#include "convert/engine/graph_helpers.h"

#include <cwchar>
#include <vector>

namespace {

bool NameStartsWith(const WCHAR* name, const wchar_t* prefix) {
    return std::wcsncmp(name, prefix, std::wcslen(prefix)) == 0;
}

struct LeftRenderer {
    ComPtr<IBaseFilter> filter;
    bool sound;
};

// The default renderers in the graph, taken before any of them is removed.
std::vector<LeftRenderer> DefaultRenderers(IGraphBuilder* graph) {
    std::vector<LeftRenderer> found;
    ComPtr<IEnumFilters> filters;
    if (FAILED(graph->EnumFilters(filters.Put())) || !filters) return found;
    IBaseFilter* f = nullptr;
    ULONG fetched = 0;
    while (filters->Next(1, &f, &fetched) == S_OK && fetched == 1 && f) {
        ComPtr<IBaseFilter> filter(f);
        f = nullptr;
        FILTER_INFO info = {};
        if (FAILED(filter->QueryFilterInfo(&info))) continue;
        const ComPtr<IFilterGraph> owner(info.pGraph);
        if (NameStartsWith(info.achName, kAudioRendererName))
            found.push_back({filter, true});
        else if (NameStartsWith(info.achName, kVideoRendererName))
            found.push_back({filter, false});
    }
    return found;
}

}  // namespace

IPin* FirstPin(IBaseFilter* filter, PIN_DIRECTION dir) {
    if (!filter) return nullptr;
    IEnumPins* pins = nullptr;
    if (FAILED(filter->EnumPins(&pins)) || !pins) return nullptr;
    IPin* found = nullptr;
    IPin* pin = nullptr;
    ULONG fetched = 0;
    while (!found && pins->Next(1, &pin, &fetched) == S_OK && fetched == 1 && pin) {
        PIN_DIRECTION pinDir;
        if (SUCCEEDED(pin->QueryDirection(&pinDir)) && pinDir == dir) {
            found = pin;
        } else {
            pin->Release();
        }
        pin = nullptr;
    }
    pins->Release();
    return found;
}

void SwitchOffReferenceClock(IGraphBuilder* graph, const LogChannel& log,
                             const char* noMediaFilterFmt, const char* refusedFmt) {
    if (!graph) return;
    IMediaFilter* mediaFilter = nullptr;
    HRESULT hr = graph->QueryInterface(IID_IMediaFilter, reinterpret_cast<void**>(&mediaFilter));
    if (FAILED(hr) || !mediaFilter) {
        log.Printf(noMediaFilterFmt, Hex(hr));
        return;
    }
    hr = mediaFilter->SetSyncSource(nullptr);
    if (FAILED(hr)) log.Printf(refusedFmt, Hex(hr));
    mediaFilter->Release();
}

int DiscardUnconvertedStreams(IGraphBuilder* graph) {
    if (!graph) return 0;
    int sound = 0;
    for (const LeftRenderer& r : DefaultRenderers(graph)) {
        const ComPtr<IPin> rendererIn(FirstPin(r.filter.Get(), PINDIR_INPUT));
        ComPtr<IPin> decoderOut;
        if (rendererIn) rendererIn->ConnectedTo(decoderOut.Put());
        if (decoderOut) decoderOut->Disconnect();
        if (rendererIn) rendererIn->Disconnect();
        graph->RemoveFilter(r.filter.Get());
        if (r.sound) ++sound;
        ComPtr<IBaseFilter> discard;
        if (!decoderOut ||
            FAILED(CoCreateInstance(CLSID_NullRenderer, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IBaseFilter, reinterpret_cast<void**>(discard.Put()))) ||
            !discard ||
            FAILED(graph->AddFilter(discard.Get(), r.sound ? L"NullRenderA" : L"NullRenderV")))
            continue;
        const ComPtr<IPin> discardIn(FirstPin(discard.Get(), PINDIR_INPUT));
        if (discardIn) graph->Connect(decoderOut.Get(), discardIn.Get());
    }
    return sound;
}
