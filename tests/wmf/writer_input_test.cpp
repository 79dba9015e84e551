// What the writer takes and refuses: every audio format of the catalogue,
// every raw input layout, and bad types, places and disks.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>

#include "wmf_tools.h"

using namespace wmftest;

namespace {

HRESULT WriteBytes(IWMWriter* w, DWORD input, QWORD time, const std::vector<BYTE>& bytes) {
    ComPtr<INSSBuffer> s;
    HRESULT hr = w->AllocateSample(static_cast<DWORD>(bytes.size()), s.Put());
    if (FAILED(hr)) return hr;
    BYTE* p = nullptr;
    s->GetBuffer(&p);
    std::memcpy(p, bytes.data(), bytes.size());
    return w->WriteSample(input, time, 0, s.Get());
}

HRESULT SetInput(IWMWriter* w, DWORD input, OwnedType type) {
    ComPtr<IWMInputMediaProps> props;
    HRESULT hr = w->GetInputProps(input, props.Put());
    if (FAILED(hr)) return hr;
    hr = props->SetMediaType(&type.mt);
    if (FAILED(hr)) return hr;
    return w->SetInputProps(input, props.Get());
}

ComPtr<IWMWriter> WriterFor(IWMProfile* profile, const std::string& path) {
    ComPtr<IWMWriter> w;
    EXPECT_EQ(S_OK, WMCreateWriter(nullptr, w.Put()));
    EXPECT_EQ(S_OK, w->SetProfile(profile));
    EXPECT_EQ(S_OK, w->SetOutputFilename(Wide(path).c_str()));
    return w;
}

// Each listed format must really encode: a short tone through every one,
// from float input so the resampler and converter run too.
TEST(WriterInput, EveryAudioFormatEncodes) {
    ComPtr<IWMProfileManager> pm;
    ASSERT_EQ(S_OK, WMCreateProfileManager(pm.Put()));
    auto info = pm.As<IWMCodecInfo>();
    DWORD codecs = 0;
    ASSERT_EQ(S_OK, info->GetCodecInfoCount(WMMEDIATYPE_Audio, &codecs));
    TempDir dir;
    for (DWORD c = 0; c < codecs; ++c) {
        DWORD formats = 0;
        ASSERT_EQ(S_OK, info->GetCodecFormatCount(WMMEDIATYPE_Audio, c, &formats));
        for (DWORD f = 0; f < formats; ++f) {
            SCOPED_TRACE(testing::Message() << "codec " << c << " format " << f);
            ComPtr<IWMStreamConfig> config;
            ASSERT_EQ(S_OK, info->GetCodecFormat(WMMEDIATYPE_Audio, c, f, config.Put()));
            const OwnedType out = MediaTypeOf(config.As<IWMMediaProps>().Get());
            const WAVEFORMATEX wfx = *WaveFormatOf(out.mt);
            const std::string path =
                dir.Path("a" + std::to_string(c) + "-" + std::to_string(f) + ".wma");
            auto w = WriterFor(MakeJobProfile(c, f, 64, 48, 10, 50000).Get(), path);
            ASSERT_EQ(S_OK, w->BeginWriting());
            ASSERT_EQ(S_OK, SetInput(w.Get(), 0, PcmType(2, 22050, 32, true)));
            ASSERT_EQ(S_OK, WriteBytes(w.Get(), 0, 0, MakeTone(2, 22050, 32, true, 11025, 0)));
            ASSERT_EQ(S_OK, w->EndWriting());
            const JsonValue probe = ProbeCountingFrames(path);
            const JsonValue& a = probe["streams"][0];
            EXPECT_EQ("audio", a["codec_type"].String());
            EXPECT_EQ(wfx.nSamplesPerSec, a["sample_rate"].Number());
            EXPECT_EQ(wfx.nChannels, a["channels"].Number());
            EXPECT_GE(a["nb_read_frames"].Number(), 1);
        }
    }
}

// Every raw layout decoders deliver, including upside-down and odd sizes.
TEST(WriterInput, EveryRawLayoutIsAccepted) {
    struct Case {
        GUID subtype;
        LONG w, h;
    };
    const Case cases[] = {{MEDIASUBTYPE_RGB24, 99, 75},  {MEDIASUBTYPE_RGB24, 100, -76},
                          {MEDIASUBTYPE_RGB32, 100, 76}, {MEDIASUBTYPE_I420, 101, 77},
                          {MEDIASUBTYPE_YV12, 100, 76},  {MEDIASUBTYPE_NV12, 99, 77},
                          {MEDIASUBTYPE_YUY2, 100, 76},  {MEDIASUBTYPE_UYVY, 100, 75}};
    const std::pair<WORD, bool> pcm[] = {
        {8, false}, {16, false}, {32, false}, {32, true}, {64, true}};
    TempDir dir;
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(n);
        const std::string path = dir.Path("v" + std::to_string(n) + ".wmv");
        auto w = WriterFor(MakeJobProfile(0, 23, 64, 48, 10, 50000).Get(), path);
        ASSERT_EQ(S_OK, w->BeginWriting());
        ASSERT_EQ(S_OK, SetInput(w.Get(), 1, RawVideoType(c.subtype, c.w, c.h)));
        const auto& [bits, isFloat] = pcm[n % std::size(pcm)];
        ASSERT_EQ(S_OK, SetInput(w.Get(), 0, PcmType(1 + n % 6, 11025 + 1000 * n, bits, isFloat)));
        for (int i = 0; i < 5; ++i)
            ASSERT_EQ(S_OK,
                      WriteBytes(w.Get(), 1, i * 1000000ull, MakeFrame(c.subtype, c.w, c.h, i)));
        ASSERT_EQ(S_OK, WriteBytes(w.Get(), 0, 0,
                                   MakeTone(1 + n % 6, 11025 + 1000 * n, bits, isFloat, 5000, 0)));
        ASSERT_EQ(S_OK, w->EndWriting());
        const JsonValue probe = ProbeCountingFrames(path);
        EXPECT_EQ(5, probe["streams"][1]["nb_read_frames"].Number());
        EXPECT_GE(probe["streams"][0]["nb_read_frames"].Number(), 1);
        ++n;
    }
}

TEST(WriterInput, AbsurdInputTypesAreRefused) {
    TempDir dir;
    auto w = WriterFor(MakeJobProfile(0, 12, 64, 48, 10, 50000).Get(), dir.Path("x.wmv"));
    std::vector<OwnedType> video = {RawVideoType(MEDIASUBTYPE_RGB24, 0, 48),
                                    RawVideoType(MEDIASUBTYPE_RGB24, 100000, 48),
                                    RawVideoType(MEDIASUBTYPE_I420, 64, 100000),
                                    RawVideoType(MEDIASUBTYPE_YUY2, 63, 48),
                                    RawVideoType(MEDIASUBTYPE_RGB24, 64, 48, 32),
                                    RawVideoType(MEDIASUBTYPE_WMV2, 64, 48),
                                    PcmType(2, 44100, 16)};
    video.back().mt.majortype = MEDIATYPE_Video;  // video with a wave block
    OwnedType shortBlock = RawVideoType(MEDIASUBTYPE_I420, 64, 48);
    shortBlock.block.resize(20);
    shortBlock.Bind();
    video.push_back(shortBlock);
    for (size_t i = 0; i < video.size(); ++i)
        EXPECT_EQ(NS_E_INVALID_INPUT_FORMAT, SetInput(w.Get(), 1, video[i])) << i;

    std::vector<OwnedType> audio = {PcmType(0, 44100, 16),  PcmType(2, 0, 16),
                                    PcmType(2, 44100, 12),  PcmType(2, 44100, 64),
                                    PcmType(40, 44100, 16), PcmType(2, 44100, 16, true)};
    OwnedType badAlign = PcmType(2, 44100, 16);
    badAlign.Wave()->nBlockAlign = 3;
    audio.push_back(badAlign);
    for (size_t i = 0; i < audio.size(); ++i)
        EXPECT_EQ(NS_E_INVALID_INPUT_FORMAT, SetInput(w.Get(), 0, audio[i])) << i;
    EXPECT_EQ(NS_E_INVALID_INPUT_FORMAT,
              SetInput(w.Get(), 0, RawVideoType(MEDIASUBTYPE_I420, 64, 48)));
    EXPECT_TRUE(FAILED(SetInput(w.Get(), 2, PcmType(2, 44100, 16))));

    // The engines fill the properties fetched for input 0 with the video
    // type and assign them to input 1, and the other way round.
    ComPtr<IWMInputMediaProps> props;
    ASSERT_EQ(S_OK, w->GetInputProps(0, props.Put()));
    OwnedType i420 = RawVideoType(MEDIASUBTYPE_I420, 64, 48);
    ASSERT_EQ(S_OK, props->SetMediaType(&i420.mt));
    EXPECT_EQ(S_OK, w->SetInputProps(1, props.Get()));
    EXPECT_EQ(NS_E_INVALID_INPUT_FORMAT, w->SetInputProps(0, props.Get()));

    // Samples: none before BeginWriting, none too short for the frame.
    EXPECT_TRUE(FAILED(WriteBytes(w.Get(), 1, 0, std::vector<BYTE>(100))));
    ASSERT_EQ(S_OK, w->BeginWriting());
    ASSERT_EQ(S_OK, SetInput(w.Get(), 1, RawVideoType(MEDIASUBTYPE_I420, 64, 48)));
    EXPECT_EQ(NS_E_INVALID_DATA, WriteBytes(w.Get(), 1, 0, std::vector<BYTE>(100)));
    EXPECT_TRUE(FAILED(WriteBytes(w.Get(), 5, 0, std::vector<BYTE>(100))));
    EXPECT_EQ(S_OK, w->EndWriting());
}

TEST(WriterInput, BadDestinationsFailWithoutLeavingFiles) {
    TempDir dir;
    auto profile = MakeJobProfile(0, 12, 64, 48, 10, 50000);
    ComPtr<IWMWriter> w;
    ASSERT_EQ(S_OK, WMCreateWriter(nullptr, w.Put()));
    EXPECT_EQ(NS_E_NOT_CONFIGURED, w->BeginWriting());
    ASSERT_EQ(S_OK, w->SetProfile(profile.Get()));
    EXPECT_EQ(NS_E_NOT_CONFIGURED, w->BeginWriting());

    ASSERT_EQ(S_OK, w->SetOutputFilename(Wide(dir.Path("no/such/dir/x.wmv")).c_str()));
    EXPECT_EQ(NS_E_FILE_NOT_FOUND, w->BeginWriting());
    WriteFileBytes(dir.Path("plain"), "x");
    ASSERT_EQ(S_OK, w->SetOutputFilename(Wide(dir.Path("plain/x.wmv")).c_str()));
    EXPECT_TRUE(FAILED(w->BeginWriting()));
    ASSERT_EQ(S_OK, w->SetOutputFilename(L"/proc/no-files-here.wmv"));
    EXPECT_TRUE(FAILED(w->BeginWriting()));
    // A device is not replaced by a file, and nothing is made beside it.
    ASSERT_EQ(S_OK, w->SetOutputFilename(L"/dev/full"));
    EXPECT_EQ(NS_E_FILE_WRITE, w->BeginWriting());
    EXPECT_TRUE(FAILED(w->EndWriting()));
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
    EXPECT_EQ(1u, static_cast<size_t>(std::distance(std::filesystem::directory_iterator(dir.path()),
                                                    std::filesystem::directory_iterator())));
}

// The disk filling up mid-job (here the file size limit): the failure is
// reported, never a success for a cut-off file.
TEST(WriterInput, RunningOutOfSpaceMidJobIsReported) {
    TempDir dir;
    auto w = WriterFor(MakeJobProfile(0, 12, 320, 240, 25, 2000000).Get(), dir.Path("full.wmv"));
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 100000;
    setrlimit(RLIMIT_FSIZE, &small);
    HRESULT hr = w->BeginWriting();
    if (SUCCEEDED(hr)) hr = SetInput(w.Get(), 1, RawVideoType(MEDIASUBTYPE_I420, 320, 240));
    for (int i = 0; i < 50 && SUCCEEDED(hr); ++i)
        hr = WriteBytes(w.Get(), 1, i * 400000ull, MakeFrame(MEDIASUBTYPE_I420, 320, 240, i));
    const HRESULT ended = w->EndWriting();
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, oldHandler);
    EXPECT_TRUE(FAILED(hr) || FAILED(ended));
    EXPECT_TRUE(hr == NS_E_FILE_WRITE || ended == NS_E_FILE_WRITE || hr == NS_E_DISK_FULL ||
                ended == NS_E_DISK_FULL);
}

}  // namespace
