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

bool CJobState::RunConvert(ConvertFn convert, HWND hWnd, const JobRequest& request) {
    if (m_bInConvert || !convert) return false;
    ReleaseLeftoverSlots();
    m_report.Reset();
    m_bStopAsked = false;
    // Convert takes mutable paths and the record by address.
    std::string source = request.source;
    std::string destination = request.destination;
    ProfileStruc profile = request.profile;
    m_bInConvert = true;
    convert(source.data(), destination.data(), &profile, m_szLog, hWnd, &m_pGraphBuilder,
            &m_pMediaControl, &m_pMediaSeeking, request.beginSeconds, request.endSeconds,
            &m_nProgress);
    m_bInConvert = false;
    return true;
}

std::string CJobState::TakeEngineLine() {
    m_szLog[sizeof m_szLog - 1] = '\0';
    std::string line(m_szLog);
    m_report.OnEngineLine(line);
    return line;
}

void CJobState::StopEngine(const std::function<void()>& onControlStop) {
    m_bStopAsked = true;
    ::StopEngine(m_pGraphBuilder, m_pMediaControl, onControlStop);
}

void CJobState::ReleaseLeftoverSlots() {
    if (m_pGraphBuilder) m_pGraphBuilder->Release();
    m_pGraphBuilder = nullptr;
    if (m_pMediaControl) m_pMediaControl->Release();
    m_pMediaControl = nullptr;
    if (m_pMediaSeeking) m_pMediaSeeking->Release();
    m_pMediaSeeking = nullptr;
}
