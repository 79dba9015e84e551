#include "convert/engine/graph_helpers.h"

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
