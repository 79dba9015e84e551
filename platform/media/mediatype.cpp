#include "platform/media/mediatype.h"

#include <cstring>
#include <limits>

void FreeMediaType(AM_MEDIA_TYPE& mt) {
    if (mt.pbFormat) CoTaskMemFree(mt.pbFormat);
    mt.pbFormat = nullptr;
    mt.cbFormat = 0;
    if (mt.pUnk) mt.pUnk->Release();
    mt.pUnk = nullptr;
}

void DeleteMediaType(AM_MEDIA_TYPE* mt) {
    if (!mt) return;
    FreeMediaType(*mt);
    CoTaskMemFree(mt);
}

HRESULT CopyMediaType(AM_MEDIA_TYPE* dst, const AM_MEDIA_TYPE* src) {
    if (!dst || !src) return E_POINTER;
    *dst = *src;
    if (src->cbFormat && src->pbFormat) {
        dst->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(src->cbFormat));
        if (!dst->pbFormat) {
            dst->cbFormat = 0;
            dst->pUnk = nullptr;
            return E_OUTOFMEMORY;
        }
        std::memcpy(dst->pbFormat, src->pbFormat, src->cbFormat);
    } else {
        dst->pbFormat = nullptr;
        dst->cbFormat = 0;
    }
    if (dst->pUnk) dst->pUnk->AddRef();
    return S_OK;
}

AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* src) {
    auto* mt = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    if (!mt) return nullptr;
    if (!src) {
        std::memset(mt, 0, sizeof *mt);
        return mt;
    }
    if (FAILED(CopyMediaType(mt, src))) {
        CoTaskMemFree(mt);
        return nullptr;
    }
    return mt;
}

const VIDEOINFOHEADER* VideoInfoOf(const AM_MEDIA_TYPE& mt) {
    if (mt.formattype != FORMAT_VideoInfo || !mt.pbFormat || mt.cbFormat < sizeof(VIDEOINFOHEADER))
        return nullptr;
    return reinterpret_cast<const VIDEOINFOHEADER*>(mt.pbFormat);
}

VIDEOINFOHEADER* VideoInfoOf(AM_MEDIA_TYPE& mt) {
    return const_cast<VIDEOINFOHEADER*>(VideoInfoOf(static_cast<const AM_MEDIA_TYPE&>(mt)));
}

const WAVEFORMATEX* WaveFormatOf(const AM_MEDIA_TYPE& mt) {
    if (mt.formattype != FORMAT_WaveFormatEx || !mt.pbFormat || mt.cbFormat < sizeof(WAVEFORMATEX))
        return nullptr;
    return reinterpret_cast<const WAVEFORMATEX*>(mt.pbFormat);
}

WAVEFORMATEX* WaveFormatOf(AM_MEDIA_TYPE& mt) {
    return const_cast<WAVEFORMATEX*>(WaveFormatOf(static_cast<const AM_MEDIA_TYPE&>(mt)));
}

size_t RawFrameBytes(const GUID& subtype, LONG width, LONG height) {
    // Bottom-up RGB frames carry a negative height for top-down; size is the same.
    if (height < 0) height = -height;
    constexpr LONG kMaxSide = 16384;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return 0;
    const size_t w = static_cast<size_t>(width), h = static_cast<size_t>(height);
    auto rgbStride = [&](size_t bytesPerPixel) { return (w * bytesPerPixel + 3) & ~size_t{3}; };
    if (subtype == MEDIASUBTYPE_RGB24) return rgbStride(3) * h;
    if (subtype == MEDIASUBTYPE_RGB32) return rgbStride(4) * h;
    if (subtype == MEDIASUBTYPE_RGB565 || subtype == MEDIASUBTYPE_RGB555) return rgbStride(2) * h;
    if (subtype == MEDIASUBTYPE_YUY2 || subtype == MEDIASUBTYPE_UYVY) return w * 2 * h;
    if (subtype == MEDIASUBTYPE_I420 || subtype == MEDIASUBTYPE_IYUV ||
        subtype == MEDIASUBTYPE_YV12 || subtype == MEDIASUBTYPE_NV12) {
        const size_t cw = (w + 1) / 2, ch = (h + 1) / 2;
        return w * h + 2 * cw * ch;
    }
    return 0;
}
