#include "platform/dshow/media_format.h"

#include <cstring>
#include <utility>

namespace zev::dshow {
namespace {

struct VideoMapping {
    GstVideoFormat gst;
    GUID subtype;
    WORD bitCount;
    DWORD compression;
    bool rgb;
};

const VideoMapping kVideoMappings[] = {
    {GST_VIDEO_FORMAT_BGR, MEDIASUBTYPE_RGB24, 24, BI_RGB, true},
    {GST_VIDEO_FORMAT_BGRx, MEDIASUBTYPE_RGB32, 32, BI_RGB, true},
    {GST_VIDEO_FORMAT_I420, MEDIASUBTYPE_I420, 12, MakeFourCC('I', '4', '2', '0'), false},
    {GST_VIDEO_FORMAT_YV12, MEDIASUBTYPE_YV12, 12, MakeFourCC('Y', 'V', '1', '2'), false},
    {GST_VIDEO_FORMAT_NV12, MEDIASUBTYPE_NV12, 12, MakeFourCC('N', 'V', '1', '2'), false},
    {GST_VIDEO_FORMAT_YUY2, MEDIASUBTYPE_YUY2, 16, MakeFourCC('Y', 'U', 'Y', '2'), false},
    {GST_VIDEO_FORMAT_UYVY, MEDIASUBTYPE_UYVY, 16, MakeFourCC('U', 'Y', 'V', 'Y'), false},
};

const VideoMapping* MappingOf(GstVideoFormat f) {
    for (const auto& m : kVideoMappings)
        if (m.gst == f) return &m;
    return nullptr;
}

const VideoMapping* MappingOf(const GUID& subtype) {
    if (subtype == MEDIASUBTYPE_IYUV) return MappingOf(GST_VIDEO_FORMAT_I420);
    for (const auto& m : kVideoMappings)
        if (m.subtype == subtype) return &m;
    return nullptr;
}

bool IsAny(const GUID& g) {
    return g == GUID_NULL || g == FORMAT_None;
}

constexpr int kMaxWaveChannels = 2;  // plain WAVEFORMATEX describes no layout beyond stereo

// Row bytes and rows of each plane in the packed layout.
struct PlaneLayout {
    int planes = 0;
    size_t rowBytes[3] = {};
    int rows[3] = {};
};

PlaneLayout PackedLayout(GstVideoFormat f, int w, int h) {
    PlaneLayout l;
    const int cw = (w + 1) / 2, ch = (h + 1) / 2;
    switch (f) {
        case GST_VIDEO_FORMAT_BGR:
            l = {1, {(static_cast<size_t>(w) * 3 + 3) & ~size_t{3}}, {h}};
            break;
        case GST_VIDEO_FORMAT_BGRx:
            l = {1, {static_cast<size_t>(w) * 4}, {h}};
            break;
        case GST_VIDEO_FORMAT_I420:
        case GST_VIDEO_FORMAT_YV12:
            l = {3,
                 {static_cast<size_t>(w), static_cast<size_t>(cw), static_cast<size_t>(cw)},
                 {h, ch, ch}};
            break;
        case GST_VIDEO_FORMAT_NV12:
            l = {2, {static_cast<size_t>(w), static_cast<size_t>(cw) * 2}, {h, ch}};
            break;
        case GST_VIDEO_FORMAT_YUY2:
        case GST_VIDEO_FORMAT_UYVY:
            l = {1, {static_cast<size_t>(w) * 2}, {h}};
            break;
        default:
            break;
    }
    return l;
}

}  // namespace

MediaFormat MediaFormat::FromCaps(const GstCaps* caps) {
    MediaFormat f;
    if (!caps || gst_caps_get_size(caps) == 0) return f;
    const GstStructure* s = gst_caps_get_structure(caps, 0);
    const char* name = gst_structure_get_name(s);
    if (g_str_equal(name, "video/x-raw")) {
        f.kind = StreamKind::Video;
        const char* fmt = gst_structure_get_string(s, "format");
        f.videoFormat = fmt ? gst_video_format_from_string(fmt) : GST_VIDEO_FORMAT_UNKNOWN;
        gst_structure_get_int(s, "width", &f.width);
        gst_structure_get_int(s, "height", &f.height);
        if (!gst_structure_get_fraction(s, "framerate", &f.fpsNum, &f.fpsDen)) f.fpsNum = 0;
    } else if (g_str_equal(name, "audio/x-raw")) {
        f.kind = StreamKind::Audio;
        const char* fmt = gst_structure_get_string(s, "format");
        f.audioFormat = fmt ? gst_audio_format_from_string(fmt) : GST_AUDIO_FORMAT_UNKNOWN;
        gst_structure_get_int(s, "rate", &f.rate);
        gst_structure_get_int(s, "channels", &f.channels);
    }
    return f;
}

MediaFormat MediaFormat::FromPad(GstPad* pad) {
    CapsRef caps(gst_pad_get_current_caps(pad));
    MediaFormat f = FromCaps(caps.Get());
    if (f.kind != StreamKind::Video) return f;
    // Global and stream tags are kept apart; either may carry it.
    GstEvent* ev = nullptr;
    for (guint i = 0; (ev = gst_pad_get_sticky_event(pad, GST_EVENT_TAG, i)) != nullptr; ++i) {
        GstTagList* tags = nullptr;
        gst_event_parse_tag(ev, &tags);
        GstVideoOrientationMethod method = GST_VIDEO_ORIENTATION_IDENTITY;
        const bool told = tags && gst_video_orientation_from_tag(tags, &method);
        gst_event_unref(ev);
        if (!told || method == GST_VIDEO_ORIENTATION_IDENTITY) continue;
        f.orientation = method;
        if (method == GST_VIDEO_ORIENTATION_90R || method == GST_VIDEO_ORIENTATION_90L ||
            method == GST_VIDEO_ORIENTATION_UL_LR || method == GST_VIDEO_ORIENTATION_UR_LL)
            std::swap(f.width, f.height);
        break;
    }
    return f;
}

GstCaps* MediaFormat::MakeFilterCaps() const {
    if (kind == StreamKind::Video) {
        GstCaps* c = gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING,
                                         gst_video_format_to_string(videoFormat), nullptr);
        if (width > 0)
            gst_caps_set_simple(c, "width", G_TYPE_INT, width, "height", G_TYPE_INT, height,
                                nullptr);
        return c;
    }
    if (kind == StreamKind::Audio) {
        GstCaps* c = gst_caps_new_simple("audio/x-raw", "format", G_TYPE_STRING,
                                         gst_audio_format_to_string(audioFormat), "layout",
                                         G_TYPE_STRING, "interleaved", nullptr);
        if (rate > 0) gst_caps_set_simple(c, "rate", G_TYPE_INT, rate, nullptr);
        if (channels > 0) gst_caps_set_simple(c, "channels", G_TYPE_INT, channels, nullptr);
        return c;
    }
    return gst_caps_new_any();
}

bool NegotiateFormat(const MediaFormat& offered, const AM_MEDIA_TYPE& wanted, MediaFormat* agreed) {
    *agreed = offered;
    if (offered.kind == StreamKind::Video) {
        if (!IsAny(wanted.majortype) && wanted.majortype != MEDIATYPE_Video) return false;
        if (!IsAny(wanted.formattype) && wanted.formattype != FORMAT_VideoInfo) return false;
        const VideoMapping* m = nullptr;
        if (IsAny(wanted.subtype)) {
            m = MappingOf(offered.videoFormat);
            // Decoders' exotic outputs (10-bit, 4:4:4) reach receivers as I420.
            if (!m) m = MappingOf(GST_VIDEO_FORMAT_I420);
        } else {
            m = MappingOf(wanted.subtype);
            if (!m) return false;
        }
        agreed->videoFormat = m->gst;
        // RGB goes out top row first and says so with a negative height (a
        // top-down bitmap), which spares flipping every picture.
        agreed->bottomUp = false;
        return true;
    }
    if (offered.kind == StreamKind::Audio) {
        if (!IsAny(wanted.majortype) && wanted.majortype != MEDIATYPE_Audio) return false;
        if (!IsAny(wanted.formattype) && wanted.formattype != FORMAT_WaveFormatEx) return false;
        if (IsAny(wanted.subtype) || wanted.subtype == MEDIASUBTYPE_PCM)
            agreed->audioFormat = GST_AUDIO_FORMAT_S16LE;
        else if (wanted.subtype == MEDIASUBTYPE_IEEE_FLOAT)
            agreed->audioFormat = GST_AUDIO_FORMAT_F32LE;
        else
            return false;
        if (agreed->channels > kMaxWaveChannels) agreed->channels = kMaxWaveChannels;
        return true;
    }
    return IsAny(wanted.majortype);
}

HRESULT FormatToMediaType(const MediaFormat& f, AM_MEDIA_TYPE* out) {
    if (!out) return E_POINTER;
    std::memset(out, 0, sizeof *out);
    if (f.kind == StreamKind::Video) {
        const VideoMapping* m = MappingOf(f.videoFormat);
        auto* vih = static_cast<VIDEOINFOHEADER*>(CoTaskMemAlloc(sizeof(VIDEOINFOHEADER)));
        if (!vih) return E_OUTOFMEMORY;
        std::memset(vih, 0, sizeof *vih);
        const size_t image = PackedFrameBytes(f);
        vih->rcSource = RECT{0, 0, f.width, f.height};
        vih->rcTarget = vih->rcSource;
        if (f.fpsNum > 0 && f.fpsDen > 0) {
            vih->AvgTimePerFrame = kUnitsPerSecond * f.fpsDen / f.fpsNum;
            vih->dwBitRate = static_cast<DWORD>(image * 8 * f.fpsNum / f.fpsDen);
        }
        vih->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        vih->bmiHeader.biWidth = f.width;
        vih->bmiHeader.biHeight = m && m->rgb && !f.bottomUp ? -f.height : f.height;
        vih->bmiHeader.biPlanes = 1;
        vih->bmiHeader.biBitCount = m ? m->bitCount : 0;
        vih->bmiHeader.biCompression = m ? m->compression : 0;
        vih->bmiHeader.biSizeImage = static_cast<DWORD>(image);
        out->majortype = MEDIATYPE_Video;
        out->subtype = m ? m->subtype : GUID_NULL;
        out->bFixedSizeSamples = TRUE;
        out->lSampleSize = static_cast<ULONG>(image);
        out->formattype = FORMAT_VideoInfo;
        out->cbFormat = sizeof(VIDEOINFOHEADER);
        out->pbFormat = reinterpret_cast<BYTE*>(vih);
        return S_OK;
    }
    if (f.kind == StreamKind::Audio) {
        auto* wf = static_cast<WAVEFORMATEX*>(CoTaskMemAlloc(sizeof(WAVEFORMATEX)));
        if (!wf) return E_OUTOFMEMORY;
        const bool isFloat = f.audioFormat == GST_AUDIO_FORMAT_F32LE;
        const int bits = f.audioFormat == GST_AUDIO_FORMAT_U8 ? 8 : isFloat ? 32 : 16;
        wf->wFormatTag = isFloat ? WAVE_FORMAT_IEEE_FLOAT : WAVE_FORMAT_PCM;
        wf->nChannels = static_cast<WORD>(f.channels);
        wf->nSamplesPerSec = static_cast<DWORD>(f.rate);
        wf->wBitsPerSample = static_cast<WORD>(bits);
        wf->nBlockAlign = static_cast<WORD>(f.channels * bits / 8);
        wf->nAvgBytesPerSec = wf->nBlockAlign * wf->nSamplesPerSec;
        wf->cbSize = 0;
        out->majortype = MEDIATYPE_Audio;
        out->subtype = isFloat ? MEDIASUBTYPE_IEEE_FLOAT : MEDIASUBTYPE_PCM;
        out->bFixedSizeSamples = TRUE;
        out->lSampleSize = wf->nBlockAlign;
        out->formattype = FORMAT_WaveFormatEx;
        out->cbFormat = sizeof(WAVEFORMATEX);
        out->pbFormat = reinterpret_cast<BYTE*>(wf);
        return S_OK;
    }
    out->majortype = MEDIATYPE_Stream;
    out->formattype = FORMAT_None;
    return S_OK;
}

size_t PackedFrameBytes(const MediaFormat& f) {
    if (f.kind != StreamKind::Video) return 0;
    PlaneLayout l = PackedLayout(f.videoFormat, f.width, f.height);
    size_t total = 0;
    for (int p = 0; p < l.planes; ++p) total += l.rowBytes[p] * static_cast<size_t>(l.rows[p]);
    return total;
}

bool IsPackedLayout(const GstVideoInfo& info) {
    PlaneLayout l = PackedLayout(GST_VIDEO_INFO_FORMAT(&info), GST_VIDEO_INFO_WIDTH(&info),
                                 GST_VIDEO_INFO_HEIGHT(&info));
    if (l.planes == 0 || l.planes != static_cast<int>(GST_VIDEO_INFO_N_PLANES(&info))) return false;
    size_t offset = 0;
    for (int p = 0; p < l.planes; ++p) {
        if (static_cast<size_t>(GST_VIDEO_INFO_PLANE_STRIDE(&info, p)) != l.rowBytes[p] ||
            GST_VIDEO_INFO_PLANE_OFFSET(&info, p) != offset)
            return false;
        offset += l.rowBytes[p] * static_cast<size_t>(l.rows[p]);
    }
    return true;
}

bool PackVideoFrame(GstBuffer* buffer, const GstVideoInfo& info, std::vector<BYTE>* out) {
    PlaneLayout l = PackedLayout(GST_VIDEO_INFO_FORMAT(&info), GST_VIDEO_INFO_WIDTH(&info),
                                 GST_VIDEO_INFO_HEIGHT(&info));
    if (l.planes == 0) return false;
    GstVideoFrame frame;
    if (!gst_video_frame_map(&frame, const_cast<GstVideoInfo*>(&info), buffer, GST_MAP_READ))
        return false;
    size_t total = 0;
    for (int p = 0; p < l.planes; ++p) total += l.rowBytes[p] * static_cast<size_t>(l.rows[p]);
    out->resize(total);
    BYTE* dst = out->data();
    for (int p = 0; p < l.planes; ++p) {
        const auto* src = static_cast<const BYTE*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, p));
        const int stride = GST_VIDEO_FRAME_PLANE_STRIDE(&frame, p);
        const size_t copy = std::min<size_t>(l.rowBytes[p], static_cast<size_t>(stride));
        for (int row = 0; row < l.rows[p]; ++row) {
            std::memcpy(dst, src + static_cast<size_t>(row) * stride, copy);
            dst += l.rowBytes[p];
        }
    }
    gst_video_frame_unmap(&frame);
    return true;
}

}  // namespace zev::dshow
