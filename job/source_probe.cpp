#include "job/source_probe.h"

#include <cstdio>

#include "platform/dshow/dshow.h"
#include "platform/win/text.h"

bool ProbeDurationSeconds(const std::string& path, double& seconds, std::string& error) {
    DShowRegisterClasses();
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool ok = false;
    {
        ComPtr<IGraphBuilder> graph;
        HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IGraphBuilder, reinterpret_cast<void**>(graph.Put()));
        if (FAILED(hr)) {
            error = "cannot create a filter graph, error " + HexText(hr);
        } else if (FAILED(hr = graph->RenderFile(Utf8ToWide(path.c_str()).c_str(), nullptr))) {
            error = "cannot read '" + path + "' (error " + HexText(hr) + ")";
        } else {
            auto position = graph.As<IMediaPosition>();
            REFTIME length = 0;
            if (!position || FAILED(position->get_Duration(&length)) || length <= 0) {
                error = "'" + path + "' tells no duration; give --end";
            } else {
                seconds = length;
                ok = true;
            }
        }
    }
    if (SUCCEEDED(init)) CoUninitialize();
    return ok;
}
