// Running, positioning, events and the video window of the filter graph.
#include <cmath>

#include "platform/dshow/filter_graph.h"
#include "platform/dshow/renderers.h"

namespace zev::dshow {
namespace {

constexpr gint64 kNsPerUnit = 100;  // one REFERENCE_TIME unit
constexpr double kNsPerSecond = 1e9;

gint64 SecondsToNs(REFTIME s) {
    return static_cast<gint64>(std::llround(s * kNsPerSecond));
}

}  // namespace

HRESULT FilterGraph::StartPipeline(bool held) {
    if (m_cued) return ResumeCue();
    std::vector<SourceFilter*> sources;
    for (const auto& e : m_filters) {
        e.filter->OnGraphStarting();
        if (auto* s = dynamic_cast<SourceFilter*>(e.filter)) sources.push_back(s);
    }
    if (sources.empty()) return S_OK;  // nothing to play; the state still changes
    BranchContext ctx;
    ctx.sync = !m_noClock;
    return m_runner.Start(sources, ctx, m_startNs, m_stopNs, held);
}

HRESULT FilterGraph::ResumeCue() {
    m_cued = false;
    for (const auto& e : m_filters) e.filter->OnGraphStarting();
    if (!m_cueMoved) return S_OK;
    m_cueMoved = false;
    // Still paused: the seek prerolls the picture at the new position.
    return m_runner.Seek(m_startNs, m_stopNs);
}

void FilterGraph::DropCue() {
    if (!m_cued) return;
    m_cued = false;
    m_runner.Stop();
}

bool FilterGraph::DeliversToApplication() const {
    for (const auto& e : m_filters)
        if (e.filter->GatesDelivery()) return true;
    return false;
}

void FilterGraph::StopPipeline() {
    gint64 pos = 0;
    if (m_state != State_Stopped && m_runner.Position(&pos)) m_startNs = pos;
    m_cued = false;
    m_runner.Stop();
    if (m_state != State_Stopped)
        for (const auto& e : m_filters) e.filter->OnGraphStopped();
    m_state = State_Stopped;
}

HRESULT FilterGraph::Run() {
    if (m_state == State_Running) return S_OK;
    bool hold = false;
    if (m_state == State_Stopped) {
        for (const auto& e : m_filters)
            if (e.filter->GatesDelivery() && e.filter->FirstPin(PINDIR_INPUT) &&
                e.filter->FirstPin(PINDIR_INPUT)->IsLinked())
                hold = true;
        HRESULT hr = StartPipeline(hold && !m_cued);
        if (FAILED(hr)) {
            StopPipeline();
            return hr;
        }
    }
    m_state = State_Running;
    m_runner.Play(hold);
    return S_OK;
}

HRESULT FilterGraph::Run(REFERENCE_TIME) {
    return Run();
}

HRESULT FilterGraph::Pause() {
    if (m_state == State_Paused) return S_OK;
    if (m_state == State_Stopped) {
        HRESULT hr = StartPipeline();
        if (FAILED(hr)) {
            StopPipeline();
            return hr;
        }
    } else {
        m_runner.Pause();
    }
    m_state = State_Paused;
    return S_OK;
}

bool FilterGraph::KeepPipelineStopped(bool moved) {
    // Grabbers and writers stop for good: their owners expect the callbacks
    // quiet and the files finished once stopped.
    if (!m_runner.IsBuilt() || DeliversToApplication()) return false;
    gint64 pos = 0;
    if (m_runner.Position(&pos)) m_startNs = pos;
    if (FAILED(m_runner.Pause())) return false;
    for (const auto& e : m_filters) e.filter->OnGraphStopped();
    m_state = State_Stopped;
    m_cued = true;
    m_cueMoved = moved;
    return true;
}

HRESULT FilterGraph::Stop() {
    if (m_state == State_Stopped && m_cued) return S_OK;
    // A played pipeline may have ended or moved on: the next start seeks it.
    if (m_state != State_Stopped && KeepPipelineStopped(true)) return S_OK;
    StopPipeline();
    return S_OK;
}

HRESULT FilterGraph::StopWhenReady() {
    // Pausing prerolls (the current picture is shown); then stop there.
    HRESULT hr = Pause();
    if (FAILED(hr) || !KeepPipelineStopped(false)) StopPipeline();
    return hr;
}

HRESULT FilterGraph::GetState(LONG, OAFilterState* pfs) {
    if (!pfs) return E_POINTER;
    *pfs = m_state;
    return S_OK;
}

HRESULT FilterGraph::GetState(DWORD, FILTER_STATE* state) {
    if (!state) return E_POINTER;
    *state = m_state;
    return S_OK;
}

HRESULT FilterGraph::SetSyncSource(IReferenceClock* pClock) {
    // The branches of a kept pipeline were built for the earlier clock.
    if (m_noClock != (pClock == nullptr)) DropCue();
    m_noClock = pClock == nullptr;
    return S_OK;
}

HRESULT FilterGraph::GetSyncSource(IReferenceClock** pClock) {
    if (!pClock) return E_POINTER;
    *pClock = nullptr;
    return m_noClock ? S_FALSE : S_OK;
}

gint64 FilterGraph::DurationNs() const {
    gint64 d = -1;
    for (const auto& e : m_filters)
        if (auto* s = dynamic_cast<SourceFilter*>(e.filter))
            if (s->DurationNs() > d) d = s->DurationNs();
    return d;
}

HRESULT FilterGraph::ApplyPositions(gint64 startNs, bool setStart, gint64 stopNs, bool setStop) {
    if (setStop) m_stopNs = stopNs;
    if (m_state == State_Stopped) {
        if (setStart) m_startNs = startNs;
        // A kept pipeline moves when the graph starts again.
        if (m_cued) m_cueMoved = true;
        return S_OK;
    }
    return m_runner.Seek(setStart ? startNs : -1, m_stopNs);
}

HRESULT FilterGraph::SetPositions(LONGLONG* pCurrent, DWORD dwCurrentFlags, LONGLONG* pStop,
                                  DWORD dwStopFlags) {
    const DWORD curMode = dwCurrentFlags & AM_SEEKING_PositioningBitsMask;
    const DWORD stopMode = dwStopFlags & AM_SEEKING_PositioningBitsMask;
    if ((curMode && !pCurrent) || (stopMode && !pStop)) return E_POINTER;
    LONGLONG current = 0, stop = 0;
    GetCurrentPosition(&current);
    GetStopPosition(&stop);
    if (curMode == AM_SEEKING_AbsolutePositioning) current = *pCurrent;
    if (curMode == AM_SEEKING_RelativePositioning) current += *pCurrent;
    if (stopMode == AM_SEEKING_AbsolutePositioning) stop = *pStop;
    if (stopMode == AM_SEEKING_RelativePositioning) stop += *pStop;
    if (current < 0 || (stopMode && stop < 0)) return E_INVALIDARG;
    return ApplyPositions(current * kNsPerUnit, curMode != 0, stop * kNsPerUnit, stopMode != 0);
}

HRESULT FilterGraph::GetPositions(LONGLONG* pCurrent, LONGLONG* pStop) {
    if (pCurrent) GetCurrentPosition(pCurrent);
    if (pStop) GetStopPosition(pStop);
    return S_OK;
}

HRESULT FilterGraph::GetDuration(LONGLONG* pDuration) {
    if (!pDuration) return E_POINTER;
    const gint64 d = DurationNs();
    *pDuration = d < 0 ? 0 : d / kNsPerUnit;
    return d < 0 ? E_NOTIMPL : S_OK;
}

HRESULT FilterGraph::GetStopPosition(LONGLONG* pStop) {
    if (!pStop) return E_POINTER;
    const gint64 stop = m_stopNs >= 0 ? m_stopNs : DurationNs();
    *pStop = stop < 0 ? 0 : stop / kNsPerUnit;
    return S_OK;
}

HRESULT FilterGraph::GetCurrentPosition(LONGLONG* pCurrent) {
    if (!pCurrent) return E_POINTER;
    gint64 pos = m_startNs;
    if (m_state != State_Stopped) m_runner.Position(&pos);
    *pCurrent = pos / kNsPerUnit;
    return S_OK;
}

HRESULT FilterGraph::get_Duration(REFTIME* plength) {
    if (!plength) return E_POINTER;
    LONGLONG d = 0;
    HRESULT hr = GetDuration(&d);
    *plength = static_cast<double>(d) / 1e7;
    return hr;
}

HRESULT FilterGraph::put_CurrentPosition(REFTIME llTime) {
    if (llTime < 0) return E_INVALIDARG;
    return ApplyPositions(SecondsToNs(llTime), true, 0, false);
}

HRESULT FilterGraph::get_CurrentPosition(REFTIME* pllTime) {
    if (!pllTime) return E_POINTER;
    LONGLONG pos = 0;
    GetCurrentPosition(&pos);
    *pllTime = static_cast<double>(pos) / 1e7;
    return S_OK;
}

HRESULT FilterGraph::get_StopTime(REFTIME* pllTime) {
    if (!pllTime) return E_POINTER;
    LONGLONG stop = 0;
    GetStopPosition(&stop);
    *pllTime = static_cast<double>(stop) / 1e7;
    return S_OK;
}

HRESULT FilterGraph::put_StopTime(REFTIME llTime) {
    if (llTime < 0) return E_INVALIDARG;
    return ApplyPositions(0, false, SecondsToNs(llTime), true);
}

HRESULT FilterGraph::GetEventHandle(OAEVENT* hEvent) {
    if (!hEvent) return E_POINTER;
    // The owner now waits for events, so delivery may begin.
    m_runner.ReleaseHold();
    *hEvent = reinterpret_cast<OAEVENT>(m_events.Handle());
    return S_OK;
}

HRESULT FilterGraph::GetEvent(long* lEventCode, LONG_PTR* lParam1, LONG_PTR* lParam2,
                              long msTimeout) {
    m_runner.ReleaseHold();
    return m_events.Get(lEventCode, lParam1, lParam2, msTimeout);
}

HRESULT FilterGraph::FreeEventParams(long, LONG_PTR, LONG_PTR) {
    return S_OK;
}

HRESULT FilterGraph::SetNotifyWindow(OAHWND hwnd, long lMsg, LONG_PTR lInstanceData) {
    m_events.SetNotifyWindow(reinterpret_cast<HWND>(hwnd), static_cast<UINT>(lMsg), lInstanceData);
    return S_OK;
}

HRESULT FilterGraph::Notify(long EventCode, LONG_PTR EventParam1, LONG_PTR EventParam2) {
    m_events.Post(EventCode, EventParam1, EventParam2);
    return S_OK;
}

HRESULT FilterGraph::put_Owner(OAHWND Owner) {
    if (VideoRenderer* v = FindVideoRenderer()) v->SetOwner(reinterpret_cast<HWND>(Owner));
    return S_OK;
}

HRESULT FilterGraph::put_WindowStyle(long WindowStyle) {
    if (VideoRenderer* v = FindVideoRenderer()) v->SetStyle(WindowStyle);
    return S_OK;
}

HRESULT FilterGraph::SetWindowPosition(long Left, long Top, long Width, long Height) {
    if (Width < 0 || Height < 0) return E_INVALIDARG;
    if (VideoRenderer* v = FindVideoRenderer())
        v->SetPosition(RECT{static_cast<LONG>(Left), static_cast<LONG>(Top),
                            static_cast<LONG>(Left + Width), static_cast<LONG>(Top + Height)});
    return S_OK;
}

HRESULT FilterGraph::put_Visible(long Visible) {
    if (VideoRenderer* v = FindVideoRenderer()) v->SetVisible(Visible != OAFALSE);
    return S_OK;
}

HRESULT FilterGraph::get_Visible(long* pVisible) {
    if (!pVisible) return E_POINTER;
    VideoRenderer* v = FindVideoRenderer();
    *pVisible = v && v->Visible() ? OATRUE : OAFALSE;
    return S_OK;
}

HRESULT FilterGraph::put_AutoShow(long AutoShow) {
    if (VideoRenderer* v = FindVideoRenderer()) v->SetAutoShow(AutoShow != OAFALSE);
    return S_OK;
}

}  // namespace zev::dshow
