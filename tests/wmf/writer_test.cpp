// The writer, driven as the engines drive it, with its files read back by
// ffprobe and GStreamer.
#include <gtest/gtest.h>

#include <cmath>
#include <thread>

#include "wmf_tools.h"

using namespace wmftest;

namespace {

constexpr DWORD kAudioCodecV8 = 0;
constexpr DWORD kStereo44k64k = 12;  // see the codec table's order

struct Feed {
    const OwnedType* video = nullptr;  // input type, or none
    double videoFps = 25;
    const OwnedType* audio = nullptr;
    double seconds = 1;
};

HRESULT WriteOne(IWMWriter* w, DWORD input, int64_t time, const std::vector<BYTE>& bytes) {
    ComPtr<INSSBuffer> sample;
    HRESULT hr = w->AllocateSample(static_cast<DWORD>(bytes.size()), sample.Put());
    if (FAILED(hr)) return hr;
    BYTE* p = nullptr;
    sample->GetBuffer(&p);
    std::memcpy(p, bytes.data(), bytes.size());
    sample->SetLength(static_cast<DWORD>(bytes.size()));
    return w->WriteSample(input, static_cast<QWORD>(time), 0, sample.Get());
}

// Sets the inputs after BeginWriting, as the engine does, and feeds video
// and audio from two threads at once. Returns the first failure.
HRESULT Record(IWMWriter* w, const Feed& feed) {
    ComPtr<IWMInputMediaProps> props;
    if (feed.video) {
        EXPECT_EQ(S_OK, w->GetInputProps(1, props.Put()));
        EXPECT_EQ(S_OK, props->SetMediaType(const_cast<AM_MEDIA_TYPE*>(&feed.video->mt)));
        EXPECT_EQ(S_OK, w->SetInputProps(1, props.Get()));
    }
    if (feed.audio) {
        EXPECT_EQ(S_OK, w->GetInputProps(0, props.Put()));
        EXPECT_EQ(S_OK, props->SetMediaType(const_cast<AM_MEDIA_TYPE*>(&feed.audio->mt)));
        EXPECT_EQ(S_OK, w->SetInputProps(0, props.Get()));
    }
    HRESULT videoResult = S_OK, audioResult = S_OK;
    std::thread video([&] {
        if (!feed.video) return;
        const VIDEOINFOHEADER* vih = VideoInfoOf(feed.video->mt);
        const int frames = static_cast<int>(std::lround(feed.seconds * feed.videoFps));
        for (int i = 0; i < frames && SUCCEEDED(videoResult); ++i)
            videoResult = WriteOne(w, 1, static_cast<int64_t>(i * kUnitsPerSecond / feed.videoFps),
                                   MakeFrame(feed.video->mt.subtype, vih->bmiHeader.biWidth,
                                             vih->bmiHeader.biHeight, i));
    });
    std::thread audio([&] {
        if (!feed.audio) return;
        const WAVEFORMATEX* wfx = WaveFormatOf(feed.audio->mt);
        const size_t chunk = wfx->nSamplesPerSec / 10;
        const size_t total = static_cast<size_t>(feed.seconds * wfx->nSamplesPerSec);
        const bool isFloat = wfx->wFormatTag == WAVE_FORMAT_IEEE_FLOAT;
        for (size_t at = 0; at < total && SUCCEEDED(audioResult); at += chunk)
            audioResult =
                WriteOne(w, 0, static_cast<int64_t>(at * kUnitsPerSecond / wfx->nSamplesPerSec),
                         MakeTone(wfx->nChannels, wfx->nSamplesPerSec, wfx->wBitsPerSample, isFloat,
                                  std::min(chunk, total - at), at));
    });
    video.join();
    audio.join();
    return FAILED(videoResult) ? videoResult : audioResult;
}

ComPtr<IWMWriter> NewWriter(IWMProfile* profile, const std::string& path) {
    ComPtr<IWMWriter> w;
    EXPECT_EQ(S_OK, WMCreateWriter(nullptr, w.Put()));
    EXPECT_EQ(S_OK, w->SetProfile(profile));
    EXPECT_EQ(S_OK, w->SetOutputFilename(Wide(path).c_str()));
    return w;
}

// The first stream of the type, or nullptr.
const JsonValue* StreamOfType(const JsonValue& probe, const std::string& type) {
    const JsonValue& s = StreamOf(probe, type);
    return s.IsNull() ? nullptr : &s;
}

double PacketBitsPerSecond(const std::string& path, const std::string& selector, double seconds) {
    std::string sizes;
    RunCommand("ffprobe -v error -select_streams " + selector +
                   " -show_entries packet=size -of csv=p=0 " + ShellQuote(path),
               &sizes);
    double bytes = 0;
    std::istringstream in(sizes);
    for (std::string line; std::getline(in, line);) bytes += std::atof(line.c_str());
    return bytes * 8 / seconds;
}

TEST(Writer, RecordsWmv2AndWmaThatFfprobeAndGstreamerRead) {
    TempDir dir;
    const std::string path = dir.Path("clip.wmv");
    constexpr int kFps = 15;
    constexpr DWORD kBitrate = 300000;
    constexpr double kSeconds = 4;
    auto profile = MakeJobProfile(kAudioCodecV8, kStereo44k64k, 320, 240, kFps, kBitrate);
    auto w = NewWriter(profile.Get(), path);
    DWORD inputs = 0;
    ASSERT_EQ(S_OK, w->GetInputCount(&inputs));
    ASSERT_EQ(2u, inputs);
    ASSERT_EQ(S_OK, w->BeginWriting());
    // Input differs from the output in size, rate, sample rate and layout.
    const OwnedType video = RawVideoType(MEDIASUBTYPE_RGB24, 352, 288);
    const OwnedType audio = PcmType(2, 48000, 16);
    ASSERT_EQ(S_OK, Record(w.Get(), Feed{&video, 25, &audio, kSeconds}));
    ASSERT_EQ(S_OK, w->Flush());
    ASSERT_EQ(S_OK, w->EndWriting());

    const JsonValue probe = ProbeCountingFrames(path);
    const JsonValue* v = StreamOfType(probe, "video");
    const JsonValue* a = StreamOfType(probe, "audio");
    ASSERT_TRUE(v && a) << ReadFileBytes(path).size();
    EXPECT_EQ("wmv2", (*v)["codec_name"].String());
    EXPECT_EQ(320, (*v)["width"].Number());
    EXPECT_EQ(240, (*v)["height"].Number());
    EXPECT_EQ("15/1", (*v)["r_frame_rate"].String());
    EXPECT_NEAR(kSeconds * kFps, (*v)["nb_read_frames"].Number(), 1);
    EXPECT_EQ("wmav2", (*a)["codec_name"].String());
    EXPECT_EQ(44100, (*a)["sample_rate"].Number());
    EXPECT_EQ(2, (*a)["channels"].Number());
    EXPECT_EQ(64000, (*a)["bit_rate"].Number());
    EXPECT_NEAR(kSeconds, probe["format"]["duration"].Number(), 1.0 / kFps);
    EXPECT_NEAR(kBitrate, PacketBitsPerSecond(path, "v", kSeconds), kBitrate * 0.25);

    int status = -1;
    const std::string gst = Discover(path, &status);
    EXPECT_EQ(0, status) << gst;
    EXPECT_NE(std::string::npos, gst.find("wmvversion=(int)2")) << gst;
    EXPECT_NE(std::string::npos, gst.find("width=(int)320")) << gst;
    EXPECT_NE(std::string::npos, gst.find("height=(int)240")) << gst;
    EXPECT_NE(std::string::npos, gst.find("wmaversion=(int)2")) << gst;
    EXPECT_NE(std::string::npos, gst.find("rate=(int)44100")) << gst;
    EXPECT_NE(std::string::npos, gst.find("Duration: 0:00:04.0")) << gst;
}

// A source without audio into the usual two-stream profile: the muxer must
// neither wait for audio forever nor write a file players refuse.
TEST(Writer, VideoOnlySourceGivesAValidFile) {
    TempDir dir;
    const std::string path = dir.Path("video-only.wmv");
    auto profile = MakeJobProfile(kAudioCodecV8, kStereo44k64k, 160, 120, 25, 200000);
    auto w = NewWriter(profile.Get(), path);
    ASSERT_EQ(S_OK, w->BeginWriting());
    const OwnedType video = RawVideoType(MEDIASUBTYPE_I420, 160, 120);
    ASSERT_EQ(S_OK, Record(w.Get(), Feed{&video, 25, nullptr, 3}));
    ASSERT_EQ(S_OK, w->EndWriting());
    const JsonValue probe = ProbeCountingFrames(path);
    const JsonValue* v = StreamOfType(probe, "video");
    ASSERT_TRUE(v);
    EXPECT_EQ(75, (*v)["nb_read_frames"].Number());
    EXPECT_NEAR(3.0, probe["format"]["duration"].Number(), 1.0 / 25);
    int status = -1;
    const std::string gst = Discover(path, &status);
    EXPECT_EQ(0, status) << gst;
    EXPECT_NE(std::string::npos, gst.find("Duration: 0:00:03.0")) << gst;
}

// Dropping and repeating by time stamps: a 10 fps input into a 25 fps
// profile still gives 25 frames a second, and a 50 fps one is thinned out.
TEST(Writer, FrameRateFollowsTheProfileWhateverTheInputRate) {
    for (double inputFps : {10.0, 50.0}) {
        TempDir dir;
        const std::string path = dir.Path("rate.wmv");
        auto profile = MakeJobProfile(kAudioCodecV8, kStereo44k64k, 160, 120, 25, 200000);
        auto w = NewWriter(profile.Get(), path);
        ASSERT_EQ(S_OK, w->BeginWriting());
        const OwnedType video = RawVideoType(MEDIASUBTYPE_YUY2, 176, 144);
        ASSERT_EQ(S_OK, Record(w.Get(), Feed{&video, inputFps, nullptr, 2}));
        ASSERT_EQ(S_OK, w->EndWriting());
        const JsonValue probe = ProbeCountingFrames(path);
        const JsonValue* v = StreamOfType(probe, "video");
        ASSERT_TRUE(v);
        // The last input frame is not stretched to the end of its interval.
        EXPECT_NEAR(50, (*v)["nb_read_frames"].Number(), 25 / inputFps + 0.5) << inputFps;
    }
}

}  // namespace
