// What reaches a decoder after its stream's range has ended is dropped
// before it is decoded, and a new seek decodes again.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "graph_tools.h"
#include "media_tools.h"
#include "platform/dshow/decode_stop.h"

using namespace zev::dshow;

namespace {

// Counts the pictures that leave the decoder and, from `endAfter` on,
// marks the stream ended, as the range probe does at the range's end.
struct Watch {
    StreamEnded ended = std::make_shared<std::atomic<bool>>(false);
    std::atomic<int> decoded{0};
    int endAfter = 0;
    std::atomic<bool> hooked{false};
    ElementRef decoder;
    std::mutex lock;
};

GstPadProbeReturn CountDecoded(GstPad*, GstPadProbeInfo*, gpointer data) {
    auto* w = static_cast<Watch*>(data);
    if (++w->decoded >= w->endAfter) *w->ended = true;
    return GST_PAD_PROBE_OK;
}

void OnPad(GstElement* decodebin, GstPad* pad, gpointer data) {
    auto* w = static_cast<Watch*>(data);
    GstElement* sink = MakeElement("fakesink");
    g_object_set(sink, "sync", FALSE, "async", FALSE, nullptr);
    GstElement* pipeline = GST_ELEMENT(gst_element_get_parent(decodebin));
    gst_bin_add(GST_BIN(pipeline), sink);
    gst_object_unref(pipeline);
    PadRef in(gst_element_get_static_pad(sink, "sink"));
    gst_pad_link(pad, in.Get());
    gst_element_sync_state_with_parent(sink);
    CapsRef caps(gst_pad_get_current_caps(pad));
    const char* kind = gst_structure_get_name(gst_caps_get_structure(caps.Get(), 0));
    if (!g_str_has_prefix(kind, "video/")) return;
    std::lock_guard<std::mutex> g(w->lock);
    w->decoder = DecoderFeeding(pad);
    w->hooked = StopDecodingPastEnd(pad, w->ended);
    gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_BUFFER, &CountDecoded, w, nullptr);
}

bool PlayToEos(GstElement* pipeline) {
    GstRef<GstBus> bus(gst_element_get_bus(pipeline));
    GstMessage* msg = gst_bus_timed_pop_filtered(
        bus.Get(), 20 * GST_SECOND,
        static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    const bool eos = msg && GST_MESSAGE_TYPE(msg) == GST_MESSAGE_EOS;
    if (msg) gst_message_unref(msg);
    return eos;
}

}  // namespace

TEST(DecodeStop, AnEndedStreamIsNoLongerDecodedUntilTheNextSeek) {
    ASSERT_TRUE(EnsureGstInit());
    const std::string path = dshow_test::TempPath("decode-stop.mpg");
    ClipSpec spec;
    spec.seconds = 8;
    spec.codecs = "-c:v mpeg1video -q:v 4 -c:a mp2 -f mpeg";
    ASSERT_TRUE(MakeClip(path, spec));  // 200 pictures

    Watch w;
    w.endAfter = 20;
    ElementRef pipeline(GST_ELEMENT(gst_object_ref_sink(gst_pipeline_new(nullptr))));
    gst_pipeline_use_clock(GST_PIPELINE(pipeline.Get()), nullptr);
    GstElement* decode = AddFileDecoder(pipeline.Get(), path);
    ASSERT_NE(decode, nullptr);
    g_signal_connect(decode, "pad-added", G_CALLBACK(OnPad), &w);
    ASSERT_NE(gst_element_set_state(pipeline.Get(), GST_STATE_PLAYING), GST_STATE_CHANGE_FAILURE);
    ASSERT_TRUE(PlayToEos(pipeline.Get()));
    {
        std::lock_guard<std::mutex> g(w.lock);
        ASSERT_TRUE(w.hooked);
        ASSERT_TRUE(w.decoder);
        EXPECT_TRUE(g_str_has_prefix(GST_OBJECT_NAME(gst_element_get_factory(w.decoder.Get())),
                                     "avdec_mpeg"));
    }
    // The stream ran on to its end, but past the mark nothing was decoded
    // beyond what the decoder already held.
    const int firstRun = w.decoded;
    EXPECT_GE(firstRun, w.endAfter);
    EXPECT_LE(firstRun, w.endAfter + 8);

    // A flushing seek clears the mark: the stream is decoded again.
    w.endAfter = 1 << 30;
    ASSERT_NE(gst_element_set_state(pipeline.Get(), GST_STATE_PAUSED), GST_STATE_CHANGE_FAILURE);
    gst_element_get_state(pipeline.Get(), nullptr, nullptr, 5 * GST_SECOND);
    ASSERT_TRUE(gst_element_seek_simple(
        pipeline.Get(), GST_FORMAT_TIME,
        static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_KEY_UNIT), 4 * GST_SECOND));
    gst_element_set_state(pipeline.Get(), GST_STATE_PLAYING);
    ASSERT_TRUE(PlayToEos(pipeline.Get()));
    EXPECT_GE(w.decoded - firstRun, 90);  // four seconds at 25 per second, less a key interval
    gst_element_set_state(pipeline.Get(), GST_STATE_NULL);
}
