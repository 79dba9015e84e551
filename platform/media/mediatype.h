// Media types: one definition shared by the media graph layer and the
// Windows Media runtime layer. A media type names a major type, a subtype
// and a format block (VIDEOINFOHEADER for video, WAVEFORMATEX for audio).
//
// Ownership: the format block of an AM_MEDIA_TYPE is allocated with
// CoTaskMemAlloc and freed by FreeMediaType, as in DirectShow.
#pragma once

#include "platform/win/com.h"
#include "platform/win/wintypes.h"

struct AM_MEDIA_TYPE {
    GUID majortype;
    GUID subtype;
    BOOL bFixedSizeSamples;
    BOOL bTemporalCompression;
    ULONG lSampleSize;
    GUID formattype;
    IUnknown* pUnk;
    ULONG cbFormat;
    BYTE* pbFormat;
};
// The Windows Media runtime's name for the same structure.
using WM_MEDIA_TYPE = AM_MEDIA_TYPE;

struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};

struct VIDEOINFOHEADER {
    RECT rcSource;
    RECT rcTarget;
    DWORD dwBitRate;
    DWORD dwBitErrorRate;
    REFERENCE_TIME AvgTimePerFrame;
    BITMAPINFOHEADER bmiHeader;
};

struct WAVEFORMATEX {
    WORD wFormatTag;
    WORD nChannels;
    DWORD nSamplesPerSec;
    DWORD nAvgBytesPerSec;
    WORD nBlockAlign;
    WORD wBitsPerSample;
    WORD cbSize;  // bytes of codec data following the structure
};

constexpr WORD WAVE_FORMAT_PCM = 0x0001;
constexpr WORD WAVE_FORMAT_IEEE_FLOAT = 0x0003;
constexpr WORD WAVE_FORMAT_WMAUDIO1 = 0x0160;
constexpr WORD WAVE_FORMAT_WMAUDIO2 = 0x0161;

constexpr DWORD BI_RGB = 0;
constexpr DWORD MakeFourCC(char a, char b, char c, char d) {
    return static_cast<DWORD>(static_cast<uint8_t>(a)) |
           (static_cast<DWORD>(static_cast<uint8_t>(b)) << 8) |
           (static_cast<DWORD>(static_cast<uint8_t>(c)) << 16) |
           (static_cast<DWORD>(static_cast<uint8_t>(d)) << 24);
}

// Subtypes named by a FOURCC or a wave format tag share one base.
constexpr GUID FourCCGuid(DWORD fourcc) {
    return GUID{fourcc, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
}
constexpr GUID MediaGuid(uint32_t n) {
    return MakeLayerGuid(0x4D54, n);
}

constexpr GUID MEDIATYPE_Video = FourCCGuid(MakeFourCC('v', 'i', 'd', 's'));
constexpr GUID MEDIATYPE_Audio = FourCCGuid(MakeFourCC('a', 'u', 'd', 's'));
constexpr GUID MEDIATYPE_Stream = MediaGuid(1);
constexpr GUID WMMEDIATYPE_Video = MEDIATYPE_Video;
constexpr GUID WMMEDIATYPE_Audio = MEDIATYPE_Audio;

constexpr GUID MEDIASUBTYPE_None = GUID_NULL;
constexpr GUID MEDIASUBTYPE_RGB24 = MediaGuid(0x100);
constexpr GUID MEDIASUBTYPE_RGB32 = MediaGuid(0x101);
constexpr GUID MEDIASUBTYPE_RGB565 = MediaGuid(0x102);
constexpr GUID MEDIASUBTYPE_RGB555 = MediaGuid(0x103);
constexpr GUID MEDIASUBTYPE_I420 = FourCCGuid(MakeFourCC('I', '4', '2', '0'));
constexpr GUID MEDIASUBTYPE_IYUV = FourCCGuid(MakeFourCC('I', 'Y', 'U', 'V'));
constexpr GUID MEDIASUBTYPE_YV12 = FourCCGuid(MakeFourCC('Y', 'V', '1', '2'));
constexpr GUID MEDIASUBTYPE_NV12 = FourCCGuid(MakeFourCC('N', 'V', '1', '2'));
constexpr GUID MEDIASUBTYPE_YUY2 = FourCCGuid(MakeFourCC('Y', 'U', 'Y', '2'));
constexpr GUID MEDIASUBTYPE_UYVY = FourCCGuid(MakeFourCC('U', 'Y', 'V', 'Y'));
constexpr GUID MEDIASUBTYPE_WMV1 = FourCCGuid(MakeFourCC('W', 'M', 'V', '1'));
constexpr GUID MEDIASUBTYPE_WMV2 = FourCCGuid(MakeFourCC('W', 'M', 'V', '2'));
constexpr GUID MEDIASUBTYPE_PCM = FourCCGuid(WAVE_FORMAT_PCM);
constexpr GUID MEDIASUBTYPE_IEEE_FLOAT = FourCCGuid(WAVE_FORMAT_IEEE_FLOAT);
constexpr GUID MEDIASUBTYPE_WMAudioV7 = FourCCGuid(WAVE_FORMAT_WMAUDIO1);
constexpr GUID MEDIASUBTYPE_WMAudioV8 = FourCCGuid(WAVE_FORMAT_WMAUDIO2);
constexpr GUID MEDIASUBTYPE_MPEG1System = MediaGuid(0x200);
constexpr GUID WMMEDIASUBTYPE_RGB24 = MEDIASUBTYPE_RGB24;
constexpr GUID WMMEDIASUBTYPE_PCM = MEDIASUBTYPE_PCM;

constexpr GUID FORMAT_None = MediaGuid(0x300);
constexpr GUID FORMAT_VideoInfo = MediaGuid(0x301);
constexpr GUID FORMAT_WaveFormatEx = MediaGuid(0x302);
constexpr GUID WMFORMAT_VideoInfo = FORMAT_VideoInfo;
constexpr GUID WMFORMAT_WaveFormatEx = FORMAT_WaveFormatEx;

// Releases the format block and the pUnk of `mt` (not `mt` itself).
void FreeMediaType(AM_MEDIA_TYPE& mt);
// Frees a media type made by CreateMediaType or handed out by a layer.
void DeleteMediaType(AM_MEDIA_TYPE* mt);
// Deep copy; returns E_OUTOFMEMORY when the block cannot be allocated.
HRESULT CopyMediaType(AM_MEDIA_TYPE* dst, const AM_MEDIA_TYPE* src);
AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* src);

// Views of the format block, or nullptr when the block is absent, of
// another type or too short.
const VIDEOINFOHEADER* VideoInfoOf(const AM_MEDIA_TYPE& mt);
VIDEOINFOHEADER* VideoInfoOf(AM_MEDIA_TYPE& mt);
const WAVEFORMATEX* WaveFormatOf(const AM_MEDIA_TYPE& mt);
WAVEFORMATEX* WaveFormatOf(AM_MEDIA_TYPE& mt);

// Bytes of one uncompressed frame of the given video subtype, or 0 when the
// subtype is not an uncompressed format this platform knows or the size is
// out of range.
size_t RawFrameBytes(const GUID& subtype, LONG width, LONG height);
