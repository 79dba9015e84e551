#include "platform/dshow/renderers.h"

#include <gst/app/gstappsink.h>

#include "platform/dshow/video_surface.h"

namespace zev::dshow {
namespace {

// Asked once per process: probing the audio devices is slow and noisy.
bool HaveAudioDevice() {
    static std::once_flag once;
    static bool have = false;
    std::call_once(once, [] {
        ElementRef sink(MakeElement("autoaudiosink"));
        if (!sink) return;
        gst_object_ref_sink(sink.Get());
        if (gst_element_set_state(sink.Get(), GST_STATE_READY) != GST_STATE_CHANGE_FAILURE) {
            // With no working device the automatic sink settles on a fake one.
            have = true;
            GstIterator* it = gst_bin_iterate_elements(GST_BIN(sink.Get()));
            GValue v = G_VALUE_INIT;
            while (gst_iterator_next(it, &v) == GST_ITERATOR_OK) {
                GstElementFactory* f = gst_element_get_factory(GST_ELEMENT(g_value_get_object(&v)));
                if (f && g_str_equal(GST_OBJECT_NAME(f), "fakesink")) have = false;
                g_value_reset(&v);
            }
            g_value_unset(&v);
            gst_iterator_free(it);
        }
        gst_element_set_state(sink.Get(), GST_STATE_NULL);
    });
    return have;
}

}  // namespace

VideoRenderer::VideoRenderer() : FilterBase(kVideoRendererName) {
    AddPin(PINDIR_INPUT, L"Input");
}

bool VideoRenderer::AcceptInput(Pin*, Pin*, const MediaFormat& offered, MediaFormat* agreed) {
    if (offered.kind != StreamKind::Video) return false;
    *agreed = offered;
    agreed->videoFormat = GST_VIDEO_FORMAT_BGRx;
    agreed->bottomUp = false;  // the seam's pictures are top first
    return true;
}

GstElement* VideoRenderer::BuildBranch(Pin* input, const BranchContext& ctx) {
    GstElement* sink = MakeElement("appsink");
    if (!sink) return nullptr;
    g_object_set(sink, "sync", ctx.sync ? TRUE : FALSE, "max-buffers", 2u, nullptr);
    GstAppSinkCallbacks cb{};
    cb.new_preroll = &VideoRenderer::OnPreroll;
    cb.new_sample = &VideoRenderer::OnSample;
    gst_app_sink_set_callbacks(GST_APP_SINK(sink), &cb, this, nullptr);
    return MakeConvertingBranch(input->Format(), sink);
}

GstFlowReturn VideoRenderer::OnPreroll(GstAppSink* sink, gpointer self) {
    SampleRef s(gst_app_sink_pull_preroll(sink));
    if (s) static_cast<VideoRenderer*>(self)->Present(s.Get());
    return GST_FLOW_OK;
}

GstFlowReturn VideoRenderer::OnSample(GstAppSink* sink, gpointer self) {
    SampleRef s(gst_app_sink_pull_sample(sink));
    if (s) static_cast<VideoRenderer*>(self)->Present(s.Get());
    return GST_FLOW_OK;
}

void VideoRenderer::Present(GstSample* sample) {
    HWND owner = Owner();
    if (!owner || !Visible()) return;
    GstVideoInfo info;
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    if (!buffer || !gst_video_info_from_caps(&info, gst_sample_get_caps(sample))) return;
    GstVideoFrame frame;
    if (!gst_video_frame_map(&frame, &info, buffer, GST_MAP_READ)) return;
    double t = 0;
    const GstSegment* seg = gst_sample_get_segment(sample);
    if (GST_BUFFER_PTS_IS_VALID(buffer) && seg) {
        guint64 st = gst_segment_to_stream_time(seg, GST_FORMAT_TIME, GST_BUFFER_PTS(buffer));
        if (st != GST_CLOCK_TIME_NONE) t = static_cast<double>(st) / GST_SECOND;
    }
    VideoFrameView view{GST_VIDEO_FRAME_WIDTH(&frame), GST_VIDEO_FRAME_HEIGHT(&frame),
                        GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0),
                        static_cast<const uint8_t*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0)), t};
    DeliverVideoFrame(owner, view);
    gst_video_frame_unmap(&frame);
}

void VideoRenderer::SetOwner(HWND owner) {
    {
        std::lock_guard<std::mutex> g(m_lock);
        m_owner = owner;
    }
    Place();
}

HWND VideoRenderer::Owner() const {
    std::lock_guard<std::mutex> g(m_lock);
    return m_owner;
}

void VideoRenderer::SetPosition(const RECT& rect) {
    {
        std::lock_guard<std::mutex> g(m_lock);
        m_rect = rect;
    }
    Place();
}

void VideoRenderer::SetVisible(bool visible) {
    {
        std::lock_guard<std::mutex> g(m_lock);
        m_visible = visible;
    }
    Place();
}

bool VideoRenderer::Visible() const {
    std::lock_guard<std::mutex> g(m_lock);
    return m_visible;
}

void VideoRenderer::OnGraphStarting() {
    bool show;
    {
        std::lock_guard<std::mutex> g(m_lock);
        show = m_autoShow && !m_visible;
        if (show) m_visible = true;
    }
    if (show) Place();
}

void VideoRenderer::Place() {
    HWND owner;
    RECT rect;
    bool visible;
    {
        std::lock_guard<std::mutex> g(m_lock);
        owner = m_owner;
        rect = m_rect;
        visible = m_visible;
    }
    PlaceVideo(owner, rect, visible);
}

AudioRenderer::AudioRenderer() : FilterBase(kAudioRendererName) {
    AddPin(PINDIR_INPUT, L"Audio Input pin (rendered)");
}

bool AudioRenderer::AcceptInput(Pin*, Pin*, const MediaFormat& offered, MediaFormat* agreed) {
    if (offered.kind != StreamKind::Audio) return false;
    AM_MEDIA_TYPE pcm{};
    pcm.majortype = MEDIATYPE_Audio;
    pcm.subtype = MEDIASUBTYPE_PCM;
    return NegotiateFormat(offered, pcm, agreed);
}

GstElement* AudioRenderer::BuildBranch(Pin* input, const BranchContext& ctx) {
    GstElement* sink = nullptr;
    if (HaveAudioDevice()) sink = MakeElement("autoaudiosink");
    if (!sink) {
        // No device: a clocked sink keeps playback at real speed, so the
        // preview and its end of stream behave as with sound.
        sink = MakeElement("fakesink");
        if (!sink) return nullptr;
    }
    g_object_set(sink, "sync", ctx.sync ? TRUE : FALSE, nullptr);
    return MakeConvertingBranch(input->Format(), sink);
}

NullRenderer::NullRenderer() : FilterBase(kNullRendererName) {
    AddPin(PINDIR_INPUT, L"In");
}

bool NullRenderer::AcceptInput(Pin*, Pin*, const MediaFormat& offered, MediaFormat* agreed) {
    *agreed = offered;
    return true;
}

GstElement* NullRenderer::BuildBranch(Pin*, const BranchContext& ctx) {
    GstElement* sink = MakeElement("fakesink");
    if (!sink) return nullptr;
    g_object_set(sink, "sync", ctx.sync ? TRUE : FALSE, nullptr);
    return MakeConvertingBranch(MediaFormat{}, sink);
}

HRESULT CreateNullRenderer(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (!EnsureGstInit()) return E_FAIL;
    auto* f = new NullRenderer;
    HRESULT hr = f->QueryInterface(riid, ppv);
    f->Release();
    return hr;
}

}  // namespace zev::dshow
