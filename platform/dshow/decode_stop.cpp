#include "platform/dshow/decode_stop.h"

#include <cstring>

namespace zev::dshow {
namespace {

// Links between decodebin's output and its decoder: capsfilters,
// converters. More would be a graph this code does not know.
constexpr int kMaxHops = 6;

bool IsDecoder(GstElement* element) {
    GstElementFactory* f = gst_element_get_factory(element);
    const char* klass =
        f ? gst_element_factory_get_metadata(f, GST_ELEMENT_METADATA_KLASS) : nullptr;
    return klass && std::strstr(klass, "Decoder");
}

// The only sink pad of `element`, or nullptr when it has none or several.
PadRef OnlySinkPad(GstElement* element) {
    GST_OBJECT_LOCK(element);
    GstPad* pad = element->numsinkpads == 1 ? GST_PAD(element->sinkpads->data) : nullptr;
    if (pad) gst_object_ref(pad);
    GST_OBJECT_UNLOCK(element);
    return PadRef(pad);
}

bool IsMultiQueue(GstElement* element) {
    GstElementFactory* f = gst_element_get_factory(element);
    return f && g_str_equal(GST_OBJECT_NAME(f), "multiqueue");
}

// Answers end of stream to the buffer or list of `info` (the probe then
// returns HANDLED). A dropped buffer would report OK, and upstream would go
// on reading for a stream that no longer needs it.
void RefuseAsEnded(GstPadProbeInfo* info) {
    if (GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_BUFFER_LIST)
        gst_buffer_list_unref(GST_PAD_PROBE_INFO_BUFFER_LIST(info));
    else
        gst_buffer_unref(GST_PAD_PROBE_INFO_BUFFER(info));
    GST_PAD_PROBE_INFO_DATA(info) = nullptr;
    GST_PAD_PROBE_INFO_FLOW_RETURN(info) = GST_FLOW_EOS;
}

GstPadProbeReturn OnDecoderInput(GstPad*, GstPadProbeInfo* info, gpointer data) {
    auto& ended = *static_cast<StreamEnded*>(data);
    if (GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_EVENT_FLUSH) {
        if (GST_EVENT_TYPE(GST_PAD_PROBE_INFO_EVENT(info)) == GST_EVENT_FLUSH_STOP) *ended = false;
        return GST_PAD_PROBE_OK;
    }
    if (!*ended) return GST_PAD_PROBE_OK;
    RefuseAsEnded(info);
    return GST_PAD_PROBE_HANDLED;
}

// The reading cap of one demuxed stream; its streaming thread only.
struct ReadCap {
    const std::atomic<gint64>* untilNs;
    GstClockTime stop = GST_CLOCK_TIME_NONE;  // in time stamps
    bool ended = false;
};

GstPadProbeReturn OnDemuxedInput(GstPad*, GstPadProbeInfo* info, gpointer data) {
    auto* cap = static_cast<ReadCap*>(data);
    if (GST_PAD_PROBE_INFO_TYPE(info) &
        (GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM | GST_PAD_PROBE_TYPE_EVENT_FLUSH)) {
        GstEvent* ev = GST_PAD_PROBE_INFO_EVENT(info);
        if (GST_EVENT_TYPE(ev) == GST_EVENT_FLUSH_STOP) {
            cap->ended = false;
            cap->stop = GST_CLOCK_TIME_NONE;
        } else if (GST_EVENT_TYPE(ev) == GST_EVENT_SEGMENT) {
            const GstSegment* seg = nullptr;
            gst_event_parse_segment(ev, &seg);
            const gint64 until = cap->untilNs->load();
            // As the range probe places the stop on the decoded stream.
            cap->stop = seg->format == GST_FORMAT_TIME && seg->rate > 0 && until >= 0 &&
                                static_cast<guint64>(until) >= seg->time
                            ? seg->start + (static_cast<guint64>(until) - seg->time)
                            : GST_CLOCK_TIME_NONE;
        }
        return GST_PAD_PROBE_OK;
    }
    if (!cap->ended && GST_CLOCK_TIME_IS_VALID(cap->stop)) {
        GstBuffer* b = GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_BUFFER_LIST
                           ? gst_buffer_list_get(GST_PAD_PROBE_INFO_BUFFER_LIST(info), 0)
                           : GST_PAD_PROBE_INFO_BUFFER(info);
        const GstClockTime t =
            b ? GST_BUFFER_PTS_IS_VALID(b) ? GST_BUFFER_PTS(b) : GST_BUFFER_DTS(b)
              : GST_CLOCK_TIME_NONE;
        cap->ended = GST_CLOCK_TIME_IS_VALID(t) && t > cap->stop + kReadPastEndNs;
    }
    if (!cap->ended) return GST_PAD_PROBE_OK;
    RefuseAsEnded(info);
    return GST_PAD_PROBE_HANDLED;
}

// Where the demuxer hands the stream of `decodedPad` to decodebin's queue:
// the queue's input whose output leads, through single-input elements, to
// the stream's decoder.
PadRef DemuxedInput(GstPad* decodedPad) {
    ElementRef decoder = DecoderFeeding(decodedPad);
    PadRef pad = decoder ? OnlySinkPad(decoder.Get()) : PadRef();
    for (int hop = 0; pad && hop < kMaxHops; ++hop) {
        PadRef upstream(gst_pad_get_peer(pad.Get()));
        ElementRef element(upstream ? gst_pad_get_parent_element(upstream.Get()) : nullptr);
        if (!element) return {};
        if (!IsMultiQueue(element.Get())) {
            pad = OnlySinkPad(element.Get());
            continue;
        }
        PadRef input;
        GstIterator* it = gst_pad_iterate_internal_links(upstream.Get());
        GValue v = G_VALUE_INIT;
        if (it && gst_iterator_next(it, &v) == GST_ITERATOR_OK)
            input.Reset(GST_PAD(g_value_dup_object(&v)));
        g_value_unset(&v);
        if (it) gst_iterator_free(it);
        return input;
    }
    return {};
}

}  // namespace

ElementRef DecoderFeeding(GstPad* decodedPad) {
    PadRef pad(GST_IS_GHOST_PAD(decodedPad) ? gst_ghost_pad_get_target(GST_GHOST_PAD(decodedPad))
                                            : GST_PAD(gst_object_ref(decodedPad)));
    for (int hop = 0; pad && hop < kMaxHops; ++hop) {
        ElementRef element(gst_pad_get_parent_element(pad.Get()));
        if (!element) return {};
        if (IsDecoder(element.Get())) return element;
        PadRef sink = OnlySinkPad(element.Get());
        if (!sink) return {};
        pad.Reset(gst_pad_get_peer(sink.Get()));
    }
    return {};
}

bool StopDecodingPastEnd(GstPad* decodedPad, const StreamEnded& ended) {
    ElementRef decoder = DecoderFeeding(decodedPad);
    PadRef input = decoder ? OnlySinkPad(decoder.Get()) : PadRef();
    if (!input) return false;
    gst_pad_add_probe(
        input.Get(),
        static_cast<GstPadProbeType>(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_BUFFER_LIST |
                                     GST_PAD_PROBE_TYPE_EVENT_FLUSH),
        &OnDecoderInput, new StreamEnded(ended),
        [](gpointer p) { delete static_cast<StreamEnded*>(p); });
    return true;
}

bool StopReadingPastEnd(GstPad* decodedPad, const std::atomic<gint64>* untilNs) {
    PadRef input = DemuxedInput(decodedPad);
    if (!input) return false;
    gst_pad_add_probe(
        input.Get(),
        static_cast<GstPadProbeType>(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_BUFFER_LIST |
                                     GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM |
                                     GST_PAD_PROBE_TYPE_EVENT_FLUSH),
        &OnDemuxedInput, new ReadCap{untilNs}, [](gpointer p) { delete static_cast<ReadCap*>(p); });
    return true;
}

}  // namespace zev::dshow
