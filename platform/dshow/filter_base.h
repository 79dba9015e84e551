// Filters and pins of the graph layer. A filter is a COM object with pins;
// pins share their filter's reference count, so holding a pin keeps its
// filter alive. Connections are plain pointers that the graph breaks before
// a filter leaves it. Internal.
//
// Threads: everything here runs on the graph's owning thread, except
// BuildBranch, which runs on a streaming thread while the graph is not
// stopped (the topology is frozen then).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/dshow/dshow.h"
#include "platform/dshow/event_queue.h"
#include "platform/dshow/media_format.h"

namespace zev::dshow {

class FilterBase;

// What filters may ask of the graph they are in.
class GraphHost {
public:
    virtual bool IsStopped() const = 0;
    virtual void TopologyChanged() = 0;
    virtual EventQueue& Events() = 0;
    virtual IFilterGraph* AsFilterGraph() = 0;

protected:
    ~GraphHost() = default;
};

// Settings of one realisation of the graph.
struct BranchContext {
    bool sync = true;  // sinks follow the clock
};

class Pin final : public IPin {
public:
    Pin(FilterBase* owner, PIN_DIRECTION dir, std::wstring name);

    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT Disconnect() override;
    HRESULT ConnectedTo(IPin** ppPin) override;
    HRESULT ConnectionMediaType(AM_MEDIA_TYPE* pmt) override;
    HRESULT QueryPinInfo(PIN_INFO* pInfo) override;
    HRESULT QueryDirection(PIN_DIRECTION* pPinDir) override;

    FilterBase* Owner() const { return m_owner; }
    PIN_DIRECTION Direction() const { return m_dir; }
    const std::wstring& Name() const { return m_name; }
    Pin* Peer() const { return m_peer; }
    // Both sides point at each other.
    bool IsLinked() const { return m_peer && m_peer->m_peer == this; }
    const MediaFormat& Format() const { return m_format; }
    void Attach(Pin* peer, const MediaFormat& format);
    void Detach();

private:
    FilterBase* m_owner;
    PIN_DIRECTION m_dir;
    std::wstring m_name;
    Pin* m_peer = nullptr;
    MediaFormat m_format;
};

class FilterBase : public IBaseFilter {
public:
    explicit FilterBase(std::wstring defaultName);
    virtual ~FilterBase();
    FilterBase(const FilterBase&) = delete;
    FilterBase& operator=(const FilterBase&) = delete;

    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    ZEV_COM_REFCOUNTING

    // The graph drives the pipeline; a filter's own state calls only report.
    HRESULT Stop() override { return S_OK; }
    HRESULT Pause() override { return S_OK; }
    HRESULT Run(REFERENCE_TIME) override { return S_OK; }
    HRESULT GetState(DWORD msTimeout, FILTER_STATE* state) override;
    HRESULT SetSyncSource(IReferenceClock*) override { return S_OK; }
    HRESULT GetSyncSource(IReferenceClock** clock) override;
    HRESULT EnumPins(IEnumPins** ppEnum) override;
    HRESULT FindPin(LPCWSTR id, IPin** ppPin) override;
    HRESULT QueryFilterInfo(FILTER_INFO* pInfo) override;

    GraphHost* Host() const { return m_host; }
    const std::wstring& Name() const { return m_name; }
    const std::wstring& DefaultName() const { return m_defaultName; }
    void JoinGraph(GraphHost* host, std::wstring name);
    const std::vector<std::unique_ptr<Pin>>& Pins() const { return m_pins; }
    Pin* FirstPin(PIN_DIRECTION dir) const;

    // What a connection from `from` into `input` carries; false to refuse.
    virtual bool AcceptInput(Pin* input, Pin* from, const MediaFormat& offered,
                             MediaFormat* agreed) = 0;
    // The format an output pin offers now (Other when it has none yet).
    virtual MediaFormat OfferedFormat(const Pin* output) const;
    // The pipeline branch that consumes a decoded stream arriving at `input`:
    // a bin with a "sink" pad, or nullptr to discard the stream.
    virtual GstElement* BuildBranch(Pin* input, const BranchContext& ctx);
    // True for filters that hand buffers to the application, whose delivery
    // is held back until the graph has been positioned.
    virtual bool GatesDelivery() const { return false; }
    // Part of the chain that reads a file (source, splitter, decoder).
    virtual bool IsSourceChain() const { return false; }
    // Called on the owning thread around each run of the pipeline.
    virtual void OnGraphStarting() {}
    virtual void OnGraphStopped() {}

protected:
    Pin* AddPin(PIN_DIRECTION dir, std::wstring name);

    ComRefCount m_ref;

private:
    std::wstring m_defaultName;
    std::wstring m_name;
    GraphHost* m_host = nullptr;
    std::vector<std::unique_ptr<Pin>> m_pins;
};

// Which thread converts and delivers a branch's buffers.
enum class BranchThread {
    Upstream,  // the decoder's: the next frame is decoded once this one is delivered
    Own,       // one of the branch's own, a few frames behind the decoder
};

// A bin "[queue !] converters ! capsfilter ! sink" producing `format` for
// `sink`, with a ghost "sink" pad; takes the floating sink. nullptr on
// failure. A video branch with a thread of its own lets conversion and
// delivery (copies, scaling, the receiver's work) run beside decoding
// instead of after it; other branches keep the decoder's thread.
GstElement* MakeConvertingBranch(const MediaFormat& format, GstElement* sink,
                                 BranchThread thread = BranchThread::Upstream);
// A sink that discards everything, for streams nobody consumes.
GstElement* MakeDiscardBranch(bool sync);

}  // namespace zev::dshow
