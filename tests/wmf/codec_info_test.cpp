// Codec information and system profiles, through the exported entry point.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/wmf/wmsdk.h"

namespace {

ComPtr<IWMCodecInfo2> CodecInfo() {
    ComPtr<IWMProfileManager> pm;
    EXPECT_EQ(S_OK, WMCreateProfileManager(pm.Put()));
    return pm.As<IWMCodecInfo2>();
}

std::wstring CodecNameOf(IWMCodecInfo2* info, const GUID& type, DWORD codec) {
    DWORD cch = 0;
    EXPECT_EQ(S_OK, info->GetCodecName(type, codec, nullptr, &cch));
    std::wstring name(cch, L'\0');
    EXPECT_EQ(S_OK, info->GetCodecName(type, codec, name.data(), &cch));
    name.resize(cch - 1);
    return name;
}

// The stream's media type copied out the two-call way.
std::vector<uint64_t> MediaTypeOf(IWMStreamConfig* config) {
    ComPtr<IWMMediaProps> props;
    EXPECT_EQ(S_OK,
              config->QueryInterface(IID_IWMMediaProps, reinterpret_cast<void**>(props.Put())));
    DWORD size = 0;
    EXPECT_EQ(S_OK, props->GetMediaType(nullptr, &size));
    std::vector<uint64_t> buf((size + 7) / 8);
    EXPECT_EQ(S_OK, props->GetMediaType(reinterpret_cast<WM_MEDIA_TYPE*>(buf.data()), &size));
    return buf;
}

TEST(CodecInfo, VideoCodecsAreTheTwoWmvVersionsWithEnoughFormats) {
    auto info = CodecInfo();
    ASSERT_TRUE(info);
    DWORD count = 0;
    ASSERT_EQ(S_OK, info->GetCodecInfoCount(WMMEDIATYPE_Video, &count));
    std::set<std::wstring> names;
    for (DWORD c = 0; c < count; ++c) {
        const std::wstring name = CodecNameOf(info.Get(), WMMEDIATYPE_Video, c);
        names.insert(name);
        DWORD formats = 0;
        ASSERT_EQ(S_OK, info->GetCodecFormatCount(WMMEDIATYPE_Video, c, &formats));
        EXPECT_GE(formats, 3u);
        ComPtr<IWMStreamConfig> config;
        ASSERT_EQ(S_OK, info->GetCodecFormat(WMMEDIATYPE_Video, c, 2, config.Put()));
        auto buf = MediaTypeOf(config.Get());
        const auto* mt = reinterpret_cast<const WM_MEDIA_TYPE*>(buf.data());
        const VIDEOINFOHEADER* vih = VideoInfoOf(*mt);
        ASSERT_NE(nullptr, vih);
        EXPECT_EQ(name == L"Windows Media Video V8" ? MEDIASUBTYPE_WMV2 : MEDIASUBTYPE_WMV1,
                  mt->subtype);
        EXPECT_GT(vih->AvgTimePerFrame, 0);
    }
    EXPECT_EQ((std::set<std::wstring>{L"Windows Media Video V7", L"Windows Media Video V8"}),
              names);
}

TEST(CodecInfo, AudioFormatsCoverMonoStereoAndTheRateRangeInStableOrder) {
    auto info = CodecInfo();
    ASSERT_TRUE(info);
    DWORD codecs = 0;
    ASSERT_EQ(S_OK, info->GetCodecInfoCount(WMMEDIATYPE_Audio, &codecs));
    ASSERT_GE(codecs, 1u);
    std::set<unsigned> channels, rates;
    std::vector<unsigned> firstPass;
    for (int pass = 0; pass < 2; ++pass) {
        std::vector<unsigned> seen;
        for (DWORD c = 0; c < codecs; ++c) {
            DWORD formats = 0;
            ASSERT_EQ(S_OK, info->GetCodecFormatCount(WMMEDIATYPE_Audio, c, &formats));
            for (DWORD f = 0; f < formats; ++f) {
                ComPtr<IWMStreamConfig> config;
                ASSERT_EQ(S_OK, info->GetCodecFormat(WMMEDIATYPE_Audio, c, f, config.Put()));
                auto buf = MediaTypeOf(config.Get());
                const WAVEFORMATEX* wfx =
                    WaveFormatOf(*reinterpret_cast<const WM_MEDIA_TYPE*>(buf.data()));
                ASSERT_NE(nullptr, wfx);
                EXPECT_GT(wfx->nBlockAlign, 0);
                channels.insert(wfx->nChannels);
                rates.insert(wfx->nSamplesPerSec);
                seen.push_back(wfx->nChannels * 1000000u + wfx->nSamplesPerSec * 10 +
                               wfx->nAvgBytesPerSec);
            }
        }
        if (pass == 0)
            firstPass = seen;
        else
            EXPECT_EQ(firstPass, seen);
    }
    EXPECT_EQ((std::set<unsigned>{1, 2}), channels);
    EXPECT_EQ(8000u, *rates.begin());
    EXPECT_EQ(48000u, *rates.rbegin());
    EXPECT_GE(rates.size(), 5u);
}

TEST(CodecInfo, OutOfRangeIndexesFailAndLeaveOutputsNull) {
    auto info = CodecInfo();
    DWORD codecs = 0, formats = 0;
    ASSERT_EQ(S_OK, info->GetCodecInfoCount(WMMEDIATYPE_Audio, &codecs));
    EXPECT_TRUE(FAILED(info->GetCodecFormatCount(WMMEDIATYPE_Audio, codecs, &formats)));
    ASSERT_EQ(S_OK, info->GetCodecFormatCount(WMMEDIATYPE_Audio, 0, &formats));
    IWMStreamConfig* config = reinterpret_cast<IWMStreamConfig*>(1);
    EXPECT_TRUE(FAILED(info->GetCodecFormat(WMMEDIATYPE_Audio, 0, formats, &config)));
    EXPECT_EQ(nullptr, config);
    EXPECT_TRUE(FAILED(info->GetCodecInfoCount(MEDIATYPE_Stream, &codecs)));
}

TEST(SystemProfiles, ProfileZeroOfVersions7And8HasAudioThenVideo) {
    ComPtr<IWMProfileManager> pm;
    ASSERT_EQ(S_OK, WMCreateProfileManager(pm.Put()));
    auto pm2 = pm.As<IWMProfileManager2>();
    ASSERT_TRUE(pm2);
    WMT_VERSION v = 0;
    ASSERT_EQ(S_OK, pm2->GetSystemProfileVersion(&v));
    EXPECT_EQ(WMT_VER_8_0, v);
    EXPECT_TRUE(FAILED(pm2->SetSystemProfileVersion(WMT_VER_4_0)));
    for (WMT_VERSION version : {WMT_VER_7_0, WMT_VER_8_0}) {
        ASSERT_EQ(S_OK, pm2->SetSystemProfileVersion(version));
        DWORD count = 0;
        ASSERT_EQ(S_OK, pm2->GetSystemProfileCount(&count));
        ASSERT_GE(count, 1u);
        ComPtr<IWMProfile> profile;
        ASSERT_EQ(S_OK, pm2->LoadSystemProfile(0, profile.Put()));
        DWORD cch = 0;
        ASSERT_EQ(S_OK, profile->GetName(nullptr, &cch));
        EXPECT_GT(cch, 1u);
        DWORD streams = 0;
        ASSERT_EQ(S_OK, profile->GetStreamCount(&streams));
        ASSERT_EQ(2u, streams);
        GUID types[2];
        for (DWORD i = 0; i < 2; ++i) {
            ComPtr<IWMStreamConfig> s;
            ASSERT_EQ(S_OK, profile->GetStream(i, s.Put()));
            ASSERT_EQ(S_OK, s->GetStreamType(&types[i]));
        }
        EXPECT_EQ(WMMEDIATYPE_Audio, types[0]);
        EXPECT_EQ(WMMEDIATYPE_Video, types[1]);
    }
}

// The engines' profile edit: remove both, add audio and a video format, then
// resize and re-rate the video through its media type.
TEST(SystemProfiles, EditedVideoStreamKeepsTheNewSizeRateAndBitrate) {
    ComPtr<IWMProfileManager> pm;
    ASSERT_EQ(S_OK, WMCreateProfileManager(pm.Put()));
    ComPtr<IWMProfile> profile;
    ASSERT_EQ(S_OK, pm->LoadSystemProfile(0, profile.Put()));
    ASSERT_EQ(S_OK, profile->RemoveStreamByNumber(1));
    ASSERT_EQ(S_OK, profile->RemoveStreamByNumber(2));
    auto info = pm.As<IWMCodecInfo>();
    ComPtr<IWMStreamConfig> audio, video;
    ASSERT_EQ(S_OK, info->GetCodecFormat(WMMEDIATYPE_Audio, 0, 0, audio.Put()));
    ASSERT_EQ(S_OK, audio->SetStreamNumber(1));
    ASSERT_EQ(S_OK, profile->AddStream(audio.Get()));
    EXPECT_TRUE(FAILED(profile->AddStream(audio.Get())));  // number 1 taken
    ASSERT_EQ(S_OK, info->GetCodecFormat(WMMEDIATYPE_Video, 0, 2, video.Put()));
    ASSERT_EQ(S_OK, video->SetStreamNumber(2));
    ASSERT_EQ(S_OK, profile->AddStream(video.Get()));

    ComPtr<IWMStreamConfig> stream;
    ASSERT_EQ(S_OK, profile->GetStream(1, stream.Put()));
    ASSERT_EQ(S_OK, stream->SetBitrate(220000));
    auto buf = MediaTypeOf(stream.Get());
    auto* mt = reinterpret_cast<WM_MEDIA_TYPE*>(buf.data());
    VIDEOINFOHEADER* vih = VideoInfoOf(*mt);
    ASSERT_NE(nullptr, vih);
    vih->rcSource = vih->rcTarget = RECT{0, 0, 352, 288};
    vih->dwBitRate = 220000;
    vih->AvgTimePerFrame = kUnitsPerSecond / 15;
    vih->bmiHeader.biWidth = 352;
    vih->bmiHeader.biHeight = 288;
    auto props = stream.As<IWMMediaProps>();
    ASSERT_EQ(S_OK, props->SetMediaType(mt));
    ASSERT_EQ(S_OK, profile->ReconfigStream(stream.Get()));

    ComPtr<IWMStreamConfig> back;
    ASSERT_EQ(S_OK, profile->GetStreamByNumber(2, back.Put()));
    DWORD bitrate = 0;
    ASSERT_EQ(S_OK, back->GetBitrate(&bitrate));
    EXPECT_EQ(220000u, bitrate);
    auto backBuf = MediaTypeOf(back.Get());
    const VIDEOINFOHEADER* got = VideoInfoOf(*reinterpret_cast<WM_MEDIA_TYPE*>(backBuf.data()));
    ASSERT_NE(nullptr, got);
    EXPECT_EQ(352, got->bmiHeader.biWidth);
    EXPECT_EQ(288, got->bmiHeader.biHeight);
    EXPECT_EQ(666666, got->AvgTimePerFrame);
}

TEST(SystemProfiles, AbsurdVideoSizesAreRefusedAndLeaveTheTypeAsItWas) {
    ComPtr<IWMProfileManager> pm;
    ASSERT_EQ(S_OK, WMCreateProfileManager(pm.Put()));
    ComPtr<IWMStreamConfig> video;
    ASSERT_EQ(S_OK, pm.As<IWMCodecInfo>()->GetCodecFormat(WMMEDIATYPE_Video, 0, 0, video.Put()));
    auto props = video.As<IWMMediaProps>();
    const auto original = MediaTypeOf(video.Get());
    struct Case {
        LONG w, h;
        REFERENCE_TIME frame;
        DWORD bitrate;
    };
    for (const Case& c : {Case{0, 240, 333333, 300000}, Case{321, 240, 333333, 300000},
                          Case{100000, 240, 333333, 300000}, Case{320, 100000, 333333, 300000},
                          Case{320, 240, 0, 300000}, Case{320, 240, 333333, 0}}) {
        auto buf = original;
        auto* mt = reinterpret_cast<WM_MEDIA_TYPE*>(buf.data());
        mt->pbFormat = reinterpret_cast<BYTE*>(mt + 1);  // the copy's own block
        VIDEOINFOHEADER* vih = VideoInfoOf(*mt);
        vih->rcSource = vih->rcTarget = RECT{0, 0, c.w, c.h};
        vih->bmiHeader.biWidth = c.w;
        vih->bmiHeader.biHeight = c.h;
        vih->AvgTimePerFrame = c.frame;
        vih->dwBitRate = c.bitrate;
        EXPECT_TRUE(FAILED(props->SetMediaType(mt))) << c.w << "x" << c.h;
    }
    auto after = MediaTypeOf(video.Get());
    EXPECT_EQ(0, std::memcmp(VideoInfoOf(*reinterpret_cast<WM_MEDIA_TYPE*>(after.data())),
                             VideoInfoOf(*reinterpret_cast<const WM_MEDIA_TYPE*>(original.data())),
                             sizeof(VIDEOINFOHEADER)));
}

}  // namespace
