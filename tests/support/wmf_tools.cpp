#include "wmf_tools.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>

namespace wmftest {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kToneHz = 440.0;

}  // namespace

OwnedType RawVideoType(const GUID& subtype, LONG width, LONG height, WORD bitCount) {
    OwnedType t;
    t.mt.majortype = MEDIATYPE_Video;
    t.mt.subtype = subtype;
    t.mt.formattype = FORMAT_VideoInfo;
    t.mt.bFixedSizeSamples = TRUE;
    t.block.resize(sizeof(VIDEOINFOHEADER));
    t.Bind();
    VIDEOINFOHEADER* vih = t.Video();
    vih->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    vih->bmiHeader.biWidth = width;
    vih->bmiHeader.biHeight = height;
    vih->bmiHeader.biPlanes = 1;
    const bool rgb = subtype == MEDIASUBTYPE_RGB24 || subtype == MEDIASUBTYPE_RGB32;
    vih->bmiHeader.biBitCount = bitCount                        ? bitCount
                                : subtype == MEDIASUBTYPE_RGB24 ? 24
                                : subtype == MEDIASUBTYPE_RGB32 ? 32
                                                                : 12;
    vih->bmiHeader.biCompression = rgb ? BI_RGB : subtype.Data1;
    t.mt.lSampleSize = static_cast<ULONG>(RawFrameBytes(subtype, width, height));
    return t;
}

OwnedType PcmType(WORD channels, DWORD rate, WORD bits, bool isFloat) {
    OwnedType t;
    t.mt.majortype = MEDIATYPE_Audio;
    t.mt.subtype = isFloat ? MEDIASUBTYPE_IEEE_FLOAT : MEDIASUBTYPE_PCM;
    t.mt.formattype = FORMAT_WaveFormatEx;
    t.block.resize(sizeof(WAVEFORMATEX));
    t.Bind();
    WAVEFORMATEX* w = t.Wave();
    w->wFormatTag = isFloat ? WAVE_FORMAT_IEEE_FLOAT : WAVE_FORMAT_PCM;
    w->nChannels = channels;
    w->nSamplesPerSec = rate;
    w->wBitsPerSample = bits;
    w->nBlockAlign = static_cast<WORD>(channels * bits / 8);
    w->nAvgBytesPerSec = rate * w->nBlockAlign;
    t.mt.lSampleSize = w->nBlockAlign;
    return t;
}

OwnedType MediaTypeOf(IWMMediaProps* props) {
    OwnedType t;
    DWORD size = 0;
    EXPECT_EQ(S_OK, props->GetMediaType(nullptr, &size));
    std::vector<uint64_t> buf((size + 7) / 8);
    auto* mt = reinterpret_cast<WM_MEDIA_TYPE*>(buf.data());
    EXPECT_EQ(S_OK, props->GetMediaType(mt, &size));
    t.mt = *mt;
    t.block.assign(mt->pbFormat, mt->pbFormat + mt->cbFormat);
    t.Bind();
    return t;
}

std::vector<BYTE> MakeFrame(const GUID& subtype, LONG width, LONG height, int index) {
    const LONG h = std::abs(height);
    std::vector<BYTE> f(RawFrameBytes(subtype, width, h));
    // Waves of several sizes drifting a few pixels a frame: like real
    // footage, the bits it needs rise and fall with the quantiser, so rate
    // control can meet its target.
    static const std::vector<double> wave = [] {
        std::vector<double> t(256);
        for (int i = 0; i < 256; ++i) t[i] = std::sin(2 * kPi * i / 256);
        return t;
    }();
    auto luma = [&](LONG x, LONG y) {
        return static_cast<BYTE>(120 + 40 * wave[(x * 3 + index * 5) & 255] +
                                 30 * wave[(y * 4 + index * 3) & 255] +
                                 20 * wave[(x * 13 + y * 7 + index * 9) & 255] +
                                 15 * wave[(x * 29 - y * 17 + index * 11) & 255]);
    };
    if (subtype == MEDIASUBTYPE_RGB24 || subtype == MEDIASUBTYPE_RGB32) {
        const size_t bpp = subtype == MEDIASUBTYPE_RGB24 ? 3 : 4;
        const size_t stride = (width * bpp + 3) & ~size_t{3};
        for (LONG y = 0; y < h; ++y)
            for (LONG x = 0; x < width; ++x) {
                BYTE* p = &f[y * stride + x * bpp];
                p[0] = p[1] = p[2] = luma(x, y);
            }
        return f;
    }
    if (subtype == MEDIASUBTYPE_YUY2 || subtype == MEDIASUBTYPE_UYVY) {
        const bool yFirst = subtype == MEDIASUBTYPE_YUY2;
        for (LONG y = 0; y < h; ++y)
            for (LONG x = 0; x < width; ++x) {
                BYTE* p = &f[(y * width + x) * 2];
                p[yFirst ? 0 : 1] = luma(x, y);
                p[yFirst ? 1 : 0] = static_cast<BYTE>(x % 2 ? 90 : 160);
            }
        return f;
    }
    // 4:2:0: luma plane, then chroma at a constant tint.
    for (LONG y = 0; y < h; ++y)
        for (LONG x = 0; x < width; ++x) f[y * width + x] = luma(x, y);
    for (size_t i = static_cast<size_t>(width) * h; i < f.size(); ++i) f[i] = 110;
    return f;
}

std::vector<BYTE> MakeTone(WORD channels, DWORD rate, WORD bits, bool isFloat, size_t samples,
                           size_t firstSample) {
    std::vector<BYTE> out(samples * channels * bits / 8);
    BYTE* p = out.data();
    for (size_t i = 0; i < samples; ++i) {
        const double v = 0.5 * std::sin(2 * kPi * kToneHz * (firstSample + i) / rate);
        for (WORD c = 0; c < channels; ++c) {
            if (isFloat) {
                const float fv = static_cast<float>(v);
                std::memcpy(p, &fv, 4);
            } else if (bits == 8) {
                *p = static_cast<BYTE>(128 + v * 127);
            } else if (bits == 16) {
                const int16_t s = static_cast<int16_t>(v * 32767);
                std::memcpy(p, &s, 2);
            } else {
                const int32_t s = static_cast<int32_t>(v * 2147483647.0);
                std::memcpy(p, &s, 4);
            }
            p += bits / 8;
        }
    }
    return out;
}

ComPtr<IWMProfile> MakeJobProfile(DWORD audioCodec, DWORD audioFormat, LONG width, LONG height,
                                  int fps, DWORD videoBitrate) {
    ComPtr<IWMProfileManager> pm;
    EXPECT_EQ(S_OK, WMCreateProfileManager(pm.Put()));
    ComPtr<IWMProfile> profile;
    EXPECT_EQ(S_OK, pm->LoadSystemProfile(0, profile.Put()));
    EXPECT_EQ(S_OK, profile->RemoveStreamByNumber(1));
    EXPECT_EQ(S_OK, profile->RemoveStreamByNumber(2));
    auto info = pm.As<IWMCodecInfo>();
    ComPtr<IWMStreamConfig> audio, video;
    EXPECT_EQ(S_OK, info->GetCodecFormat(WMMEDIATYPE_Audio, audioCodec, audioFormat, audio.Put()));
    EXPECT_EQ(S_OK, audio->SetStreamNumber(1));
    EXPECT_EQ(S_OK, profile->AddStream(audio.Get()));
    EXPECT_EQ(S_OK, info->GetCodecFormat(WMMEDIATYPE_Video, 0, 2, video.Put()));
    EXPECT_EQ(S_OK, video->SetStreamNumber(2));
    EXPECT_EQ(S_OK, video->SetBitrate(videoBitrate));
    auto props = video.As<IWMMediaProps>();
    OwnedType t = MediaTypeOf(props.Get());
    VIDEOINFOHEADER* vih = t.Video();
    vih->rcSource = vih->rcTarget = RECT{0, 0, width, height};
    vih->dwBitRate = videoBitrate;
    vih->AvgTimePerFrame = kUnitsPerSecond / fps;
    vih->bmiHeader.biWidth = width;
    vih->bmiHeader.biHeight = height;
    EXPECT_EQ(S_OK, props->SetMediaType(&t.mt));
    EXPECT_EQ(S_OK, profile->AddStream(video.Get()));
    return profile;
}

}  // namespace wmftest
