// The filter graph manager (CLSID_FilterGraph): holds filters and their
// connections, builds graphs for files, and runs them as a GStreamer
// pipeline. Internal; callers see only the interfaces of dshow.h.
//
// Threads: one owning thread calls everything except IMediaEventSink::Notify
// (any thread). Topology changes are refused (VFW_E_WRONG_STATE) unless the
// graph is stopped, so streaming threads can read the topology unlocked.
// A stopped rendering graph (no grabber or writer) keeps its pipeline
// paused, as a stopped graph keeps its resources: no buffer moves, and the
// next Pause or Run starts from it instead of opening and prerolling the
// file again. The first topology change, or the release, tears it down.
#pragma once

#include <memory>
#include <vector>

#include "platform/dshow/graph_runner.h"

namespace zev::dshow {

class VideoRenderer;

class FilterGraph final : public IGraphBuilder,
                          public IMediaControl,
                          public IMediaPosition,
                          public IMediaSeeking,
                          public IMediaEventEx,
                          public IMediaEventSink,
                          public IMediaFilter,
                          public IVideoWindow,
                          private GraphHost {
public:
    FilterGraph();
    virtual ~FilterGraph();
    FilterGraph(const FilterGraph&) = delete;
    FilterGraph& operator=(const FilterGraph&) = delete;

    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    ZEV_COM_REFCOUNTING

    // IFilterGraph / IGraphBuilder
    HRESULT AddFilter(IBaseFilter* pFilter, LPCWSTR pName) override;
    HRESULT RemoveFilter(IBaseFilter* pFilter) override;
    HRESULT EnumFilters(IEnumFilters** ppEnum) override;
    HRESULT FindFilterByName(LPCWSTR pName, IBaseFilter** ppFilter) override;
    HRESULT ConnectDirect(IPin* ppinOut, IPin* ppinIn, const AM_MEDIA_TYPE* pmt) override;
    HRESULT Disconnect(IPin* ppin) override;
    HRESULT Connect(IPin* ppinOut, IPin* ppinIn) override;
    HRESULT Render(IPin* ppinOut) override;
    HRESULT RenderFile(LPCWSTR lpcwstrFile, LPCWSTR lpcwstrPlayList) override;

    // IMediaControl (Stop and Pause also serve IMediaFilter)
    HRESULT Run() override;
    HRESULT Pause() override;
    HRESULT Stop() override;
    HRESULT GetState(LONG msTimeout, OAFilterState* pfs) override;
    HRESULT StopWhenReady() override;

    // IMediaFilter
    HRESULT Run(REFERENCE_TIME tStart) override;
    HRESULT GetState(DWORD msTimeout, FILTER_STATE* state) override;
    HRESULT SetSyncSource(IReferenceClock* pClock) override;
    HRESULT GetSyncSource(IReferenceClock** pClock) override;

    // IMediaPosition (seconds)
    HRESULT get_Duration(REFTIME* plength) override;
    HRESULT put_CurrentPosition(REFTIME llTime) override;
    HRESULT get_CurrentPosition(REFTIME* pllTime) override;
    HRESULT get_StopTime(REFTIME* pllTime) override;
    HRESULT put_StopTime(REFTIME llTime) override;

    // IMediaSeeking (100 ns)
    HRESULT GetDuration(LONGLONG* pDuration) override;
    HRESULT GetStopPosition(LONGLONG* pStop) override;
    HRESULT GetCurrentPosition(LONGLONG* pCurrent) override;
    HRESULT SetPositions(LONGLONG* pCurrent, DWORD dwCurrentFlags, LONGLONG* pStop,
                         DWORD dwStopFlags) override;
    HRESULT GetPositions(LONGLONG* pCurrent, LONGLONG* pStop) override;

    // IMediaEvent / IMediaEventEx / IMediaEventSink
    HRESULT GetEventHandle(OAEVENT* hEvent) override;
    HRESULT GetEvent(long* lEventCode, LONG_PTR* lParam1, LONG_PTR* lParam2,
                     long msTimeout) override;
    HRESULT FreeEventParams(long lEvCode, LONG_PTR lParam1, LONG_PTR lParam2) override;
    HRESULT SetNotifyWindow(OAHWND hwnd, long lMsg, LONG_PTR lInstanceData) override;
    HRESULT Notify(long EventCode, LONG_PTR EventParam1, LONG_PTR EventParam2) override;

    // IVideoWindow: applies to the graph's video renderer; without one the
    // calls succeed and do nothing, so sound-only files play the same way.
    HRESULT put_Owner(OAHWND Owner) override;
    HRESULT put_WindowStyle(long WindowStyle) override;
    HRESULT SetWindowPosition(long Left, long Top, long Width, long Height) override;
    HRESULT put_Visible(long Visible) override;
    HRESULT get_Visible(long* pVisible) override;
    HRESULT put_AutoShow(long AutoShow) override;

private:
    struct Entry {
        FilterBase* filter;  // one reference held by the graph
    };

    // GraphHost
    bool IsStopped() const override { return m_state == State_Stopped; }
    void TopologyChanged() override { DropCue(); }
    EventQueue& Events() override { return m_events; }
    IFilterGraph* AsFilterGraph() override { return static_cast<IGraphBuilder*>(this); }

    FilterBase* FindByName(const std::wstring& name) const;
    bool Contains(const FilterBase* f) const;
    std::wstring UniqueName(const std::wstring& wanted) const;
    void DetachFilter(FilterBase* f);
    HRESULT ConnectPins(Pin* out, Pin* in);
    // Connects a decoded stream to a free input already in the graph, or to
    // a new default renderer.
    HRESULT RenderPin(Pin* out);
    VideoRenderer* FindVideoRenderer() const;
    // Builds and prerolls the pipeline, or resumes the kept one.
    // `held`: Run will hold delivery until the owner positions the graph.
    HRESULT StartPipeline(bool held = false);
    void StopPipeline();
    HRESULT ResumeCue();
    // Stops a rendering graph with its pipeline paused; false when the
    // graph must stop for good. `moved`: the next start seeks first.
    bool KeepPipelineStopped(bool moved);
    // Tears down a pipeline kept while stopped; before any topology
    // change, as its branches were built from the old topology.
    void DropCue();
    bool DeliversToApplication() const;
    bool CanChangeTopology();
    gint64 DurationNs() const;
    HRESULT ApplyPositions(gint64 startNs, bool setStart, gint64 stopNs, bool setStop);

    ComRefCount m_ref;
    std::vector<Entry> m_filters;
    EventQueue m_events;
    GraphRunner m_runner;
    FILTER_STATE m_state = State_Stopped;
    bool m_noClock = false;
    gint64 m_startNs = 0;  // where the next run starts
    gint64 m_stopNs = -1;  // -1: to the end
    // Stopped, with the pipeline kept paused (a rendering graph);
    // m_cueMoved: it must seek to m_startNs when it starts again.
    bool m_cued = false;
    bool m_cueMoved = false;
};

HRESULT CreateFilterGraph(REFIID riid, void** ppv);

}  // namespace zev::dshow
