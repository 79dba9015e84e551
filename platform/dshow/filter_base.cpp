#include "platform/dshow/filter_base.h"

#include "platform/dshow/com_enumerator.h"

namespace zev::dshow {
namespace {

// Frames a branch with a thread of its own holds between decoder and sink.
constexpr guint kOwnThreadFrames = 3;

GstElement* AddLinked(GstElement* bin, GstElement* prev, GstElement* e) {
    gst_bin_add(GST_BIN(bin), e);
    if (prev && !gst_element_link(prev, e)) return nullptr;
    return e;
}

}  // namespace

Pin::Pin(FilterBase* owner, PIN_DIRECTION dir, std::wstring name)
    : m_owner(owner), m_dir(dir), m_name(std::move(name)) {}

HRESULT Pin::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IPin) return ComAnswer<IPin>(this, ppv);
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG Pin::AddRef() {
    return m_owner->AddRef();
}
ULONG Pin::Release() {
    return m_owner->Release();
}

HRESULT Pin::Disconnect() {
    if (m_owner->Host() && !m_owner->Host()->IsStopped()) return VFW_E_WRONG_STATE;
    if (!m_peer) return S_FALSE;
    Detach();
    if (m_owner->Host()) m_owner->Host()->TopologyChanged();
    return S_OK;
}

HRESULT Pin::ConnectedTo(IPin** ppPin) {
    if (!ppPin) return E_POINTER;
    *ppPin = nullptr;
    if (!m_peer) return VFW_E_NOT_CONNECTED;
    *ppPin = m_peer;
    m_peer->AddRef();
    return S_OK;
}

HRESULT Pin::ConnectionMediaType(AM_MEDIA_TYPE* pmt) {
    if (!pmt) return E_POINTER;
    std::memset(pmt, 0, sizeof *pmt);
    if (!m_peer) return VFW_E_NOT_CONNECTED;
    return FormatToMediaType(m_format, pmt);
}

HRESULT Pin::QueryPinInfo(PIN_INFO* pInfo) {
    if (!pInfo) return E_POINTER;
    pInfo->pFilter = m_owner;
    m_owner->AddRef();
    pInfo->dir = m_dir;
    CopyWide(pInfo->achName, 128, m_name);
    return S_OK;
}

HRESULT Pin::QueryDirection(PIN_DIRECTION* pPinDir) {
    if (!pPinDir) return E_POINTER;
    *pPinDir = m_dir;
    return S_OK;
}

void Pin::Attach(Pin* peer, const MediaFormat& format) {
    m_peer = peer;
    m_format = format;
}

void Pin::Detach() {
    m_peer = nullptr;
    m_format = MediaFormat{};
}

FilterBase::FilterBase(std::wstring defaultName)
    : m_defaultName(std::move(defaultName)), m_name(m_defaultName) {}

FilterBase::~FilterBase() = default;

HRESULT FilterBase::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IMediaFilter || riid == IID_IBaseFilter)
        return ComAnswer<IBaseFilter>(this, ppv);
    *ppv = nullptr;
    return E_NOINTERFACE;
}

HRESULT FilterBase::GetState(DWORD, FILTER_STATE* state) {
    if (!state) return E_POINTER;
    *state = State_Stopped;
    if (m_host) {
        IMediaControl* control = nullptr;
        if (SUCCEEDED(m_host->AsFilterGraph()->QueryInterface(
                IID_IMediaControl, reinterpret_cast<void**>(&control)))) {
            OAFilterState s = State_Stopped;
            control->GetState(0, &s);
            control->Release();
            *state = static_cast<FILTER_STATE>(s);
        }
    }
    return S_OK;
}

HRESULT FilterBase::GetSyncSource(IReferenceClock** clock) {
    if (!clock) return E_POINTER;
    *clock = nullptr;
    return S_OK;
}

HRESULT FilterBase::EnumPins(IEnumPins** ppEnum) {
    if (!ppEnum) return E_POINTER;
    // Each pin held holds this filter.
    std::vector<ComPtr<IPin>> pins;
    for (const auto& p : m_pins) {
        p->AddRef();
        pins.emplace_back(p.get());
    }
    *ppEnum = new ComEnumerator<IEnumPins, IPin>(std::move(pins));
    return S_OK;
}

HRESULT FilterBase::FindPin(LPCWSTR id, IPin** ppPin) {
    if (!ppPin) return E_POINTER;
    *ppPin = nullptr;
    if (!id) return E_POINTER;
    for (const auto& p : m_pins) {
        if (p->Name() == id) {
            *ppPin = p.get();
            p->AddRef();
            return S_OK;
        }
    }
    return VFW_E_NOT_FOUND;
}

HRESULT FilterBase::QueryFilterInfo(FILTER_INFO* pInfo) {
    if (!pInfo) return E_POINTER;
    CopyWide(pInfo->achName, 128, m_name);
    pInfo->pGraph = m_host ? m_host->AsFilterGraph() : nullptr;
    if (pInfo->pGraph) pInfo->pGraph->AddRef();
    return S_OK;
}

void FilterBase::JoinGraph(GraphHost* host, std::wstring name) {
    m_host = host;
    m_name = host ? std::move(name) : m_defaultName;
}

Pin* FilterBase::FirstPin(PIN_DIRECTION dir) const {
    for (const auto& p : m_pins)
        if (p->Direction() == dir) return p.get();
    return nullptr;
}

MediaFormat FilterBase::OfferedFormat(const Pin*) const {
    return MediaFormat{};
}

GstElement* FilterBase::BuildBranch(Pin*, const BranchContext&) {
    return nullptr;
}

Pin* FilterBase::AddPin(PIN_DIRECTION dir, std::wstring name) {
    m_pins.push_back(std::make_unique<Pin>(this, dir, std::move(name)));
    return m_pins.back().get();
}

GstElement* MakeConvertingBranch(const MediaFormat& format, GstElement* sink, BranchThread thread) {
    ElementRef owned(GST_ELEMENT(gst_object_ref_sink(sink)));
    GstElement* bin = gst_bin_new(nullptr);
    GstElement* first = nullptr;
    GstElement* last = nullptr;
    auto chain = [&](GstElement* e) {
        if (!e) return false;
        if (!AddLinked(bin, last, e)) return false;
        if (!first) first = e;
        last = e;
        return true;
    };
    bool ok = true;
    if (format.kind == StreamKind::Video) {
        if (thread == BranchThread::Own) {
            ok = chain(MakeElement("queue"));
            // Counted in frames only: enough to even out uneven frames, few
            // enough that a 4K stream holds little memory.
            if (ok)
                g_object_set(last, "max-size-buffers", kOwnThreadFrames, "max-size-bytes", 0u,
                             "max-size-time", guint64{0}, nullptr);
        }
        ok = ok && chain(MakeElement("videoconvert"));
        // Turned upright before anything is scaled to a receiver's size.
        if (ok && format.orientation != GST_VIDEO_ORIENTATION_IDENTITY) {
            ok = chain(MakeElement("videoflip"));
            if (ok) g_object_set(last, "video-direction", format.orientation, nullptr);
        }
        if (ok && format.bottomUp) {
            ok = chain(MakeElement("videoflip"));
            if (ok) gst_util_set_object_arg(G_OBJECT(last), "method", "vertical-flip");
        }
    } else if (format.kind == StreamKind::Audio) {
        ok = chain(MakeElement("audioconvert")) && chain(MakeElement("audioresample"));
    }
    if (ok && format.kind != StreamKind::Other) {
        ok = chain(MakeElement("capsfilter"));
        if (ok) {
            CapsRef caps(format.MakeFilterCaps());
            g_object_set(last, "caps", caps.Get(), nullptr);
        }
    }
    ok = ok && chain(owned.Get());
    PadRef target(ok ? gst_element_get_static_pad(first, "sink") : nullptr);
    if (!target || !gst_element_add_pad(bin, gst_ghost_pad_new("sink", target.Get()))) {
        gst_object_unref(gst_object_ref_sink(bin));
        return nullptr;
    }
    return bin;
}

GstElement* MakeDiscardBranch(bool sync) {
    GstElement* sink = MakeElement("fakesink");
    if (!sink) return nullptr;
    g_object_set(sink, "sync", sync ? TRUE : FALSE, "async", FALSE, nullptr);
    return MakeConvertingBranch(MediaFormat{}, sink);
}

}  // namespace zev::dshow
