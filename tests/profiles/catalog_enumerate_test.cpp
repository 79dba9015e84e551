// The enumeration against a runtime double that injects the faults the
// real runtime can't be made to produce.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "profiles/audio_format_catalog.h"
#include "platform/win/trace.h"

namespace {

int g_liveObjects = 0;

struct FakeFormat {
    WAVEFORMATEX wave;
    bool hasProps = true;
    bool failMediaType = false;
};

FakeFormat Wma(WORD ch, DWORD rate, DWORD bitrate) {
    FakeFormat f{};
    f.wave.wFormatTag = WAVE_FORMAT_WMAUDIO2;
    f.wave.nChannels = ch;
    f.wave.nSamplesPerSec = rate;
    f.wave.nAvgBytesPerSec = bitrate / 8;
    f.wave.nBlockAlign = 1487;
    f.wave.wBitsPerSample = 16;
    return f;
}

struct FakeRuntime {
    std::vector<std::vector<FakeFormat>> codecs;
    bool answerCodecInfo = true;
    HRESULT codecCountResult = S_OK;
    int failFormatCountAt = -1;                   // codec index
    std::pair<int, int> failFormatAt = {-1, -1};  // codec, format
};
FakeRuntime* g_runtime = nullptr;

class FakeStreamConfig final : public IWMStreamConfig, public IWMMediaProps {
public:
    explicit FakeStreamConfig(const FakeFormat& f) : m_format(f) { ++g_liveObjects; }
    virtual ~FakeStreamConfig() { --g_liveObjects; }
    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IWMStreamConfig || riid == IID_IUnknown)
            return ComAnswer<IWMStreamConfig>(this, ppv);
        if (riid == IID_IWMMediaProps && m_format.hasProps)
            return ComAnswer<IWMMediaProps>(this, ppv);
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ZEV_COM_REFCOUNTING
    HRESULT GetMediaType(WM_MEDIA_TYPE* type, DWORD* bytes) override {
        const DWORD need = sizeof(WM_MEDIA_TYPE) + sizeof(WAVEFORMATEX);
        if (!type) {
            *bytes = need;
            return S_OK;
        }
        if (m_format.failMediaType) return ASF_E_BUFFERTOOSMALL;
        std::memset(type, 0, sizeof(*type));
        type->majortype = WMMEDIATYPE_Audio;
        type->formattype = WMFORMAT_WaveFormatEx;
        type->lSampleSize = 4459;
        type->cbFormat = sizeof(WAVEFORMATEX);
        type->pbFormat = reinterpret_cast<BYTE*>(type + 1);
        std::memcpy(type->pbFormat, &m_format.wave, sizeof(WAVEFORMATEX));
        return S_OK;
    }
    HRESULT GetType(GUID*) override { return E_NOTIMPL; }
    HRESULT SetMediaType(WM_MEDIA_TYPE*) override { return E_NOTIMPL; }
    HRESULT GetStreamType(GUID*) override { return E_NOTIMPL; }
    HRESULT GetStreamNumber(WORD*) override { return E_NOTIMPL; }
    HRESULT SetStreamNumber(WORD) override { return E_NOTIMPL; }
    HRESULT GetStreamName(WCHAR*, WORD*) override { return E_NOTIMPL; }
    HRESULT SetStreamName(const WCHAR*) override { return E_NOTIMPL; }
    HRESULT GetConnectionName(WCHAR*, WORD*) override { return E_NOTIMPL; }
    HRESULT SetConnectionName(const WCHAR*) override { return E_NOTIMPL; }
    HRESULT GetBitrate(DWORD*) override { return E_NOTIMPL; }
    HRESULT SetBitrate(DWORD) override { return E_NOTIMPL; }
    HRESULT GetBufferWindow(DWORD*) override { return E_NOTIMPL; }
    HRESULT SetBufferWindow(DWORD) override { return E_NOTIMPL; }

private:
    ComRefCount m_ref;
    FakeFormat m_format;
};

class FakeManager final : public IWMProfileManager, public IWMCodecInfo {
public:
    FakeManager() { ++g_liveObjects; }
    virtual ~FakeManager() { --g_liveObjects; }
    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IWMProfileManager || riid == IID_IUnknown)
            return ComAnswer<IWMProfileManager>(this, ppv);
        if (riid == IID_IWMCodecInfo && g_runtime->answerCodecInfo)
            return ComAnswer<IWMCodecInfo>(this, ppv);
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ZEV_COM_REFCOUNTING
    HRESULT GetSystemProfileCount(DWORD*) override { return E_NOTIMPL; }
    HRESULT LoadSystemProfile(DWORD, IWMProfile**) override { return E_NOTIMPL; }
    HRESULT GetCodecInfoCount(REFGUID type, DWORD* count) override {
        if (type != WMMEDIATYPE_Audio) return E_INVALIDARG;
        *count = static_cast<DWORD>(g_runtime->codecs.size());
        return g_runtime->codecCountResult;
    }
    HRESULT GetCodecFormatCount(REFGUID, DWORD codec, DWORD* count) override {
        if (static_cast<int>(codec) == g_runtime->failFormatCountAt) return E_FAIL;
        *count = static_cast<DWORD>(g_runtime->codecs.at(codec).size());
        return S_OK;
    }
    HRESULT GetCodecFormat(REFGUID, DWORD codec, DWORD format, IWMStreamConfig** config) override {
        *config = nullptr;
        if (g_runtime->failFormatAt == std::make_pair(int(codec), int(format))) return E_FAIL;
        *config = new FakeStreamConfig(g_runtime->codecs.at(codec).at(format));
        return S_OK;
    }

private:
    ComRefCount m_ref;
};

HRESULT CreateFake(IWMProfileManager** manager) {
    *manager = new FakeManager;
    return S_OK;
}
HRESULT CreateFails(IWMProfileManager** manager) {
    *manager = nullptr;
    return E_FAIL;
}

class CatalogEnumerate : public ::testing::Test {
protected:
    void SetUp() override {
        g_runtime = &runtime;
        g_liveObjects = 0;
    }
    void TearDown() override {
        EXPECT_EQ(g_liveObjects, 0) << "interfaces leaked";
        g_runtime = nullptr;
    }
    // Runs the enumeration, returning its result and its trace.
    int Run(ProfileManagerFactory factory, std::string& trace) {
        ::testing::internal::CaptureStdout();
        SetTraceEnabled(true);  // trace lines follow standard output anew
        const int result = catalog.Enumerate(factory);
        trace = ::testing::internal::GetCapturedStdout();
        SetTraceEnabled(true);
        return result;
    }
    FakeRuntime runtime;
    CAudioFormatCatalog catalog;
};

TEST_F(CatalogEnumerate, RecordsEveryFormatWithItsTraceLine) {
    FakeFormat pcm = Wma(1, 8000, 128000);
    pcm.wave.wFormatTag = WAVE_FORMAT_PCM;  // recorded too: no filtering
    runtime.codecs = {{Wma(2, 44100, 128000), Wma(1, 22050, 20000)}, {pcm}};
    std::string trace;
    ASSERT_EQ(Run(&CreateFake, trace), 1);
    ASSERT_EQ(catalog.Count(), 3u);
    const AudioFormatEntry& e = catalog.Entry(1);
    EXPECT_EQ(e.channels, 1);
    EXPECT_EQ(e.sampleRate, 22050u);
    EXPECT_EQ(e.bitrate, 20000u);
    EXPECT_EQ(e.codecIndex, 0u);
    EXPECT_EQ(e.formatIndex, 1u);
    EXPECT_EQ(catalog.Entry(2).codecIndex, 1u);
    EXPECT_EQ(catalog.Entry(2).formatIndex, 0u);
    EXPECT_EQ(trace,
              "We get 2 audio codec from the system\r\n"
              "Format Tag 00000161, Media Codec ID 00, Format ID 000, SampleSize 04459, Channels "
              "02, SampleRate 044100, Bitrate 0128000, Block Align 0001487, BitsPerSample 016\r\n"
              "Format Tag 00000161, Media Codec ID 00, Format ID 001, SampleSize 04459, Channels "
              "01, SampleRate 022050, Bitrate 0020000, Block Align 0001487, BitsPerSample 016\r\n"
              "\r\n"
              "Format Tag 00000001, Media Codec ID 01, Format ID 000, SampleSize 04459, Channels "
              "01, SampleRate 008000, Bitrate 0128000, Block Align 0001487, BitsPerSample 016\r\n"
              "\r\n");
}

TEST_F(CatalogEnumerate, CannotStart) {
    std::string trace;
    EXPECT_EQ(Run(&CreateFails, trace), 0);
    EXPECT_EQ(trace, "Failed to create profilemanager, error=0X80004005\r\n");

    runtime.answerCodecInfo = false;
    EXPECT_EQ(Run(&CreateFake, trace), 0);
    EXPECT_EQ(trace,
              "Failed to find ICodeInfo! Can't not get Audio Codec Info, Mission Aborted!\r\n");

    runtime.answerCodecInfo = true;
    runtime.codecCountResult = E_OUTOFMEMORY;
    EXPECT_EQ(Run(&CreateFake, trace), 0);
    EXPECT_EQ(trace, "Failed to get Audio code count, error=0X8007000E\r\n");
    EXPECT_EQ(catalog.Count(), 0u);
}

TEST_F(CatalogEnumerate, FailingFormatCountEndsWithWhatWasFound) {
    runtime.codecs = {{Wma(2, 44100, 64000)}, {Wma(2, 44100, 32000)}, {Wma(1, 8000, 8000)}};
    runtime.failFormatCountAt = 1;
    std::string trace;
    EXPECT_EQ(Run(&CreateFake, trace), 1);
    ASSERT_EQ(catalog.Count(), 1u);
    EXPECT_EQ(catalog.Entry(0).bitrate, 64000u);
}

TEST_F(CatalogEnumerate, UnreadableFormatsAreSkipped) {
    FakeFormat noProps = Wma(2, 48000, 96000);
    noProps.hasProps = false;
    FakeFormat badType = Wma(2, 32000, 48000);
    badType.failMediaType = true;
    runtime.codecs = {{Wma(2, 44100, 64000), noProps, badType, Wma(1, 22050, 16000)},
                      {Wma(2, 8000, 8000), Wma(2, 16000, 16000), Wma(2, 11025, 12000)},
                      {Wma(1, 44100, 48000)}};
    // A failing format ends its codec, not the enumeration.
    runtime.failFormatAt = {1, 1};
    std::string trace;
    EXPECT_EQ(Run(&CreateFake, trace), 1);
    std::vector<std::pair<uint32_t, uint32_t>> found;
    for (uint32_t i = 0; i < catalog.Count(); ++i)
        found.emplace_back(catalog.Entry(i).codecIndex, catalog.Entry(i).formatIndex);
    EXPECT_EQ(found, (std::vector<std::pair<uint32_t, uint32_t>>{{0, 0}, {0, 3}, {1, 0}, {2, 0}}));
}

TEST_F(CatalogEnumerate, FormatsBeyond500AreNotRecorded) {
    runtime.codecs.assign(2, std::vector<FakeFormat>(300, Wma(2, 44100, 64000)));
    std::string trace;
    EXPECT_EQ(Run(&CreateFake, trace), 1);
    EXPECT_EQ(catalog.Count(), 500u);
    EXPECT_EQ(catalog.Entry(499).codecIndex, 1u);
    EXPECT_EQ(catalog.Entry(499).formatIndex, 199u);
}

}  // namespace
