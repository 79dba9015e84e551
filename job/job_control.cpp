#include "job/job_control.h"

#include "platform/dshow/dshow.h"

void StopEngine(IGraphBuilder* graph, IMediaControl* control,
                const std::function<void()>& onControlStop) {
    if (control) {
        if (onControlStop) onControlStop();
        control->Stop();
    }
    if (graph) {
        IMediaEventSink* sink = nullptr;
        if (SUCCEEDED(
                graph->QueryInterface(IID_IMediaEventSink, reinterpret_cast<void**>(&sink))) &&
            sink) {
            sink->Notify(EC_USERABORT, 0, 0);
            sink->Release();
        }
    }
}
