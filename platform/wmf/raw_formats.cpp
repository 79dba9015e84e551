#include "platform/wmf/raw_formats.h"

extern "C" {
#include <libavutil/imgutils.h>
}

namespace wmf {
namespace {

constexpr DWORD kBiBitfields = 3;
constexpr WORD kWaveFormatExtensible = 0xFFFE;
constexpr size_t kExtensibleExtraBytes = 22;
constexpr int kMaxInputChannels = 8;
constexpr DWORD kMinInputRate = 1000;
constexpr DWORD kMaxInputRate = 384000;

struct VideoSubtype {
    GUID subtype;
    AVPixelFormat format;
    WORD bitCount;  // 0: not an RGB type, the bit count is not checked
    bool swapChroma;
};

const VideoSubtype kVideoSubtypes[] = {
    {MEDIASUBTYPE_RGB24, AV_PIX_FMT_BGR24, 24, false},
    {MEDIASUBTYPE_RGB32, AV_PIX_FMT_BGR0, 32, false},
    {MEDIASUBTYPE_RGB565, AV_PIX_FMT_RGB565LE, 16, false},
    {MEDIASUBTYPE_RGB555, AV_PIX_FMT_RGB555LE, 16, false},
    {MEDIASUBTYPE_I420, AV_PIX_FMT_YUV420P, 0, false},
    {MEDIASUBTYPE_IYUV, AV_PIX_FMT_YUV420P, 0, false},
    {MEDIASUBTYPE_YV12, AV_PIX_FMT_YUV420P, 0, true},
    {MEDIASUBTYPE_NV12, AV_PIX_FMT_NV12, 0, false},
    {MEDIASUBTYPE_YUY2, AV_PIX_FMT_YUYV422, 0, false},
    {MEDIASUBTYPE_UYVY, AV_PIX_FMT_UYVY422, 0, false},
};

}  // namespace

bool ParseRawVideo(const WM_MEDIA_TYPE& mt, RawVideoLayout* out) {
    const VIDEOINFOHEADER* vih = VideoInfoOf(mt);
    if (mt.majortype != MEDIATYPE_Video || !vih) return false;
    const VideoSubtype* known = nullptr;
    for (const auto& s : kVideoSubtypes)
        if (s.subtype == mt.subtype) known = &s;
    if (!known) return false;
    const BITMAPINFOHEADER& bmi = vih->bmiHeader;
    const bool rgb = known->bitCount != 0;
    if (rgb && (bmi.biBitCount != known->bitCount ||
                (bmi.biCompression != BI_RGB && bmi.biCompression != kBiBitfields)))
        return false;
    if (!rgb && bmi.biCompression != BI_RGB && bmi.biCompression != mt.subtype.Data1) return false;
    const LONG height = bmi.biHeight < 0 ? -bmi.biHeight : bmi.biHeight;
    const size_t bytes = RawFrameBytes(mt.subtype, bmi.biWidth, height);
    if (bytes == 0) return false;
    // Packed 4:2:2 shares chroma between pixel pairs: an odd width has none.
    if ((known->format == AV_PIX_FMT_YUYV422 || known->format == AV_PIX_FMT_UYVY422) &&
        bmi.biWidth % 2)
        return false;
    if (bmi.biSizeImage != 0 && bmi.biSizeImage < bytes) return false;
    out->pixelFormat = known->format;
    out->width = bmi.biWidth;
    out->height = height;
    out->bottomUp = rgb && bmi.biHeight > 0;
    out->swapChroma = known->swapChroma;
    out->frameBytes = bytes;
    return true;
}

void RawVideoPlanes(const RawVideoLayout& layout, const uint8_t* data, const uint8_t* planes[4],
                    int strides[4]) {
    uint8_t* p[4] = {};
    int lines[4] = {};
    const bool rgb =
        layout.pixelFormat == AV_PIX_FMT_BGR24 || layout.pixelFormat == AV_PIX_FMT_BGR0 ||
        layout.pixelFormat == AV_PIX_FMT_RGB565LE || layout.pixelFormat == AV_PIX_FMT_RGB555LE;
    // DIB rows are padded to whole DWORDs; YUV frames are packed.
    av_image_fill_arrays(p, lines, data, layout.pixelFormat, layout.width, layout.height,
                         rgb ? 4 : 1);
    if (layout.swapChroma) std::swap(p[1], p[2]);
    for (int i = 0; i < 4; ++i) {
        planes[i] = p[i];
        strides[i] = lines[i];
    }
    if (layout.bottomUp) {
        planes[0] = p[0] + static_cast<ptrdiff_t>(lines[0]) * (layout.height - 1);
        strides[0] = -lines[0];
    }
}

bool ParseRawAudio(const WM_MEDIA_TYPE& mt, RawAudioLayout* out) {
    const WAVEFORMATEX* wfx = WaveFormatOf(mt);
    if (mt.majortype != MEDIATYPE_Audio || !wfx) return false;
    WORD tag = wfx->wFormatTag;
    if (tag == kWaveFormatExtensible) {
        // The sub-format GUID's first field is the plain format tag.
        if (wfx->cbSize < kExtensibleExtraBytes ||
            mt.cbFormat < sizeof(WAVEFORMATEX) + kExtensibleExtraBytes)
            return false;
        uint32_t first = 0;
        std::memcpy(&first, mt.pbFormat + sizeof(WAVEFORMATEX) + 6, sizeof first);
        tag = static_cast<WORD>(first);
    }
    const WORD bits = wfx->wBitsPerSample;
    AVSampleFormat fmt = AV_SAMPLE_FMT_NONE;
    if (tag == WAVE_FORMAT_PCM) {
        fmt = bits == 8    ? AV_SAMPLE_FMT_U8
              : bits == 16 ? AV_SAMPLE_FMT_S16
              : bits == 32 ? AV_SAMPLE_FMT_S32
                           : AV_SAMPLE_FMT_NONE;
    } else if (tag == WAVE_FORMAT_IEEE_FLOAT) {
        fmt = bits == 32 ? AV_SAMPLE_FMT_FLT : bits == 64 ? AV_SAMPLE_FMT_DBL : AV_SAMPLE_FMT_NONE;
    }
    if (fmt == AV_SAMPLE_FMT_NONE) return false;
    if (wfx->nChannels < 1 || wfx->nChannels > kMaxInputChannels) return false;
    if (wfx->nSamplesPerSec < kMinInputRate || wfx->nSamplesPerSec > kMaxInputRate) return false;
    if (wfx->nBlockAlign != wfx->nChannels * bits / 8) return false;
    out->sampleFormat = fmt;
    out->channels = wfx->nChannels;
    out->sampleRate = static_cast<int>(wfx->nSamplesPerSec);
    out->blockAlign = wfx->nBlockAlign;
    return true;
}

}  // namespace wmf
