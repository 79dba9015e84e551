#include "platform/dshow/discovery.h"

#include <sys/stat.h>

#include <mutex>

#include "platform/dshow/container_length.h"

namespace zev::dshow {
namespace {

constexpr GstClockTime kPrerollTimeout = 15 * GST_SECOND;
constexpr GstClockTime kPollInterval = 50 * GST_MSECOND;
// Three seconds with a paused streaming task and no preroll: a stream that
// stopped without a message. A task also pauses for a moment while a file is
// typefound and its demuxer plugged, and on a busy machine that moment can
// last well over half a second.
constexpr int kStalledPolls = 60;

struct ProbeState {
    GstElement* pipeline = nullptr;
    std::mutex lock;
    std::vector<PadRef> pads;
    std::vector<ElementRef> sinks;
    int unknown = 0;
};

// The stream time of the buffer each sink prerolled with, the earliest of
// them; 0 when none tells.
gint64 EarliestPrerollTime(const std::vector<ElementRef>& sinks) {
    gint64 earliest = -1;
    for (const ElementRef& sink : sinks) {
        GstSample* raw = nullptr;
        g_object_get(sink.Get(), "last-sample", &raw, nullptr);
        SampleRef sample(raw);
        GstBuffer* b = sample ? gst_sample_get_buffer(sample.Get()) : nullptr;
        const GstSegment* seg = sample ? gst_sample_get_segment(sample.Get()) : nullptr;
        if (!b || !seg || seg->format != GST_FORMAT_TIME || !GST_BUFFER_PTS_IS_VALID(b)) continue;
        const guint64 t = gst_segment_to_stream_time(seg, GST_FORMAT_TIME, GST_BUFFER_PTS(b));
        if (!GST_CLOCK_TIME_IS_VALID(t)) continue;
        if (earliest < 0 || static_cast<gint64>(t) < earliest) earliest = static_cast<gint64>(t);
    }
    return earliest < 0 ? 0 : earliest;
}

void OnPadAdded(GstElement*, GstPad* pad, gpointer data) {
    auto* st = static_cast<ProbeState*>(data);
    GstElement* sink = MakeElement("fakesink");
    if (!sink) return;
    g_object_set(sink, "sync", FALSE, nullptr);
    gst_bin_add(GST_BIN(st->pipeline), sink);
    PadRef sinkPad(gst_element_get_static_pad(sink, "sink"));
    gst_pad_link(pad, sinkPad.Get());
    gst_element_sync_state_with_parent(sink);
    std::lock_guard<std::mutex> g(st->lock);
    st->pads.emplace_back(GST_PAD(gst_object_ref(pad)));
    st->sinks.emplace_back(GST_ELEMENT(gst_object_ref(sink)));
}

void OnUnknownType(GstElement*, GstPad*, GstCaps*, gpointer data) {
    auto* st = static_cast<ProbeState*>(data);
    std::lock_guard<std::mutex> g(st->lock);
    ++st->unknown;
}

bool HasClass(GstElement* e, const char* word) {
    GstElementFactory* f = gst_element_get_factory(e);
    if (!f) return false;
    const char* klass = gst_element_factory_get_metadata(f, GST_ELEMENT_METADATA_KLASS);
    return klass && std::strstr(klass, word);
}

std::string LongName(GstElement* e) {
    GstElementFactory* f = gst_element_get_factory(e);
    const char* n =
        f ? gst_element_factory_get_metadata(f, GST_ELEMENT_METADATA_LONGNAME) : nullptr;
    return n ? n : GST_OBJECT_NAME(e);
}

// The names by which the graph's splitters are known to the programs that
// look for them: an MPEG-1 system stream's splitter has a fixed name.
std::string DemuxerDisplayName(GstElement* demux) {
    PadRef sink(gst_element_get_static_pad(demux, "sink"));
    CapsRef caps(sink ? gst_pad_get_current_caps(sink.Get()) : nullptr);
    if (!caps && sink) {
        // A demuxer that pulls its data gets no caps event; typefind knows.
        PadRef peer(gst_pad_get_peer(sink.Get()));
        ElementRef up(peer ? gst_pad_get_parent_element(peer.Get()) : nullptr);
        if (up && g_object_class_find_property(G_OBJECT_GET_CLASS(up.Get()), "caps")) {
            GstCaps* found = nullptr;
            g_object_get(up.Get(), "caps", &found, nullptr);
            caps.Reset(found);
        }
    }
    if (caps && gst_caps_get_size(caps.Get()) > 0) {
        const GstStructure* s = gst_caps_get_structure(caps.Get(), 0);
        gboolean system = FALSE;
        int version = 0;
        if (gst_structure_has_name(s, "video/mpeg") &&
            gst_structure_get_boolean(s, "systemstream", &system) && system &&
            gst_structure_get_int(s, "mpegversion", &version)) {
            return version == 1 ? "MPEG-I Stream Splitter" : "MPEG-2 Demultiplexer";
        }
    }
    return LongName(demux);
}

HRESULT ErrorToResult(GError* err) {
    if (!err) return VFW_E_INVALID_FILE_FORMAT;
    if (err->domain == GST_STREAM_ERROR) {
        if (err->code == GST_STREAM_ERROR_TYPE_NOT_FOUND) return VFW_E_UNKNOWN_FILE_TYPE;
        if (err->code == GST_STREAM_ERROR_CODEC_NOT_FOUND) return VFW_E_UNSUPPORTED_STREAM;
    }
    if (err->domain == GST_CORE_ERROR && err->code == GST_CORE_ERROR_MISSING_PLUGIN)
        return VFW_E_UNSUPPORTED_STREAM;
    if (err->domain == GST_RESOURCE_ERROR && err->code == GST_RESOURCE_ERROR_NOT_FOUND)
        return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    return VFW_E_INVALID_FILE_FORMAT;
}

}  // namespace

HeldPreroll::~HeldPreroll() {
    if (pipeline) gst_element_set_state(pipeline.Get(), GST_STATE_NULL);
}

bool HeldPreroll::StillDescribes(const std::string& path) const {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && st.st_dev == device && st.st_ino == inode &&
           st.st_size == size && st.st_mtim.tv_sec == modified.tv_sec &&
           st.st_mtim.tv_nsec == modified.tv_nsec;
}

ChainNames NamesBehindPad(GstPad* decodedPad) {
    ChainNames names;
    PadRef pad(GST_PAD(gst_object_ref(decodedPad)));
    // Walk upstream through ghost pads and elements until the source.
    for (int guard = 0; pad && guard < 64; ++guard) {
        if (GST_IS_GHOST_PAD(pad.Get())) {
            pad.Reset(gst_ghost_pad_get_target(GST_GHOST_PAD(pad.Get())));
            continue;
        }
        ElementRef e(gst_pad_get_parent_element(pad.Get()));
        if (!e) break;
        if (names.decoder.empty() && HasClass(e.Get(), "Decoder"))
            names.decoder = LongName(e.Get());
        if (HasClass(e.Get(), "Demux")) {
            names.demuxer = DemuxerDisplayName(e.Get());
            break;
        }
        // Follow the element's first sink pad to its upstream peer.
        PadRef sink;
        GstIterator* it = gst_element_iterate_sink_pads(e.Get());
        GValue v = G_VALUE_INIT;
        if (gst_iterator_next(it, &v) == GST_ITERATOR_OK)
            sink.Reset(GST_PAD(gst_object_ref(g_value_get_object(&v))));
        g_value_unset(&v);
        gst_iterator_free(it);
        pad.Reset(sink ? gst_pad_get_peer(sink.Get()) : nullptr);
    }
    return names;
}

HRESULT DiscoverFile(const std::string& path, Discovery* out) {
    struct stat st {};
    if (path.empty() || stat(path.c_str(), &st) != 0)
        return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    if (!S_ISREG(st.st_mode) || st.st_size == 0) return VFW_E_UNKNOWN_FILE_TYPE;
    if (!EnsureGstInit()) return E_FAIL;

    ProbeState state;
    ElementRef pipeline(GST_ELEMENT(gst_object_ref_sink(gst_pipeline_new(nullptr))));
    state.pipeline = pipeline.Get();
    GstElement* decode = AddFileDecoder(pipeline.Get(), path);
    if (!decode) return E_FAIL;
    g_signal_connect(decode, "pad-added", G_CALLBACK(OnPadAdded), &state);
    g_signal_connect(decode, "unknown-type", G_CALLBACK(OnUnknownType), &state);

    BusRef bus(gst_element_get_bus(pipeline.Get()));
    // Nothing watches a preroll in real time.
    auto threads = std::make_shared<StreamThreads>(true);
    StreamThreads::Watch(bus.Get(), threads);
    HRESULT hr = S_OK;
    if (gst_element_set_state(pipeline.Get(), GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE)
        hr = VFW_E_UNKNOWN_FILE_TYPE;
    GstMessage* msg = nullptr;
    if (hr == S_OK) {
        // Poll, so that a stream that stopped without a message is noticed.
        const auto types = static_cast<GstMessageType>(GST_MESSAGE_ASYNC_DONE | GST_MESSAGE_ERROR);
        int stalledPolls = 0;
        for (GstClockTime waited = 0;
             !msg && waited < kPrerollTimeout && stalledPolls < kStalledPolls;
             waited += kPollInterval) {
            msg = gst_bus_timed_pop_filtered(bus.Get(), kPollInterval, types);
            stalledPolls = !msg && HasPausedTask(pipeline.Get()) ? stalledPolls + 1 : 0;
        }
        if (!msg) {
            hr = VFW_E_INVALID_FILE_FORMAT;
        } else if (GST_MESSAGE_TYPE(msg) == GST_MESSAGE_ERROR) {
            GError* err = nullptr;
            gst_message_parse_error(msg, &err, nullptr);
            hr = ErrorToResult(err);
            if (err) g_error_free(err);
        }
        if (msg) gst_message_unref(msg);
    }
    if (hr == S_OK) {
        gint64 duration = -1;
        if (gst_element_query_duration(pipeline.Get(), GST_FORMAT_TIME, &duration) && duration > 0)
            out->durationNs = duration;
        else
            out->durationNs = ContainerLengthNs(path);
        std::lock_guard<std::mutex> g(state.lock);
        out->originNs = EarliestPrerollTime(state.sinks);
        for (const PadRef& pad : state.pads) {
            DiscoveredStream s;
            s.format = MediaFormat::FromPad(pad.Get());
            if (s.format.kind == StreamKind::Other) {
                ++state.unknown;
                continue;
            }
            s.streamId = StreamIdOf(pad.Get());
            ChainNames names = NamesBehindPad(pad.Get());
            s.decoderName = names.decoder;
            if (!names.demuxer.empty()) out->demuxerName = names.demuxer;
            out->streams.push_back(std::move(s));
        }
        out->unrenderable = state.unknown;
        if (out->streams.empty()) hr = VFW_E_UNSUPPORTED_STREAM;
    }
    // The probe's callbacks use `state`, which ends here.
    g_signal_handlers_disconnect_by_data(decode, &state);
    std::lock_guard<std::mutex> g(state.lock);
    if (hr == S_OK) {
        auto held = std::make_unique<HeldPreroll>();
        held->device = st.st_dev;
        held->inode = st.st_ino;
        held->size = st.st_size;
        held->modified = st.st_mtim;
        held->pads = std::move(state.pads);
        held->sinks = std::move(state.sinks);
        held->pipeline = std::move(pipeline);
        held->threads = std::move(threads);
        out->held = std::move(held);
        return hr;
    }
    gst_element_set_state(pipeline.Get(), GST_STATE_NULL);
    state.pads.clear();
    state.sinks.clear();
    return hr;
}

}  // namespace zev::dshow
