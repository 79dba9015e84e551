// Replacing the default renderers by grabbers the way the conversion engine
// does, and what the grabbers deliver: media types, buffer sizes, times,
// threads, and the range set on the graph.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>

#include "graph_tools.h"
#include "media_tools.h"
#include "platform/win/thread_policy.h"

using namespace dshow_test;

namespace {

struct GrabBranch {
    IBaseFilter* grabber = nullptr;
    ISampleGrabber* sg = nullptr;
    IBaseFilter* null = nullptr;
    std::wstring decoder;
    HRESULT connected = E_FAIL;
    void Release() {
        if (null) null->Release();
        if (sg) sg->Release();
        if (grabber) grabber->Release();
    }
};

// The conversion engine's sequence: find the renderer, take the pin feeding
// it, cut the renderer out, put grabber and null renderer in its place.
GrabBranch ReplaceRenderer(IGraphBuilder* graph, const wchar_t* renderer,
                           const wchar_t* grabberName, const wchar_t* nullName,
                           const AM_MEDIA_TYPE& type, ISampleGrabberCB* callback) {
    GrabBranch b;
    IBaseFilter* r = nullptr;
    if (FAILED(graph->FindFilterByName(renderer, &r))) return b;
    IPin* in = FirstPin(r, PINDIR_INPUT);
    IPin* decoderOut = nullptr;
    in->ConnectedTo(&decoderOut);
    b.decoder = FilterNameOf(decoderOut);
    decoderOut->Disconnect();
    in->Disconnect();
    in->Release();
    graph->RemoveFilter(r);
    r->Release();

    b.grabber = Create<IBaseFilter>(CLSID_SampleGrabber);
    graph->AddFilter(b.grabber, grabberName);
    b.sg = Query<ISampleGrabber>(b.grabber);
    b.sg->SetCallback(callback, 1);
    b.sg->SetBufferSamples(TRUE);
    b.sg->SetMediaType(&type);
    b.null = Create<IBaseFilter>(CLSID_NullRenderer);
    graph->AddFilter(b.null, nullName);
    IPin* grabIn = FirstPin(b.grabber, PINDIR_INPUT);
    b.connected = graph->Connect(decoderOut, grabIn);
    IPin* grabOut = FirstPin(b.grabber, PINDIR_OUTPUT);
    IPin* nullIn = FirstPin(b.null, PINDIR_INPUT);
    graph->Connect(grabOut, nullIn);
    grabIn->Release();
    grabOut->Release();
    nullIn->Release();
    decoderOut->Release();
    return b;
}

AM_MEDIA_TYPE VideoRequest(const GUID& subtype) {
    AM_MEDIA_TYPE mt{};
    mt.majortype = MEDIATYPE_Video;
    mt.subtype = subtype;
    return mt;
}

AM_MEDIA_TYPE AudioRequest() {
    AM_MEDIA_TYPE mt{};
    mt.majortype = MEDIATYPE_Audio;
    mt.subtype = MEDIASUBTYPE_PCM;
    mt.formattype = FORMAT_WaveFormatEx;
    return mt;
}

class Grabbing : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        m_graph = Create<IGraphBuilder>(CLSID_FilterGraph);
        ASSERT_NE(m_graph, nullptr);
        m_control = Query<IMediaControl>(m_graph);
        m_events = Query<IMediaEvent>(m_graph);
        m_seeking = Query<IMediaSeeking>(m_graph);
    }
    void TearDown() override {
        if (m_control) m_control->Stop();
        m_video.Release();
        m_audio.Release();
        for (IUnknown* u : {static_cast<IUnknown*>(m_seeking), static_cast<IUnknown*>(m_events),
                            static_cast<IUnknown*>(m_control), static_cast<IUnknown*>(m_graph)})
            if (u) u->Release();
        CoUninitialize();
    }
    void BuildEngineGraph(Clip clip, const GUID& videoSubtype, bool keepClock = false) {
        BuildEngineGraph(ClipPath(clip), videoSubtype, keepClock);
    }
    void BuildEngineGraph(const std::string& path, const GUID& videoSubtype,
                          bool keepClock = false) {
        ASSERT_EQ(m_graph->RenderFile(Wide(path).c_str(), nullptr), S_OK);
        m_video = ReplaceRenderer(m_graph, L"Video Renderer", L"SampleGrbV", L"NullRenderV",
                                  VideoRequest(videoSubtype), &m_videoProbe);
        m_audio = ReplaceRenderer(m_graph, L"Default DirectSound Device", L"SampleGrbA",
                                  L"NullRenderA", AudioRequest(), &m_audioProbe);
        ASSERT_EQ(m_video.connected, S_OK);
        ASSERT_EQ(m_audio.connected, S_OK);
        if (keepClock) return;
        IMediaFilter* mf = Query<IMediaFilter>(m_graph);
        ASSERT_NE(mf, nullptr);
        EXPECT_EQ(mf->SetSyncSource(nullptr), S_OK);
        mf->Release();
    }

    // As the engine does it: run first, then position; then waits for the end.
    void RunRange(LONGLONG begin, LONGLONG end) {
        m_control->Run();
        EXPECT_EQ(m_seeking->SetPositions(&begin, AM_SEEKING_AbsolutePositioning, &end,
                                          AM_SEEKING_AbsolutePositioning),
                  S_OK);
        EXPECT_EQ(WaitForEnd(m_events, 20000), EC_COMPLETE);
    }

    IGraphBuilder* m_graph = nullptr;
    IMediaControl* m_control = nullptr;
    IMediaEvent* m_events = nullptr;
    IMediaSeeking* m_seeking = nullptr;
    GrabberProbe m_videoProbe, m_audioProbe;
    GrabBranch m_video, m_audio;
};

TEST_F(Grabbing, RangeSetRightAfterRunDeliversOnlyTheRange) {
    BuildEngineGraph(Clip::Mp4AV, MEDIASUBTYPE_RGB24);
    AM_MEDIA_TYPE vt{};
    ASSERT_EQ(m_video.sg->GetConnectedMediaType(&vt), S_OK);
    const long frameBytes = static_cast<long>(vt.lSampleSize);
    EXPECT_EQ(frameBytes, 160 * 120 * 3);
    FreeMediaType(vt);

    RunRange(10000000, 20000000);

    const auto video = m_videoProbe.Buffers();
    ASSERT_GE(video.size(), 24u);
    EXPECT_LE(video.size(), 26u);
    EXPECT_NEAR(video.front().time, 0.0, 0.001);
    // The picture itself shows that it comes from the begin, not the file's start.
    EXPECT_NEAR(SecondsFromGray(video.front().firstByte), 1.0, 0.05);
    for (size_t i = 0; i < video.size(); ++i) {
        EXPECT_EQ(video[i].length, frameBytes);
        EXPECT_GE(video[i].time, 0.0);
        EXPECT_LT(video[i].time, 1.0);
        EXPECT_NEAR(SecondsFromGray(video[i].firstByte), 1.0 + video[i].time, 0.05);
        if (i) {
            EXPECT_GT(video[i].time, video[i - 1].time);
        }
    }
    const auto audio = m_audioProbe.Buffers();
    ASSERT_FALSE(audio.empty());
    EXPECT_NEAR(audio.front().time, 0.0, 0.001);
    for (const auto& a : audio) EXPECT_LT(a.time, 1.0);
    EXPECT_NE(audio.front().thread, video.front().thread);

    long size = 0;
    EXPECT_EQ(m_video.sg->GetCurrentBuffer(&size, nullptr), S_OK);
    EXPECT_EQ(size, frameBytes);
}

// Bytes this process has read through system calls so far.
long long BytesRead() {
    std::ifstream io("/proc/self/io");
    std::string key;
    long long value = 0;
    while (io >> key >> value)
        if (key == "rchar:") return value;
    return -1;
}

TEST_F(Grabbing, TheRangeEndStopsReadingTheFile) {
    // Past the range nothing is delivered, so nothing past it may be read
    // and decoded either: a one-second range of a long movie must not cost
    // the whole movie. Not even when one stream lags behind, as on a loaded
    // machine: once the other has ended, decodebin's queue lets the lagging
    // stream's queue grow, and the demuxer would read on as far as it holds.
    const std::string path = TempPath("long-range.mpg");
    ClipSpec spec;
    spec.seconds = 40;
    spec.codecs = "-c:v mpeg1video -q:v 2 -c:a mp2 -f mpeg";
    ASSERT_TRUE(MakeClip(path, spec));
    BuildEngineGraph(path, MEDIASUBTYPE_RGB24);
    m_audioProbe.SetDelay(std::chrono::milliseconds(20));
    const long long before = BytesRead();
    ASSERT_GE(before, 0);
    RunRange(0, 10000000);
    const auto fileBytes = static_cast<long long>(std::filesystem::file_size(path));
    // The range and a second past it, what the queues hold, and the
    // demuxer's read-ahead: about a tenth of this file.
    EXPECT_LT(BytesRead() - before, fileBytes / 4);
    EXPECT_FALSE(m_videoProbe.Buffers().empty());
    EXPECT_FALSE(m_audioProbe.Buffers().empty());
}

TEST_F(Grabbing, Mpeg1GivesRgb24AndPcmAndRunsAgainWithARange) {
    BuildEngineGraph(Clip::Mpeg1AV, MEDIASUBTYPE_RGB24);
    EXPECT_FALSE(m_video.decoder.empty());
    EXPECT_FALSE(m_audio.decoder.empty());
    EXPECT_NE(m_video.decoder, m_audio.decoder);

    AM_MEDIA_TYPE vt{};
    ASSERT_EQ(m_video.sg->GetConnectedMediaType(&vt), S_OK);
    const VIDEOINFOHEADER* vih = VideoInfoOf(vt);
    ASSERT_NE(vih, nullptr);
    EXPECT_EQ(vt.subtype, MEDIASUBTYPE_RGB24);
    EXPECT_EQ(vih->bmiHeader.biWidth, 160);
    EXPECT_EQ(vih->bmiHeader.biHeight, -120);  // top row first
    EXPECT_EQ(vih->bmiHeader.biBitCount, 24);
    EXPECT_EQ(vih->AvgTimePerFrame, 400000);
    EXPECT_EQ(vt.lSampleSize, 160u * 120u * 3u);
    FreeMediaType(vt);
    AM_MEDIA_TYPE at{};
    ASSERT_EQ(m_audio.sg->GetConnectedMediaType(&at), S_OK);
    const WAVEFORMATEX* wf = WaveFormatOf(at);
    ASSERT_NE(wf, nullptr);
    EXPECT_EQ(wf->wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(wf->nChannels, 2);
    EXPECT_EQ(wf->nSamplesPerSec, 44100u);
    EXPECT_EQ(wf->wBitsPerSample, 16);
    EXPECT_EQ(wf->nBlockAlign, 4);
    FreeMediaType(at);

    // Whole file first, then twice with a range set after Run: each range
    // starts exactly where asked, a second later for the second one.
    m_control->Run();
    ASSERT_EQ(WaitForEnd(m_events, 20000), EC_COMPLETE);
    m_control->Stop();
    EXPECT_GE(m_videoProbe.Buffers().size(), 74u);
    double firstPicture[2] = {};
    for (int run = 0; run < 2; ++run) {
        GrabberProbe ranged;
        m_video.sg->SetCallback(&ranged, 1);
        m_control->Run();
        LONGLONG begin = (10 + 10 * run) * 1000000LL, end = begin + 5000000;
        m_seeking->SetPositions(&begin, AM_SEEKING_AbsolutePositioning, &end,
                                AM_SEEKING_AbsolutePositioning);
        EXPECT_EQ(WaitForEnd(m_events, 20000), EC_COMPLETE);
        m_control->Stop();
        const auto video = ranged.Buffers();
        ASSERT_GE(video.size(), 12u);
        EXPECT_LE(video.size(), 14u);
        EXPECT_NEAR(video.front().time, 0.0, 0.001);
        for (const auto& v : video) EXPECT_LT(v.time, 0.5);
        firstPicture[run] = SecondsFromGray(video.front().firstByte);
    }
    EXPECT_NEAR(firstPicture[1] - firstPicture[0], 1.0, 0.08);
}

TEST_F(Grabbing, AnAviRangeStartsAtThePictureAskedForNotAtItsKeyFrame) {
    // AVI's demuxer is seeked without a margin: it starts at the key frame
    // before the target and clips the segment there. 1.2 s lies between
    // the key frames at 0.96 and 1.44 s.
    BuildEngineGraph(Clip::AviAV, MEDIASUBTYPE_RGB24);
    RunRange(12000000, 17000000);
    const auto video = m_videoProbe.Buffers();
    ASSERT_GE(video.size(), 12u);
    EXPECT_LE(video.size(), 13u);
    EXPECT_NEAR(video.front().time, 0.0, 0.001);
    EXPECT_NEAR(SecondsFromGray(video.front().firstByte), 1.2, 0.05);
    EXPECT_NEAR(SecondsFromGray(video.back().firstByte), 1.68, 0.05);
    EXPECT_FALSE(m_audioProbe.Buffers().empty());
}

TEST_F(Grabbing, WholeFileWithAnyVideoSubtype) {
    BuildEngineGraph(Clip::Mp4AV, MEDIASUBTYPE_None);
    AM_MEDIA_TYPE vt{};
    ASSERT_EQ(m_video.sg->GetConnectedMediaType(&vt), S_OK);
    const VIDEOINFOHEADER* vih = VideoInfoOf(vt);
    ASSERT_NE(vih, nullptr);
    EXPECT_NE(vt.subtype, GUID_NULL);
    EXPECT_EQ(vt.lSampleSize, RawFrameBytes(vt.subtype, 160, 120));
    const long frameBytes = static_cast<long>(vt.lSampleSize);
    FreeMediaType(vt);

    m_control->Run();
    EXPECT_EQ(WaitForEnd(m_events, 20000), EC_COMPLETE);
    const auto video = m_videoProbe.Buffers();
    EXPECT_GE(video.size(), 74u);
    EXPECT_LE(video.size(), 76u);
    ASSERT_FALSE(video.empty());
    EXPECT_NEAR(video.front().time, 0.0, 0.01);
    EXPECT_NEAR(video.back().time, 2.96, 0.05);
    for (const auto& v : video) EXPECT_EQ(v.length, frameBytes);
    EXPECT_FALSE(m_audioProbe.Buffers().empty());
}

TEST_F(Grabbing, PausedBeforeItsFirstSeekAHeldRunStillPrerollsAndPlaysOn) {
    // A run fresh from building waits for its owner's first seek to start
    // the file; pausing it first must start it too, not wait for frames
    // that never come.
    BuildEngineGraph(Clip::Mp4AV, MEDIASUBTYPE_RGB24);
    m_control->Run();
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(m_control->Pause(), S_OK);
    OAFilterState state = State_Stopped;
    EXPECT_EQ(m_control->GetState(5000, &state), S_OK);
    EXPECT_EQ(state, State_Paused);
    // A tenth of that when it prerolls; a preroll that never comes is given
    // up only after three seconds of a stalled stream.
    const auto pausedMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::chrono::steady_clock::now() - before)
                              .count();
    EXPECT_LT(pausedMs, 2000);
    m_control->Run();
    EXPECT_EQ(WaitForEnd(m_events, 20000), EC_COMPLETE);
    EXPECT_GE(m_videoProbe.Buffers().size(), 74u);
}

bool ThreadsMayChangePolicy() {
    bool allowed = false;
    std::thread([&] { allowed = SetThreadBatch(0, true); }).join();
    return allowed;
}

// Something was delivered, and all of it on threads of that policy.
bool AllDeliveredAsBatchWork(GrabberProbe& probe, bool batch) {
    const auto buffers = probe.Buffers();
    return !buffers.empty() && std::all_of(buffers.begin(), buffers.end(),
                                           [&](const auto& b) { return b.batchThread == batch; });
}

TEST_F(Grabbing, AGraphWithoutAClockRunsAsBatchWork) {
    if (!ThreadsMayChangePolicy()) GTEST_SKIP() << "threads may not change their policy here";
    BuildEngineGraph(Clip::Mp4AV, MEDIASUBTYPE_RGB24);
    m_control->Run();
    EXPECT_EQ(WaitForEnd(m_events, 20000), EC_COMPLETE);
    EXPECT_TRUE(AllDeliveredAsBatchWork(m_videoProbe, true));
    EXPECT_TRUE(AllDeliveredAsBatchWork(m_audioProbe, true));
}

TEST_F(Grabbing, AGraphThatKeepsItsClockRunsItsThreadsNormally) {
    // Discovery prerolled this pipeline as batch work, and GStreamer lends
    // its threads from one pipeline to the next: playing in real time
    // must give them the normal policy back.
    if (!ThreadsMayChangePolicy()) GTEST_SKIP() << "threads may not change their policy here";
    BuildEngineGraph(Clip::Mp4AV, MEDIASUBTYPE_RGB24, /*keepClock=*/true);
    RunRange(0, 5000000);
    EXPECT_TRUE(AllDeliveredAsBatchWork(m_videoProbe, false));
    EXPECT_TRUE(AllDeliveredAsBatchWork(m_audioProbe, false));
}

TEST_F(Grabbing, RangeSetInSecondsBeforeRun) {
    BuildEngineGraph(Clip::Mp4AV, MEDIASUBTYPE_RGB24);
    IMediaPosition* position = Query<IMediaPosition>(m_graph);
    ASSERT_NE(position, nullptr);
    REFTIME duration = 0;
    EXPECT_EQ(position->get_Duration(&duration), S_OK);
    EXPECT_NEAR(duration, 3.0, 0.15);
    EXPECT_EQ(position->put_CurrentPosition(2.0), S_OK);
    EXPECT_EQ(position->put_StopTime(2.5), S_OK);
    m_control->Run();
    EXPECT_EQ(WaitForEnd(m_events, 20000), EC_COMPLETE);
    REFTIME now = 0;
    EXPECT_EQ(position->get_CurrentPosition(&now), S_OK);
    EXPECT_NEAR(now, 2.5, 0.1);
    position->Release();
    const auto video = m_videoProbe.Buffers();
    ASSERT_GE(video.size(), 12u);
    EXPECT_LE(video.size(), 13u);
    EXPECT_NEAR(SecondsFromGray(video.front().firstByte), 2.0, 0.05);
}

TEST_F(Grabbing, HeldDeliveryStartsOnItsOwnWhenNobodyPositionsOrWaits) {
    BuildEngineGraph(Clip::Mp4AV, MEDIASUBTYPE_RGB24);
    const auto start = std::chrono::steady_clock::now();
    m_control->Run();
    // Neither a range nor a wait for events: the hold ends by itself.
    while (m_videoProbe.Buffers().size() < 75 &&
           std::chrono::steady_clock::now() - start < std::chrono::seconds(10))
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const double waited =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const auto video = m_videoProbe.Buffers();
    ASSERT_EQ(video.size(), 75u);
    EXPECT_GE(waited, 0.4);
    EXPECT_NEAR(video.front().time, 0.0, 0.001);
    EXPECT_NEAR(SecondsFromGray(video.front().firstByte), 0.0, 0.05);
}

TEST_F(Grabbing, ConnectRefusesWhatNoConverterCanMake) {
    ASSERT_EQ(m_graph->RenderFile(Wide(ClipPath(Clip::WavAudio)).c_str(), nullptr), S_OK);
    GrabberProbe probe;
    GrabBranch b = ReplaceRenderer(m_graph, L"Default DirectSound Device", L"SampleGrbV",
                                   L"NullRenderV", VideoRequest(MEDIASUBTYPE_RGB24), &probe);
    EXPECT_TRUE(FAILED(b.connected));
    AM_MEDIA_TYPE mt{};
    EXPECT_EQ(b.sg->GetConnectedMediaType(&mt), VFW_E_NOT_CONNECTED);
    b.Release();
}

}  // namespace
