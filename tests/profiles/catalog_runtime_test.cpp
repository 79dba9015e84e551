// The enumeration through the runtime over FFmpeg, and the default
// profiles against what it offers.
#include <gtest/gtest.h>

#include <cstring>

#include "profiles/audio_format_catalog.h"
#include "profiles/profile_file.h"
#include "profiles/profile_file_io.h"
#include "profiles/profile_values.h"
#include "platform/win/trace.h"

namespace {

class RuntimeCatalog : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_catalog = new CAudioFormatCatalog;
        ::testing::internal::CaptureStdout();
        SetTraceEnabled(true);  // trace lines follow standard output anew
        s_result = s_catalog->Enumerate();
        s_trace = new std::string(::testing::internal::GetCapturedStdout());
        SetTraceEnabled(true);
    }
    static void TearDownTestSuite() {
        delete s_catalog;
        delete s_trace;
    }
    static CAudioFormatCatalog* s_catalog;
    static std::string* s_trace;
    static int s_result;
};
CAudioFormatCatalog* RuntimeCatalog::s_catalog = nullptr;
std::string* RuntimeCatalog::s_trace = nullptr;
int RuntimeCatalog::s_result = 0;

TEST_F(RuntimeCatalog, EnumeratesMonoAndStereoFormatsWithTrace) {
    ASSERT_EQ(s_result, 1) << *s_trace;
    ASSERT_GT(s_catalog->Count(), 0u);
    EXPECT_EQ(s_trace->rfind("We get ", 0), 0u) << *s_trace;
    bool mono = false, stereo = false;
    for (uint32_t i = 0; i < s_catalog->Count(); ++i) {
        const AudioFormatEntry& e = s_catalog->Entry(i);
        mono |= e.channels == 1;
        stereo |= e.channels == 2;
        EXPECT_GE(e.sampleRate, 8000u);
        EXPECT_LE(e.sampleRate, 48000u);
        EXPECT_GT(e.bitrate, 0u);
    }
    EXPECT_TRUE(mono);
    EXPECT_TRUE(stereo);
}

// The indexes the query hands to the converter name the format it chose.
TEST_F(RuntimeCatalog, ChosenIndexesNameTheRuntimesFormat) {
    ComPtr<IWMProfileManager> manager;
    ASSERT_EQ(WMCreateProfileManager(manager.Put()), S_OK);
    ComPtr<IWMCodecInfo> info = manager.As<IWMCodecInfo>();
    ASSERT_TRUE(info);
    for (uint32_t channels : {1u, 2u}) {
        AudioChoices rates;
        ASSERT_EQ(s_catalog->Query(channels, 0, 0, &rates), kAudioQueryOk);
        for (uint32_t i = 0; i < rates.rateCount; ++i) {
            AudioChoices c;
            ASSERT_EQ(s_catalog->Query(channels, rates.rates[i], 0, &c), kAudioQueryOk);
            ComPtr<IWMStreamConfig> config;
            ASSERT_EQ(info->GetCodecFormat(WMMEDIATYPE_Audio, c.audioCodecIndex, c.audioFormatIndex,
                                           config.Put()),
                      S_OK);
            ComPtr<IWMMediaProps> props = config.As<IWMMediaProps>();
            ASSERT_TRUE(props);
            DWORD bytes = 0;
            props->GetMediaType(nullptr, &bytes);
            std::vector<uint64_t> buffer(bytes / 8 + 1);
            auto* type = reinterpret_cast<WM_MEDIA_TYPE*>(buffer.data());
            ASSERT_EQ(props->GetMediaType(type, &bytes), S_OK);
            WAVEFORMATEX wave;
            std::memcpy(&wave, type->pbFormat, sizeof(wave));
            EXPECT_EQ(wave.nChannels, channels);
            EXPECT_EQ(wave.nSamplesPerSec, c.chosenRate);
            EXPECT_EQ(wave.nAvgBytesPerSec * 8, c.chosenBitrate);
        }
    }
}

// Every profile a new user starts with uses an audio format on offer.
TEST_F(RuntimeCatalog, DefaultProfilesUseOfferedAudioFormats) {
    std::string text;
    ASSERT_EQ(ReadWholeFile(ZEV_DEFAULT_PROFILE_CFG, text), FileReadResult::Ok);
    const ProfileFileContents contents = ParseProfileFile(text);
    EXPECT_TRUE(contents.problems.empty());
    ASSERT_FALSE(contents.profiles.empty());
    for (const ProfileRecord& p : contents.profiles) {
        AudioChoices c;
        const uint32_t channels = p.stereo == 1 ? 2 : 1;
        ASSERT_EQ(s_catalog->Query(channels, p.sampleRate, p.audioBitrate, &c), kAudioQueryOk);
        EXPECT_EQ(c.chosenRate, static_cast<uint32_t>(p.sampleRate)) << RecordName(p);
        EXPECT_EQ(c.chosenBitrate, static_cast<uint32_t>(p.audioBitrate)) << RecordName(p);
        EXPECT_GE(p.framesPerSecond, 1);
        EXPECT_LE(p.framesPerSecond, 30);
    }
}

}  // namespace
