// The event channel and playing for a host window: user abort through the
// event sink, the notify window, errors in the middle of a stream, pictures
// through the video surface seam, and sound without a device.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>

#include "platform/dshow/video_surface.h"
#include "platform/win/window.h"
#include "graph_tools.h"

using namespace dshow_test;

namespace {

constexpr UINT kGraphEvent = WM_USER + 20;

class Events : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        m_graph = Create<IGraphBuilder>(CLSID_FilterGraph);
        ASSERT_NE(m_graph, nullptr);
        m_control = Query<IMediaControl>(m_graph);
        m_events = Query<IMediaEventEx>(m_graph);
    }
    void TearDown() override {
        if (m_control) m_control->Stop();
        if (m_events) m_events->Release();
        if (m_control) m_control->Release();
        if (m_graph) m_graph->Release();
        CoUninitialize();
    }
    IGraphBuilder* m_graph = nullptr;
    IMediaControl* m_control = nullptr;
    IMediaEventEx* m_events = nullptr;
};

TEST_F(Events, UserAbortNotifiedFromAnotherThreadEndsTheWait) {
    ASSERT_EQ(m_graph->RenderFile(Wide(ClipPath(Clip::Mp4AV)).c_str(), nullptr), S_OK);
    m_control->Run();
    // The host's stop: stop the graph and post the abort, as its stop command does.
    std::thread stopper([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        IMediaEventSink* sink = Query<IMediaEventSink>(m_graph);
        sink->Notify(EC_USERABORT, 0, 0);
        sink->Release();
    });
    EXPECT_EQ(WaitForEnd(m_events, 5000), EC_USERABORT);
    stopper.join();
    OAFilterState state = -1;
    EXPECT_EQ(m_control->GetState(0, &state), S_OK);
    EXPECT_EQ(state, State_Running);
    EXPECT_EQ(m_control->Stop(), S_OK);
    EXPECT_EQ(m_control->GetState(0, &state), S_OK);
    EXPECT_EQ(state, State_Stopped);
    long code;
    LONG_PTR p1, p2;
    EXPECT_EQ(m_events->GetEvent(&code, &p1, &p2, 0), E_ABORT);
}

TEST_F(Events, NotifyWindowReceivesAMessagePerEvent) {
    int messages = 0;
    LPARAM data = 0;
    HWND hwnd = CreateHostWindow([&](HWND, UINT msg, WPARAM, LPARAM l) -> LRESULT {
        if (msg == kGraphEvent) {
            ++messages;
            data = l;
        }
        return 0;
    });
    EXPECT_EQ(m_events->SetNotifyWindow(reinterpret_cast<OAHWND>(hwnd), kGraphEvent, 77), S_OK);
    IMediaEventSink* sink = Query<IMediaEventSink>(m_graph);
    sink->Notify(EC_COMPLETE, 0, 0);
    sink->Notify(EC_REPAINT, 0, 0);
    sink->Release();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    EXPECT_EQ(messages, 2);
    EXPECT_EQ(data, 77);
    long code;
    LONG_PTR p1, p2;
    ASSERT_EQ(m_events->GetEvent(&code, &p1, &p2, 0), S_OK);
    EXPECT_EQ(code, EC_COMPLETE);
    ASSERT_EQ(m_events->GetEvent(&code, &p1, &p2, 0), S_OK);
    EXPECT_EQ(code, EC_REPAINT);
    EXPECT_EQ(m_events->SetNotifyWindow(0, 0, 0), S_OK);
    DestroyWindow(hwnd);
}

TEST_F(Events, DamagedStreamEndsWithAnEventNeverAHang) {
    HRESULT hr = m_graph->RenderFile(Wide(ClipPath(Clip::DamagedMkv)).c_str(), nullptr);
    if (FAILED(hr)) GTEST_SKIP() << "the damage already stops the build";
    IMediaFilter* mf = Query<IMediaFilter>(m_graph);
    mf->SetSyncSource(nullptr);
    mf->Release();
    m_control->Run();
    const long code = WaitForEnd(m_events, 20000);
    EXPECT_TRUE(code == EC_COMPLETE || code == EC_ERRORABORT) << code;
}

TEST_F(Events, SourceGoneBeforeRunEndsWithErrorAbort) {
    const std::string path = TempPath("vanishing.avi");
    {
        std::ifstream in(ClipPath(Clip::AviVideo), std::ios::binary);
        std::ofstream(path, std::ios::binary) << in.rdbuf();
    }
    ASSERT_EQ(m_graph->RenderFile(Wide(path).c_str(), nullptr), S_OK);
    std::remove(path.c_str());
    EXPECT_TRUE(FAILED(m_control->Run()));
    EXPECT_EQ(WaitForEnd(m_events, 5000), EC_ERRORABORT);
    OAFilterState state = -1;
    m_control->GetState(0, &state);
    EXPECT_EQ(state, State_Stopped);
}

class SurfaceHost final : public IVideoSurfaceHost {
public:
    void OnVideoFrame(const VideoFrameView& f) override {
        std::lock_guard<std::mutex> g(lock);
        ++frames;
        width = f.width;
        height = f.height;
        pixel = f.pixels[(f.height / 2) * f.strideBytes + f.width * 2];
    }
    void OnVideoPlacement(const RECT& r, bool v) override {
        std::lock_guard<std::mutex> g(lock);
        rect = r;
        visible = v;
    }
    std::mutex lock;
    int frames = 0, width = 0, height = 0, pixel = -1;
    RECT rect{};
    bool visible = false;
};

TEST_F(Events, PreviewDrawsIntoTheHostWindowInRealTime) {
    ASSERT_EQ(m_graph->RenderFile(Wide(ClipPath(Clip::Mp4AV)).c_str(), nullptr), S_OK);
    HWND hwnd = CreateHostWindow([](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return 0; });
    SurfaceHost host;
    RegisterVideoSurfaceHost(hwnd, &host);
    IVideoWindow* window = Query<IVideoWindow>(m_graph);
    IMediaPosition* position = Query<IMediaPosition>(m_graph);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->SetWindowPosition(60, 40, 200, 150), S_OK);
    EXPECT_EQ(window->put_Owner(reinterpret_cast<OAHWND>(hwnd)), S_OK);
    EXPECT_EQ(window->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN), S_OK);
    EXPECT_EQ(window->put_Visible(OATRUE), S_OK);
    EXPECT_EQ(window->put_AutoShow(OATRUE), S_OK);
    EXPECT_EQ(m_events->SetNotifyWindow(reinterpret_cast<OAHWND>(hwnd), kGraphEvent, 0), S_OK);
    {
        std::lock_guard<std::mutex> g(host.lock);
        EXPECT_EQ(host.rect.right, 260);
        EXPECT_EQ(host.rect.bottom, 190);
        EXPECT_TRUE(host.visible);
    }
    // Play the last second in real time, with sound on whatever device there is.
    EXPECT_EQ(position->put_CurrentPosition(2.0), S_OK);
    const auto start = std::chrono::steady_clock::now();
    m_control->Run();
    EXPECT_EQ(WaitForEnd(m_events, 10000), EC_COMPLETE);
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GT(elapsed, 0.7);
    {
        std::lock_guard<std::mutex> g(host.lock);
        EXPECT_GE(host.frames, 20);
        EXPECT_EQ(host.width, 160);
        EXPECT_EQ(host.height, 120);
        EXPECT_NEAR(SecondsFromGray(host.pixel), 2.9, 0.2);
    }
    // Pause shows the picture at the new position without playing on.
    m_control->Stop();
    EXPECT_EQ(position->put_CurrentPosition(1.0), S_OK);
    m_control->Pause();
    m_control->StopWhenReady();
    {
        std::lock_guard<std::mutex> g(host.lock);
        EXPECT_NEAR(SecondsFromGray(host.pixel), 1.0, 0.15);
    }
    UnregisterVideoSurfaceHost(hwnd);
    position->Release();
    window->Release();
    DestroyWindow(hwnd);
}

// The preview pauses with Pause then StopWhenReady and seeks the stopped
// graph; Pause must then show the picture at the new position, both where
// the demuxer seeks exactly (MP4) and where it lands early (MPEG-1).
TEST(StopWhenReady, ThenSeekingAndPausingShowsThePictureAtTheNewPosition) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    for (Clip clip : {Clip::Mp4AV, Clip::Mpeg1AV}) {
        SCOPED_TRACE(ClipPath(clip));
        IGraphBuilder* graph = Create<IGraphBuilder>(CLSID_FilterGraph);
        ASSERT_NE(graph, nullptr);
        ASSERT_EQ(graph->RenderFile(Wide(ClipPath(clip)).c_str(), nullptr), S_OK);
        IMediaControl* control = Query<IMediaControl>(graph);
        IMediaPosition* position = Query<IMediaPosition>(graph);
        IMediaEvent* events = Query<IMediaEvent>(graph);
        IVideoWindow* window = Query<IVideoWindow>(graph);
        HWND hwnd = CreateHostWindow([](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return 0; });
        SurfaceHost host;
        RegisterVideoSurfaceHost(hwnd, &host);
        window->put_Owner(reinterpret_cast<OAHWND>(hwnd));
        auto shown = [&] {
            std::lock_guard<std::mutex> g(host.lock);
            return SecondsFromGray(host.pixel);
        };
        auto frames = [&] {
            std::lock_guard<std::mutex> g(host.lock);
            return host.frames;
        };

        EXPECT_EQ(control->Pause(), S_OK);
        EXPECT_EQ(control->StopWhenReady(), S_OK);
        OAFilterState state = -1;
        control->GetState(0, &state);
        EXPECT_EQ(state, State_Stopped);
        for (double target : {2.0, 1.0, 2.5}) {
            const int before = frames();
            EXPECT_EQ(position->put_CurrentPosition(target), S_OK);
            // A stopped graph shows nothing new until it is paused.
            EXPECT_EQ(frames(), before);
            REFTIME now = -1;
            position->get_CurrentPosition(&now);
            EXPECT_NEAR(now, target, 0.01);
            EXPECT_EQ(control->Pause(), S_OK);
            EXPECT_GT(frames(), before);
            EXPECT_NEAR(shown(), target, 0.15) << target;
            EXPECT_EQ(control->StopWhenReady(), S_OK);
            EXPECT_NEAR(shown(), target, 0.15) << target;
        }

        // Run continues from the stopped position, to the end.
        const int before = frames();
        EXPECT_EQ(control->Run(), S_OK);
        REFTIME now = -1;
        position->get_CurrentPosition(&now);
        EXPECT_GE(now, 2.4);
        EXPECT_EQ(WaitForEnd(events, 10000), EC_COMPLETE);
        EXPECT_GT(frames(), before);
        EXPECT_NEAR(shown(), 2.96, 0.15);

        // Stopped at the end, moved back and paused: the first picture.
        EXPECT_EQ(control->Stop(), S_OK);
        EXPECT_EQ(position->put_CurrentPosition(0.5), S_OK);
        EXPECT_EQ(control->Pause(), S_OK);
        EXPECT_NEAR(shown(), 0.5, 0.15);
        EXPECT_EQ(control->StopWhenReady(), S_OK);
        EXPECT_EQ(control->Stop(), S_OK);
        control->GetState(0, &state);
        EXPECT_EQ(state, State_Stopped);

        // A topology change while stopped: the renderer leaves the graph
        // and the next run shows nothing more.
        IBaseFilter* renderer = nullptr;
        ASSERT_EQ(graph->FindFilterByName(L"Video Renderer", &renderer), S_OK);
        EXPECT_EQ(graph->RemoveFilter(renderer), S_OK);
        renderer->Release();
        const int afterRemoval = frames();
        EXPECT_EQ(control->Run(), S_OK);
        EXPECT_EQ(WaitForEnd(events, 10000), EC_COMPLETE);
        EXPECT_EQ(frames(), afterRemoval);

        control->Stop();
        UnregisterVideoSurfaceHost(hwnd);
        window->Release();
        events->Release();
        position->Release();
        control->Release();
        graph->Release();
        DestroyWindow(hwnd);
    }
    CoUninitialize();
}

TEST_F(Events, SoundOnlyFileKeepsTimeAndEnds) {
    ASSERT_EQ(m_graph->RenderFile(Wide(ClipPath(Clip::WavAudio)).c_str(), nullptr), S_OK);
    const auto start = std::chrono::steady_clock::now();
    m_control->Run();
    EXPECT_EQ(WaitForEnd(m_events, 10000), EC_COMPLETE);
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GT(elapsed, 0.8);
    EXPECT_LT(elapsed, 5.0);
}

}  // namespace
