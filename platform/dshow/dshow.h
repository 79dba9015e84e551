// The media graph services: filter graphs built automatically for a file,
// sample grabbers, null renderers, seeking, events, a video surface in a host
// window and the ASF writer filter. Implemented over GStreamer in
// libzevdshow.so; classes are created with CoCreateInstance.
//
// Ownership: every interface handed out carries one reference that the
// receiver releases. Threads: graph methods are called from the thread that
// owns the graph; ISampleGrabberCB::BufferCB runs on streaming threads (video
// and audio on different threads at once); IMediaEventSink::Notify may be
// called from any thread. Failures return a failing HRESULT and leave
// out-parameters NULL.
#pragma once

#include <thread>

#include "platform/media/mediatype.h"
#include "platform/win/com.h"
#include "platform/win/window.h"

struct IWMProfile;

// Result codes of the graph layer.
constexpr HRESULT VFW_S_PARTIAL_RENDER = MakeHResult(0x00040242);
constexpr HRESULT VFW_S_STATE_INTERMEDIATE = MakeHResult(0x00040237);
constexpr HRESULT VFW_E_NOT_CONNECTED = MakeHResult(0x80040209);
constexpr HRESULT VFW_E_ALREADY_CONNECTED = MakeHResult(0x80040204);
constexpr HRESULT VFW_E_NOT_FOUND = MakeHResult(0x80040216);
constexpr HRESULT VFW_E_CANNOT_CONNECT = MakeHResult(0x80040217);
constexpr HRESULT VFW_E_CANNOT_RENDER = MakeHResult(0x80040218);
constexpr HRESULT VFW_E_WRONG_STATE = MakeHResult(0x80040227);
constexpr HRESULT VFW_E_UNKNOWN_FILE_TYPE = MakeHResult(0x80040240);
constexpr HRESULT VFW_E_UNSUPPORTED_STREAM = MakeHResult(0x80040265);
constexpr HRESULT VFW_E_INVALID_FILE_FORMAT = MakeHResult(0x8004022F);
constexpr HRESULT VFW_E_NOT_IN_GRAPH = MakeHResult(0x8004025F);
constexpr HRESULT VFW_E_DUPLICATE_NAME = MakeHResult(0x8004027B);

// Event codes.
constexpr long EC_COMPLETE = 0x01;
constexpr long EC_USERABORT = 0x02;
constexpr long EC_ERRORABORT = 0x03;
constexpr long EC_REPAINT = 0x05;
constexpr long EC_CLOCK_CHANGED = 0x0D;
constexpr long EC_PAUSED = 0x0E;
constexpr long EC_PREPROCESS_COMPLETE = 0x56;

enum PIN_DIRECTION { PINDIR_INPUT = 0, PINDIR_OUTPUT = 1 };
enum FILTER_STATE { State_Stopped = 0, State_Paused = 1, State_Running = 2 };
using OAFilterState = long;

constexpr DWORD AM_SEEKING_NoPositioning = 0x0;
constexpr DWORD AM_SEEKING_AbsolutePositioning = 0x1;
constexpr DWORD AM_SEEKING_RelativePositioning = 0x2;
constexpr DWORD AM_SEEKING_PositioningBitsMask = 0x3;

constexpr long WS_CHILD = 0x40000000L;
constexpr long WS_CLIPSIBLINGS = 0x04000000L;
constexpr long WS_CLIPCHILDREN = 0x02000000L;
constexpr long OATRUE = -1;
constexpr long OAFALSE = 0;

constexpr GUID DshowIid(uint32_t n) {
    return MakeLayerGuid(0x4453, n);
}
constexpr GUID DshowClsid(uint32_t n) {
    return MakeLayerGuid(0x4443, n);
}

constexpr CLSID CLSID_FilterGraph = DshowClsid(1);
constexpr CLSID CLSID_SampleGrabber = DshowClsid(2);
constexpr CLSID CLSID_NullRenderer = DshowClsid(3);
constexpr CLSID CLSID_WMAsfWriter = DshowClsid(4);

struct IBaseFilter;
struct IFilterGraph;
struct IPin;
struct IReferenceClock;

struct PIN_INFO {
    IBaseFilter* pFilter;  // one reference, released by the receiver
    PIN_DIRECTION dir;
    WCHAR achName[128];
};

struct FILTER_INFO {
    WCHAR achName[128];
    IFilterGraph* pGraph;  // one reference when not NULL
};

struct IPin : IUnknown {
    static constexpr GUID iid = DshowIid(1);
    virtual HRESULT Disconnect() = 0;
    virtual HRESULT ConnectedTo(IPin** ppPin) = 0;
    virtual HRESULT ConnectionMediaType(AM_MEDIA_TYPE* pmt) = 0;
    virtual HRESULT QueryPinInfo(PIN_INFO* pInfo) = 0;
    virtual HRESULT QueryDirection(PIN_DIRECTION* pPinDir) = 0;
};

struct IEnumPins : IUnknown {
    static constexpr GUID iid = DshowIid(2);
    virtual HRESULT Next(ULONG cPins, IPin** ppPins, ULONG* pcFetched) = 0;
    virtual HRESULT Skip(ULONG cPins) = 0;
    virtual HRESULT Reset() = 0;
};

struct IMediaFilter : IUnknown {
    static constexpr GUID iid = DshowIid(3);
    virtual HRESULT Stop() = 0;
    virtual HRESULT Pause() = 0;
    virtual HRESULT Run(REFERENCE_TIME tStart) = 0;
    virtual HRESULT GetState(DWORD dwMilliSecsTimeout, FILTER_STATE* State) = 0;
    // NULL: no reference clock, the graph runs as fast as it can.
    virtual HRESULT SetSyncSource(IReferenceClock* pClock) = 0;
    virtual HRESULT GetSyncSource(IReferenceClock** pClock) = 0;
};

struct IBaseFilter : IMediaFilter {
    static constexpr GUID iid = DshowIid(4);
    virtual HRESULT EnumPins(IEnumPins** ppEnum) = 0;
    virtual HRESULT FindPin(LPCWSTR Id, IPin** ppPin) = 0;
    virtual HRESULT QueryFilterInfo(FILTER_INFO* pInfo) = 0;
};

struct IEnumFilters : IUnknown {
    static constexpr GUID iid = DshowIid(19);
    // Each filter handed out carries one reference.
    virtual HRESULT Next(ULONG cFilters, IBaseFilter** ppFilter, ULONG* pcFetched) = 0;
    virtual HRESULT Skip(ULONG cFilters) = 0;
    virtual HRESULT Reset() = 0;
};

struct IFilterGraph : IUnknown {
    static constexpr GUID iid = DshowIid(5);
    virtual HRESULT AddFilter(IBaseFilter* pFilter, LPCWSTR pName) = 0;
    virtual HRESULT RemoveFilter(IBaseFilter* pFilter) = 0;
    // The filters in the graph when it is called, in the order they joined.
    virtual HRESULT EnumFilters(IEnumFilters** ppEnum) = 0;
    virtual HRESULT FindFilterByName(LPCWSTR pName, IBaseFilter** ppFilter) = 0;
    virtual HRESULT ConnectDirect(IPin* ppinOut, IPin* ppinIn, const AM_MEDIA_TYPE* pmt) = 0;
    virtual HRESULT Disconnect(IPin* ppin) = 0;
};

struct IGraphBuilder : IFilterGraph {
    static constexpr GUID iid = DshowIid(6);
    // Connects two pins, inserting converters as needed.
    virtual HRESULT Connect(IPin* ppinOut, IPin* ppinIn) = 0;
    virtual HRESULT Render(IPin* ppinOut) = 0;
    // S_OK: every stream rendered; VFW_S_PARTIAL_RENDER: some were not;
    // a failure code: the file is missing or nothing can read it.
    virtual HRESULT RenderFile(LPCWSTR lpcwstrFile, LPCWSTR lpcwstrPlayList) = 0;
};

struct IMediaControl : IUnknown {
    static constexpr GUID iid = DshowIid(7);
    virtual HRESULT Run() = 0;
    virtual HRESULT Pause() = 0;
    virtual HRESULT Stop() = 0;
    virtual HRESULT GetState(LONG msTimeout, OAFilterState* pfs) = 0;
    virtual HRESULT StopWhenReady() = 0;
};

struct IMediaPosition : IUnknown {
    static constexpr GUID iid = DshowIid(8);
    virtual HRESULT get_Duration(REFTIME* plength) = 0;
    virtual HRESULT put_CurrentPosition(REFTIME llTime) = 0;
    virtual HRESULT get_CurrentPosition(REFTIME* pllTime) = 0;
    virtual HRESULT get_StopTime(REFTIME* pllTime) = 0;
    virtual HRESULT put_StopTime(REFTIME llTime) = 0;
};

struct IMediaSeeking : IUnknown {
    static constexpr GUID iid = DshowIid(9);
    virtual HRESULT GetDuration(LONGLONG* pDuration) = 0;
    virtual HRESULT GetStopPosition(LONGLONG* pStop) = 0;
    virtual HRESULT GetCurrentPosition(LONGLONG* pCurrent) = 0;
    // 100-nanosecond units; flags AM_SEEKING_*.
    virtual HRESULT SetPositions(LONGLONG* pCurrent, DWORD dwCurrentFlags, LONGLONG* pStop,
                                 DWORD dwStopFlags) = 0;
    virtual HRESULT GetPositions(LONGLONG* pCurrent, LONGLONG* pStop) = 0;
};

struct IMediaEvent : IUnknown {
    static constexpr GUID iid = DshowIid(10);
    // The handle (a HANDLE of platform/win, as OAEVENT) is signalled while
    // events are queued; MsgWaitForMultipleObjects can wait on it.
    virtual HRESULT GetEventHandle(OAEVENT* hEvent) = 0;
    // E_ABORT when no event arrives within msTimeout.
    virtual HRESULT GetEvent(long* lEventCode, LONG_PTR* lParam1, LONG_PTR* lParam2,
                             long msTimeout) = 0;
    virtual HRESULT FreeEventParams(long lEvCode, LONG_PTR lParam1, LONG_PTR lParam2) = 0;
};

struct IMediaEventEx : IMediaEvent {
    static constexpr GUID iid = DshowIid(11);
    // Posts `lMsg` to the window (an HWND as OAHWND) for each queued event;
    // 0 stops the notifications.
    virtual HRESULT SetNotifyWindow(OAHWND hwnd, long lMsg, LONG_PTR lInstanceData) = 0;
};

struct IMediaEventSink : IUnknown {
    static constexpr GUID iid = DshowIid(12);
    virtual HRESULT Notify(long EventCode, LONG_PTR EventParam1, LONG_PTR EventParam2) = 0;
};

struct IVideoWindow : IUnknown {
    static constexpr GUID iid = DshowIid(13);
    virtual HRESULT put_Owner(OAHWND Owner) = 0;
    virtual HRESULT put_WindowStyle(long WindowStyle) = 0;
    virtual HRESULT SetWindowPosition(long Left, long Top, long Width, long Height) = 0;
    virtual HRESULT put_Visible(long Visible) = 0;
    virtual HRESULT get_Visible(long* pVisible) = 0;
    virtual HRESULT put_AutoShow(long AutoShow) = 0;
};

struct IMediaSample : IUnknown {
    static constexpr GUID iid = DshowIid(14);
    virtual HRESULT GetPointer(BYTE** ppBuffer) = 0;
    virtual long GetActualDataLength() = 0;
    virtual HRESULT GetTime(REFERENCE_TIME* pTimeStart, REFERENCE_TIME* pTimeEnd) = 0;
};

struct ISampleGrabberCB : IUnknown {
    static constexpr GUID iid = DshowIid(15);
    virtual HRESULT SampleCB(double SampleTime, IMediaSample* pSample) = 0;
    // SampleTime: seconds of stream time, 0 at the position the graph was
    // last seeked to.
    virtual HRESULT BufferCB(double SampleTime, BYTE* pBuffer, long BufferLen) = 0;
};

struct ISampleGrabber : IUnknown {
    static constexpr GUID iid = DshowIid(16);
    virtual HRESULT SetOneShot(BOOL OneShot) = 0;
    // Major type, subtype and format type to accept; GUID_NULL or
    // MEDIASUBTYPE_None mean any.
    virtual HRESULT SetMediaType(const AM_MEDIA_TYPE* pType) = 0;
    // Fills *pType (free with FreeMediaType); VFW_E_NOT_CONNECTED when the
    // grabber is not connected.
    virtual HRESULT GetConnectedMediaType(AM_MEDIA_TYPE* pType) = 0;
    virtual HRESULT SetBufferSamples(BOOL BufferThem) = 0;
    virtual HRESULT GetCurrentBuffer(long* pBufferSize, long* pBuffer) = 0;
    // WhichMethodToCallback: 0 SampleCB, 1 BufferCB. The callback is
    // borrowed: the grabber takes no reference.
    virtual HRESULT SetCallback(ISampleGrabberCB* pCallback, long WhichMethodToCallback) = 0;
    // Extension of this platform: *pEnded becomes TRUE once the stream that
    // feeds the grabber has delivered its last buffer (end of stream or the
    // stop position), so that a consumer pacing two streams stops waiting for
    // it. E_NOTIMPL where the grabber cannot tell.
    virtual HRESULT GetEndOfStream(BOOL* pEnded) {
        if (pEnded) *pEnded = FALSE;
        return E_NOTIMPL;
    }
};

struct IFileSinkFilter : IUnknown {
    static constexpr GUID iid = DshowIid(17);
    virtual HRESULT SetFileName(LPCWSTR pszFileName, const AM_MEDIA_TYPE* pmt) = 0;
    virtual HRESULT GetCurFile(LPWSTR* ppszFileName, AM_MEDIA_TYPE* pmt) = 0;
};

struct IConfigAsfWriter : IUnknown {
    static constexpr GUID iid = DshowIid(18);
    // The filter's input pins follow the profile's streams.
    virtual HRESULT ConfigureFilterUsingProfile(IWMProfile* pProfile) = 0;
    virtual HRESULT GetCurrentProfile(IWMProfile** ppProfile) = 0;
};

constexpr IID IID_IPin = IPin::iid;
constexpr IID IID_IEnumPins = IEnumPins::iid;
constexpr IID IID_IEnumFilters = IEnumFilters::iid;
constexpr IID IID_IMediaFilter = IMediaFilter::iid;
constexpr IID IID_IBaseFilter = IBaseFilter::iid;
constexpr IID IID_IFilterGraph = IFilterGraph::iid;
constexpr IID IID_IGraphBuilder = IGraphBuilder::iid;
constexpr IID IID_IMediaControl = IMediaControl::iid;
constexpr IID IID_IMediaPosition = IMediaPosition::iid;
constexpr IID IID_IMediaSeeking = IMediaSeeking::iid;
constexpr IID IID_IMediaEvent = IMediaEvent::iid;
constexpr IID IID_IMediaEventEx = IMediaEventEx::iid;
constexpr IID IID_IMediaEventSink = IMediaEventSink::iid;
constexpr IID IID_IVideoWindow = IVideoWindow::iid;
constexpr IID IID_IMediaSample = IMediaSample::iid;
constexpr IID IID_ISampleGrabberCB = ISampleGrabberCB::iid;
constexpr IID IID_ISampleGrabber = ISampleGrabber::iid;
constexpr IID IID_IFileSinkFilter = IFileSinkFilter::iid;
constexpr IID IID_IConfigAsfWriter = IConfigAsfWriter::iid;

// Makes sure the layer's classes are registered for CoCreateInstance; the
// library also does it when it is loaded.
void DShowRegisterClasses();

// Starts GStreamer and loads the plugins every graph needs (file reading,
// typefinding, decoders, converters, grabbers) on a thread of its own, so
// that a program can do its other start-up work meanwhile. The first graph
// waits for whatever is not done yet. Join the returned thread before exit.
std::thread DShowWarmUp();
