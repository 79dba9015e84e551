#include "platform/dshow/graph_runner.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <iterator>

#include "platform/dshow/decode_stop.h"
#include "platform/dshow/discovery.h"

namespace zev::dshow {
namespace {

constexpr auto kPrerollLimit = std::chrono::seconds(15);
constexpr GstClockTime kStatePoll = 20 * GST_MSECOND;
// Three seconds with a paused streaming task and no preroll (see discovery.cpp).
constexpr int kStalledPolls = 150;

struct RangeGate {
    std::atomic<gint64>* deliverFromNs;
    std::atomic<gint64>* deliverUntilNs;
    StreamEnded ended = std::make_shared<std::atomic<bool>>(false);
    GstClockTime segmentStart = 0;
    GstClockTime segmentStop = GST_CLOCK_TIME_NONE;
};

gint64 SeekTarget(gint64 startNs, bool exact) {
    if (exact) return startNs;
    return startNs > kSeekMarginNs ? startNs - kSeekMarginNs : 0;
}

// True when every demuxer of the pipeline is one that lands exactly on an
// accurate seek: it starts at the key frame before the target and clips
// the segment there, so no margin is needed. Without the margin a seek
// decodes up to one key frame interval less.
//
// A transport stream must be sought exactly: asked for a time before its
// first time stamp, its demuxer starts the segment at that time stamp but
// keeps the asked time as the segment's stream time, so the file's start
// would seem to lie a margin later than it does and be cut off.
bool DemuxersSeekExactly(GstElement* pipeline) {
    static const char* const kExact[] = {"qtdemux", "matroskademux", "avidemux", "tsdemux"};
    bool found = false, exact = true;
    GstIterator* it = gst_bin_iterate_recurse(GST_BIN(pipeline));
    GValue v = G_VALUE_INIT;
    while (exact && gst_iterator_next(it, &v) == GST_ITERATOR_OK) {
        GstElementFactory* f = gst_element_get_factory(GST_ELEMENT(g_value_get_object(&v)));
        const char* klass =
            f ? gst_element_factory_get_metadata(f, GST_ELEMENT_METADATA_KLASS) : nullptr;
        if (klass && std::strstr(klass, "Demux")) {
            found = true;
            exact = std::any_of(std::begin(kExact), std::end(kExact), [&](const char* name) {
                return g_str_equal(GST_OBJECT_NAME(f), name);
            });
        }
        g_value_reset(&v);
    }
    g_value_unset(&v);
    gst_iterator_free(it);
    return found && exact;
}

bool IsInside(GstObject* obj, GstElement* pipeline) {
    for (GstObject* o = obj; o; o = GST_OBJECT_PARENT(o))
        if (o == GST_OBJECT(pipeline)) return true;
    return false;
}

}  // namespace

GraphRunner::GraphRunner(EventQueue& events) : m_events(events) {}

GraphRunner::~GraphRunner() {
    Stop();
}

HRESULT GraphRunner::Start(const std::vector<SourceFilter*>& sources, const BranchContext& ctx,
                           gint64 startNs, gint64 stopNs, bool heldRun) {
    Stop();
    m_ctx = ctx;
    m_errorSeen = false;
    m_errorPosted = false;
    m_quit = false;
    m_originNs = sources.empty() ? 0 : sources.front()->OriginNs();
    // Even a run that is never positioned counts its times from the origin.
    m_deliverFromNs = m_originNs;
    m_deliverUntilNs = -1;
    // A single file fresh from discovery is already typefound, plugged and
    // prerolled: its pipeline is taken over rather than built again.
    std::unique_ptr<HeldPreroll> held = sources.size() == 1 ? sources[0]->TakePreroll() : nullptr;
    if (held && !held->StillDescribes(sources[0]->Path())) held.reset();
    const bool adopted = held != nullptr;
    m_threads =
        adopted && held->threads ? held->threads : std::make_shared<StreamThreads>(!ctx.sync);
    m_threads->SetBatch(!ctx.sync);
    m_pipeline = adopted ? std::move(held->pipeline)
                         : ElementRef(GST_ELEMENT(gst_object_ref_sink(gst_pipeline_new(nullptr))));
    if (!ctx.sync) gst_pipeline_use_clock(GST_PIPELINE(m_pipeline.Get()), nullptr);
    BusRef bus(gst_element_get_bus(m_pipeline.Get()));
    // What discovery left on the bus was read there.
    gst_bus_set_flushing(bus.Get(), TRUE);
    gst_bus_set_flushing(bus.Get(), FALSE);
    gst_bus_set_sync_handler(bus.Get(), nullptr, nullptr, nullptr);  // discovery's
    gst_bus_set_sync_handler(bus.Get(), &GraphRunner::OnBusMessage, this, nullptr);

    HRESULT hr = adopted ? AdoptPreroll(*held, sources[0]) : AddSources(sources);
    if (hr == S_OK && !adopted &&
        gst_element_set_state(m_pipeline.Get(), GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE)
        hr = E_FAIL;
    if (hr == S_OK && !adopted) hr = WaitPreroll();
    m_exactSeeks = hr == S_OK && DemuxersSeekExactly(m_pipeline.Get());
    // The taken-over pipeline's streams stopped when their placeholder sinks
    // went; a flushing seek starts them again into the new branches. A held
    // run leaves that to whatever ends the hold: its owner's first seek, as
    // a rule, which would otherwise preroll the file a second time.
    if (hr == S_OK && adopted && heldRun && startNs <= 0 && stopNs < 0) {
        std::lock_guard<std::mutex> g(m_holdLock);
        m_restartPending = true;
    } else if (hr == S_OK && (adopted || startNs > 0 || stopNs >= 0)) {
        std::lock_guard<std::mutex> g(m_holdLock);
        hr = SeekLocked(startNs > 0 ? startNs : 0, stopNs);
    }
    if (FAILED(hr)) {
        if (!m_errorPosted.exchange(true)) m_events.Post(EC_ERRORABORT, hr, 0);
        Stop();
    }
    return hr;
}

HRESULT GraphRunner::AddSources(const std::vector<SourceFilter*>& sources) {
    for (SourceFilter* source : sources) {
        GstElement* decode = AddFileDecoder(m_pipeline.Get(), source->Path());
        if (!decode) return E_FAIL;
        auto sc = std::make_unique<SourceContext>();
        sc->runner = this;
        sc->source = source;
        g_signal_connect(decode, "pad-added", G_CALLBACK(&GraphRunner::OnPadAdded), sc.get());
        m_sources.push_back(std::move(sc));
    }
    return S_OK;
}

HRESULT GraphRunner::AdoptPreroll(HeldPreroll& held, SourceFilter* source) {
    auto sc = std::make_unique<SourceContext>();
    sc->runner = this;
    sc->source = source;
    for (size_t i = 0; i < held.pads.size() && i < held.sinks.size(); ++i) {
        GstElement* sink = held.sinks[i].Get();
        // Out of its preroll wait first, so the streaming thread lets go.
        gst_element_set_state(sink, GST_STATE_NULL);
        PadRef sinkPad(gst_element_get_static_pad(sink, "sink"));
        gst_pad_unlink(held.pads[i].Get(), sinkPad.Get());
        gst_bin_remove(GST_BIN(m_pipeline.Get()), sink);
        OnPadAdded(nullptr, held.pads[i].Get(), sc.get());
    }
    m_sources.push_back(std::move(sc));
    return m_errorSeen ? VFW_E_INVALID_FILE_FORMAT : S_OK;
}

HRESULT GraphRunner::Play(bool hold) {
    if (!m_pipeline) return VFW_E_WRONG_STATE;
    if (hold) {
        std::lock_guard<std::mutex> g(m_holdLock);
        m_held = true;
        if (!m_holdTimer.joinable()) m_holdTimer = std::thread(&GraphRunner::HoldTimer, this);
        return S_OK;
    }
    ReleaseHold();
    {
        std::lock_guard<std::mutex> g(m_holdLock);
        if (FAILED(RestartLocked())) return E_FAIL;
    }
    return gst_element_set_state(m_pipeline.Get(), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE
               ? E_FAIL
               : S_OK;
}

HRESULT GraphRunner::Pause() {
    if (!m_pipeline) return VFW_E_WRONG_STATE;
    {
        std::lock_guard<std::mutex> g(m_holdLock);
        m_held = false;
        if (FAILED(RestartLocked())) return E_FAIL;
    }
    if (gst_element_set_state(m_pipeline.Get(), GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE)
        return E_FAIL;
    return WaitPreroll();
}

HRESULT GraphRunner::Seek(gint64 startNs, gint64 stopNs) {
    if (!m_pipeline) return VFW_E_WRONG_STATE;
    std::lock_guard<std::mutex> g(m_holdLock);
    HRESULT hr = SeekLocked(startNs, stopNs);
    if (m_held) {
        // Released even when the seek failed: the graph must not stall.
        m_held = false;
        m_holdWake.notify_all();
        gst_element_set_state(m_pipeline.Get(), GST_STATE_PLAYING);
    }
    return hr;
}

HRESULT GraphRunner::SeekLocked(gint64 startNs, gint64 stopNs) {
    m_restartPending = false;  // a flushing seek restarts every stream
    if (startNs < 0 && !Position(&startNs)) startNs = 0;
    // Positions are counted from the origin; GStreamer's from its stream time.
    const gint64 start = startNs + m_originNs;
    const gint64 stop = stopNs >= 0 ? stopNs + m_originNs : -1;
    m_deliverFromNs = start;
    m_deliverUntilNs = stop;
    const auto flags = static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE);
    if (!gst_element_seek(m_pipeline.Get(), 1.0, GST_FORMAT_TIME, flags, GST_SEEK_TYPE_SET,
                          SeekTarget(start, m_exactSeeks), GST_SEEK_TYPE_NONE, GST_CLOCK_TIME_NONE))
        return E_FAIL;
    GstState target = GST_STATE_TARGET(m_pipeline.Get());
    return target == GST_STATE_PAUSED ? WaitPreroll() : S_OK;
}

HRESULT GraphRunner::RestartLocked() {
    return m_restartPending ? SeekLocked(0, -1) : S_OK;
}

void GraphRunner::ReleaseHold() {
    std::lock_guard<std::mutex> g(m_holdLock);
    if (!m_held) return;
    m_held = false;
    m_holdWake.notify_all();
    // Played even when the restart failed: its error reaches the owner as
    // an event, and the graph must not stall.
    RestartLocked();
    gst_element_set_state(m_pipeline.Get(), GST_STATE_PLAYING);
}

void GraphRunner::HoldTimer() {
    std::unique_lock<std::mutex> g(m_holdLock);
    m_holdWake.wait_for(g, std::chrono::milliseconds(kHoldLimitMs),
                        [this] { return !m_held || m_quit; });
    if (m_held && !m_quit) {
        m_held = false;
        RestartLocked();
        gst_element_set_state(m_pipeline.Get(), GST_STATE_PLAYING);
    }
}

bool GraphRunner::Position(gint64* ns) const {
    gint64 pos = -1;
    if (!m_pipeline || !gst_element_query_position(m_pipeline.Get(), GST_FORMAT_TIME, &pos) ||
        pos < 0)
        return false;
    *ns = pos > m_originNs ? pos - m_originNs : 0;
    return true;
}

void GraphRunner::Stop() {
    {
        std::lock_guard<std::mutex> g(m_holdLock);
        m_quit = true;
        m_held = false;
        m_restartPending = false;
        m_holdWake.notify_all();
    }
    if (m_holdTimer.joinable()) m_holdTimer.join();
    if (!m_pipeline) return;
    gst_element_set_state(m_pipeline.Get(), GST_STATE_NULL);
    BusRef bus(gst_element_get_bus(m_pipeline.Get()));
    gst_bus_set_sync_handler(bus.Get(), nullptr, nullptr, nullptr);
    m_pipeline.Reset();
    m_sources.clear();
    m_threads.reset();
}

HRESULT GraphRunner::WaitPreroll() {
    const auto deadline = std::chrono::steady_clock::now() + kPrerollLimit;
    int stalledPolls = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        if (m_errorSeen) return VFW_E_INVALID_FILE_FORMAT;
        stalledPolls = HasPausedTask(m_pipeline.Get()) ? stalledPolls + 1 : 0;
        if (stalledPolls > kStalledPolls) return VFW_E_INVALID_FILE_FORMAT;
        switch (gst_element_get_state(m_pipeline.Get(), nullptr, nullptr, kStatePoll)) {
            case GST_STATE_CHANGE_SUCCESS:
            case GST_STATE_CHANGE_NO_PREROLL:
                return m_errorSeen ? VFW_E_INVALID_FILE_FORMAT : S_OK;
            case GST_STATE_CHANGE_FAILURE:
                return VFW_E_INVALID_FILE_FORMAT;
            default:
                break;
        }
    }
    return VFW_E_WRONG_STATE;
}

GstBusSyncReply GraphRunner::OnBusMessage(GstBus*, GstMessage* msg, gpointer data) {
    auto* self = static_cast<GraphRunner*>(data);
    if (self->m_threads) self->m_threads->OnMessage(msg);
    switch (GST_MESSAGE_TYPE(msg)) {
        case GST_MESSAGE_ERROR:
            if (IsInside(GST_MESSAGE_SRC(msg), self->m_pipeline.Get())) {
                self->m_errorSeen = true;
                if (!self->m_errorPosted.exchange(true))
                    self->m_events.Post(EC_ERRORABORT, VFW_E_INVALID_FILE_FORMAT, 0);
            }
            break;
        case GST_MESSAGE_EOS:
            if (GST_MESSAGE_SRC(msg) == GST_OBJECT(self->m_pipeline.Get()))
                self->m_events.Post(EC_COMPLETE, S_OK, 0);
            break;
        default:
            break;
    }
    // Dropped messages are the handler's to release.
    gst_message_unref(msg);
    return GST_BUS_DROP;
}

void GraphRunner::OnPadAdded(GstElement*, GstPad* pad, gpointer data) {
    auto* sc = static_cast<SourceContext*>(data);
    GraphRunner* self = sc->runner;
    CapsRef caps(gst_pad_get_current_caps(pad));
    const MediaFormat format = MediaFormat::FromCaps(caps.Get());
    const std::string streamId = StreamIdOf(pad);
    int index;
    {
        std::lock_guard<std::mutex> g(sc->lock);
        index = sc->perKind[static_cast<int>(format.kind)]++;
    }
    GstElement* branch = nullptr;
    if (format.kind != StreamKind::Other) {
        const StreamSlot* slot = sc->source->FindSlot(streamId, format.kind, index);
        if (slot && sc->source->SlotIsIntact(*slot)) {
            Pin* input = slot->decodedPin->Peer();
            branch = input->Owner()->BuildBranch(input, self->m_ctx);
        }
    }
    if (!branch) branch = MakeDiscardBranch(false);
    if (!branch) return;
    auto* gate = new RangeGate{&self->m_deliverFromNs, &self->m_deliverUntilNs};
    StopDecodingPastEnd(pad, gate->ended);
    StopReadingPastEnd(pad, &self->m_deliverUntilNs);
    gst_pad_add_probe(pad,
                      static_cast<GstPadProbeType>(GST_PAD_PROBE_TYPE_BUFFER |
                                                   GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM),
                      &GraphRunner::OnRangeProbe, gate,
                      [](gpointer g) { delete static_cast<RangeGate*>(g); });
    gst_bin_add(GST_BIN(self->m_pipeline.Get()), branch);
    PadRef sink(gst_element_get_static_pad(branch, "sink"));
    if (gst_pad_link(pad, sink.Get()) != GST_PAD_LINK_OK) {
        GST_ELEMENT_ERROR(self->m_pipeline.Get(), CORE, NEGOTIATION, ("cannot route a stream"),
                          (nullptr));
    }
    gst_element_sync_state_with_parent(branch);
}

GstPadProbeReturn GraphRunner::OnRangeProbe(GstPad*, GstPadProbeInfo* info, gpointer data) {
    auto* gate = static_cast<RangeGate*>(data);
    const gint64 from = gate->deliverFromNs->load();
    const gint64 until = gate->deliverUntilNs->load();
    if (GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_BUFFER) {
        GstBuffer* b = GST_PAD_PROBE_INFO_BUFFER(info);
        if (!GST_BUFFER_PTS_IS_VALID(b)) return GST_PAD_PROBE_OK;
        // Past the asked stop: upstream learns from the flow result that the
        // stream has ended, and the demuxer ends it when all its streams have.
        // Only a handled buffer carries a flow result back (a dropped one
        // reports OK, and the file would be read and decoded to its end).
        if (GST_CLOCK_TIME_IS_VALID(gate->segmentStop) && GST_BUFFER_PTS(b) >= gate->segmentStop) {
            *gate->ended = true;
            gst_buffer_unref(b);
            GST_PAD_PROBE_INFO_DATA(info) = nullptr;
            GST_PAD_PROBE_INFO_FLOW_RETURN(info) = GST_FLOW_EOS;
            return GST_PAD_PROBE_HANDLED;
        }
        if (from <= 0) return GST_PAD_PROBE_OK;
        GstClockTime end =
            GST_BUFFER_PTS(b) + (GST_BUFFER_DURATION_IS_VALID(b) ? GST_BUFFER_DURATION(b) : 1);
        return end <= gate->segmentStart ? GST_PAD_PROBE_DROP : GST_PAD_PROBE_OK;
    }
    GstEvent* ev = GST_PAD_PROBE_INFO_EVENT(info);
    if (GST_EVENT_TYPE(ev) != GST_EVENT_SEGMENT) return GST_PAD_PROBE_OK;
    const GstSegment* in = nullptr;
    gst_event_parse_segment(ev, &in);
    GstSegment seg;
    gst_segment_copy_into(in, &seg);
    bool changed = false;
    if (seg.format == GST_FORMAT_TIME && seg.rate > 0 && from > 0 &&
        static_cast<guint64>(from) > seg.time) {
        seg.start += static_cast<guint64>(from) - seg.time;
        if (GST_CLOCK_TIME_IS_VALID(seg.stop) && seg.start > seg.stop) seg.start = seg.stop;
        seg.time = static_cast<guint64>(from);
        seg.position = seg.start;
        changed = true;
    }
    if (seg.format == GST_FORMAT_TIME && seg.rate > 0 && until >= 0 &&
        static_cast<guint64>(until) >= seg.time) {
        seg.stop = seg.start + (static_cast<guint64>(until) - seg.time);
        changed = true;
    }
    if (changed) {
        GstEvent* moved = gst_event_new_segment(&seg);
        gst_event_set_seqnum(moved, gst_event_get_seqnum(ev));
        gst_event_unref(ev);
        GST_PAD_PROBE_INFO_DATA(info) = moved;
    }
    gate->segmentStart = seg.format == GST_FORMAT_TIME ? seg.start : 0;
    gate->segmentStop = seg.format == GST_FORMAT_TIME ? seg.stop : GST_CLOCK_TIME_NONE;
    return GST_PAD_PROBE_OK;
}

}  // namespace zev::dshow
