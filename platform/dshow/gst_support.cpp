#include "platform/dshow/gst_support.h"

#include "platform/dshow/dshow.h"

#include <mutex>

namespace zev::dshow {

bool EnsureGstInit() {
    static std::once_flag once;
    static bool ok = false;
    std::call_once(once, [] {
        GError* err = nullptr;
        ok = gst_init_check(nullptr, nullptr, &err) == TRUE;
        if (err) g_error_free(err);
    });
    return ok;
}

GstElement* MakeElement(const char* factory, const char* name) {
    return gst_element_factory_make(factory, name);
}

GstElement* AddFileDecoder(GstElement* bin, const std::string& path) {
    auto sunk = [](GstElement* e) {
        return ElementRef(e ? GST_ELEMENT(gst_object_ref_sink(e)) : nullptr);
    };
    ElementRef src = sunk(MakeElement("filesrc"));
    ElementRef decode = sunk(MakeElement("decodebin"));
    if (!src || !decode) return nullptr;
    g_object_set(src.Get(), "location", path.c_str(), nullptr);
    gst_bin_add_many(GST_BIN(bin), src.Get(), decode.Get(), nullptr);
    gst_element_link(src.Get(), decode.Get());
    return decode.Get();  // the bin keeps its own reference
}

std::string StreamIdOf(GstPad* pad) {
    gchar* id = gst_pad_get_stream_id(pad);
    std::string out = id ? id : "";
    g_free(id);
    return out;
}

bool HasPausedTask(GstElement* pipeline) {
    bool paused = false;
    GstIterator* elements = gst_bin_iterate_recurse(GST_BIN(pipeline));
    GValue ev = G_VALUE_INIT;
    while (!paused && gst_iterator_next(elements, &ev) == GST_ITERATOR_OK) {
        GstIterator* pads = gst_element_iterate_pads(GST_ELEMENT(g_value_get_object(&ev)));
        GValue pv = G_VALUE_INIT;
        while (!paused && gst_iterator_next(pads, &pv) == GST_ITERATOR_OK) {
            paused = gst_pad_get_task_state(GST_PAD(g_value_get_object(&pv))) == GST_TASK_PAUSED;
            g_value_reset(&pv);
        }
        g_value_unset(&pv);
        gst_iterator_free(pads);
        g_value_reset(&ev);
    }
    g_value_unset(&ev);
    gst_iterator_free(elements);
    return paused;
}

void CopyWide(WCHAR* dst, size_t capacity, const std::wstring& text) {
    if (!dst || capacity == 0) return;
    size_t n = text.size() < capacity - 1 ? text.size() : capacity - 1;
    for (size_t i = 0; i < n; ++i) dst[i] = text[i];
    dst[n] = 0;
}

}  // namespace zev::dshow

std::thread DShowWarmUp() {
    return std::thread([] {
        if (!zev::dshow::EnsureGstInit()) return;
        // Loading is the cost: decoders alone register hundreds of types.
        for (const char* plugin : {"coreelements", "playback", "typefindfunctions", "libav", "app",
                                   "videoconvertscale", "audioconvert", "audioresample"}) {
            if (GstPlugin* p = gst_plugin_load_by_name(plugin)) gst_object_unref(p);
        }
    });
}
