#include "preview/preview_graph.h"

#include <cwchar>
#include <vector>

#include "platform/win/text.h"
#include "preview/preview_messages.h"

namespace {

constexpr DWORD kReleaseWaitMs = 100;
constexpr long WS_VISIBLE = 0x10000000L;
constexpr long kVideoWindowStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_VISIBLE;

template <class T>
bool Query(IUnknown* from, T** out) {
    *out = nullptr;
    return SUCCEEDED(from->QueryInterface(T::iid, reinterpret_cast<void**>(out))) && *out;
}

// A second renderer of a kind joins the graph under the first one's name
// with a number after it.
constexpr wchar_t kNumberedSoundRenderer[] = L"Default DirectSound Device ";
constexpr wchar_t kNumberedVideoRenderer[] = L"Video Renderer ";

bool NameStartsWith(const WCHAR* name, const wchar_t* prefix) {
    return std::wcsncmp(name, prefix, std::wcslen(prefix)) == 0;
}

IPin* FirstInputPin(IBaseFilter* filter) {
    ComPtr<IEnumPins> pins;
    if (FAILED(filter->EnumPins(pins.Put())) || !pins) return nullptr;
    IPin* pin = nullptr;
    ULONG fetched = 0;
    while (pins->Next(1, &pin, &fetched) == S_OK && fetched == 1 && pin) {
        PIN_DIRECTION dir;
        if (SUCCEEDED(pin->QueryDirection(&dir)) && dir == PINDIR_INPUT) return pin;
        pin->Release();
        pin = nullptr;
    }
    return nullptr;
}

// Plays the first sound track and the first video of the file: every
// further one's renderer gives way to a null renderer, so that several
// languages do not sound at once.
void KeepFirstStreamOfEachKind(IGraphBuilder* graph) {
    std::vector<ComPtr<IBaseFilter>> further;
    ComPtr<IEnumFilters> filters;
    if (FAILED(graph->EnumFilters(filters.Put())) || !filters) return;
    IBaseFilter* f = nullptr;
    ULONG fetched = 0;
    while (filters->Next(1, &f, &fetched) == S_OK && fetched == 1 && f) {
        ComPtr<IBaseFilter> filter(f);
        FILTER_INFO info = {};
        if (FAILED(filter->QueryFilterInfo(&info))) continue;
        const ComPtr<IFilterGraph> owner(info.pGraph);
        if (NameStartsWith(info.achName, kNumberedSoundRenderer) ||
            NameStartsWith(info.achName, kNumberedVideoRenderer))
            further.push_back(filter);
    }
    for (const ComPtr<IBaseFilter>& renderer : further) {
        const ComPtr<IPin> rendererIn(FirstInputPin(renderer.Get()));
        ComPtr<IPin> decoderOut;
        if (rendererIn) rendererIn->ConnectedTo(decoderOut.Put());
        if (decoderOut) decoderOut->Disconnect();
        if (rendererIn) rendererIn->Disconnect();
        graph->RemoveFilter(renderer.Get());
        // Without the null renderer the stream stays unconnected, which
        // also keeps it silent.
        ComPtr<IBaseFilter> discard;
        if (!decoderOut ||
            FAILED(CoCreateInstance(CLSID_NullRenderer, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IBaseFilter, reinterpret_cast<void**>(discard.Put()))) ||
            !discard || FAILED(graph->AddFilter(discard.Get(), nullptr)))
            continue;
        const ComPtr<IPin> discardIn(FirstInputPin(discard.Get()));
        if (discardIn) graph->Connect(decoderOut.Get(), discardIn.Get());
    }
}

}  // namespace

PreviewState& PreviewStateOf() {
    static PreviewState state;
    return state;
}

const char* PreviewErrorText(int code) {
    switch (code) {
        case kLoadNoGraph:
            return "Err: Failed to build Graphic!";
        case kLoadCannotRender:
            return "Err: Unknow file format, please install FFDSHOW!";
        case kLoadNoVideoWindow:
            return "Err: Fail to display show window";
        case kLoadNoVideoPlace:
            return "Err: Fail to get video position";
        case kLoadNoControl:
            return "Err: Fail to Build video controller";
        case kLoadNoEvents:
            return "Err: No media event";
        case kLoadPathTooLong: {
            static const std::string text = "Err: The file path is too long (more than " +
                                            std::to_string(kMaxPathBytes) + " bytes)!";
            return text.c_str();
        }
        case kLoadSourceRefused:
            switch (PreviewStateOf().sourceProblem) {
                case JobPathProblem::SourceMissing:
                    return "Err: No such file!";
                case JobPathProblem::SourceIsFolder:
                    return "Err: This is a folder, not a movie file!";
                case JobPathProblem::SourceNotAFile:
                    return "Err: A pipe or a device is not a movie file!";
                default:
                    return "Err: No permission to read this file!";
            }
        default:
            return "";
    }
}

int CPreviewGraph::BuildGraph(const std::string& path, HWND hwnd, int clientWidth,
                              int clientHeight) {
    PreviewState& s = PreviewStateOf();
    auto fail = [&](int code) {
        ReleaseGraph();
        PostMessageA(hwnd, WM_GRAPH_ERROR, 0, code);
        return code;
    };
    if (path.size() > kMaxPathBytes) return fail(kLoadPathTooLong);
    // Said as what it is, not as a format nobody recognises; a pipe or a
    // device would also hold the build up until someone wrote to it.
    s.sourceProblem = CheckJobSource(path);
    if (s.sourceProblem != JobPathProblem::None) {
        s.refusedSource = path;
        return fail(kLoadSourceRefused);
    }
    // The whole path, never a shortened one that names another file.
    const std::wstring wide = Utf8ToWide(path.c_str());
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // never uninitialised here
    ReleaseGraph();

    DShowRegisterClasses();
    // A manager kept by the closing flag is left as it is, not reused.
    s.pGraphBuilder = nullptr;
    if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                reinterpret_cast<void**>(&s.pGraphBuilder))) ||
        !s.pGraphBuilder)
        return fail(kLoadNoGraph);
    // Partial success (a stream that cannot be rendered) counts as failure.
    if (s.pGraphBuilder->RenderFile(wide.c_str(), nullptr) != S_OK) return fail(kLoadCannotRender);
    KeepFirstStreamOfEachKind(s.pGraphBuilder);
    if (!Query(s.pGraphBuilder, &s.pVideoWindow)) return fail(kLoadNoVideoWindow);
    if (!Query(s.pGraphBuilder, &s.pMediaControl)) return fail(kLoadNoControl);
    Query(s.pGraphBuilder, &s.pMediaPosition);
    if (FAILED(
            s.pVideoWindow->SetWindowPosition(60, 40, clientWidth / 2 - 60, 2 * clientHeight / 3)))
        return fail(kLoadNoVideoPlace);
    s.pVideoWindow->put_Owner(reinterpret_cast<OAHWND>(hwnd));
    s.pVideoWindow->put_WindowStyle(kVideoWindowStyle);
    s.pVideoWindow->put_Visible(OATRUE);
    s.pVideoWindow->put_AutoShow(OATRUE);
    if (!Query(s.pGraphBuilder, &s.pMediaEvent)) return fail(kLoadNoEvents);
    s.pMediaEvent->SetNotifyWindow(reinterpret_cast<OAHWND>(hwnd), WM_GRAPH_EVENT, 0);
    PostMessageA(hwnd, WM_GRAPH_READY, 0, 0);
    return kLoadOk;
}

void CPreviewGraph::ReleaseGraph() {
    PreviewState& s = PreviewStateOf();
    if (s.pMediaPosition) {
        s.pMediaPosition->Release();
        s.pMediaPosition = nullptr;
        Sleep(kReleaseWaitMs);
    }
    if (s.pMediaControl) {
        s.pMediaControl->Release();
        s.pMediaControl = nullptr;
        Sleep(kReleaseWaitMs);
    }
    if (s.pMediaEvent) {
        // No more notifications for a window that may be gone.
        s.pMediaEvent->SetNotifyWindow(0, 0, 0);
        s.pMediaEvent->Release();
        s.pMediaEvent = nullptr;
    }
    if (s.pVideoWindow) {
        s.pVideoWindow->put_Owner(0);
        s.pVideoWindow->Release();
        s.pVideoWindow = nullptr;
    }
    if (!s.bClosing && s.pGraphBuilder) {
        s.pGraphBuilder->Release();
        s.pGraphBuilder = nullptr;
    }
}
