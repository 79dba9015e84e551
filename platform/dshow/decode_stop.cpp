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

GstPadProbeReturn OnDecoderInput(GstPad*, GstPadProbeInfo* info, gpointer data) {
    auto& ended = *static_cast<StreamEnded*>(data);
    if (GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_EVENT_FLUSH) {
        if (GST_EVENT_TYPE(GST_PAD_PROBE_INFO_EVENT(info)) == GST_EVENT_FLUSH_STOP) *ended = false;
        return GST_PAD_PROBE_OK;
    }
    if (!*ended) return GST_PAD_PROBE_OK;
    // Handled with EOS rather than dropped: a dropped buffer reports OK, and
    // upstream would go on reading for a stream that no longer needs it.
    if (GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_BUFFER_LIST)
        gst_buffer_list_unref(GST_PAD_PROBE_INFO_BUFFER_LIST(info));
    else
        gst_buffer_unref(GST_PAD_PROBE_INFO_BUFFER(info));
    GST_PAD_PROBE_INFO_DATA(info) = nullptr;
    GST_PAD_PROBE_INFO_FLOW_RETURN(info) = GST_FLOW_EOS;
    return GST_PAD_PROBE_HANDLED;
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

}  // namespace zev::dshow
