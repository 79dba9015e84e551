// Playing in the preview window: the state table, the play timer's end
// check, the end of the media, loading while playing, and what repeated
// loads leave behind. The graph is real and runs at real speed.
#include <dirent.h>

#include <cwchar>

#include "media_tools.h"
#include "preview/preview_graph.h"
#include "preview/range_slider.h"
#include "preview/video_pane.h"
#include "preview_fixture.h"

namespace {

int CountEntries(const char* dir) {
    int n = 0;
    if (DIR* d = opendir(dir)) {
        while (readdir(d)) ++n;
        closedir(d);
    }
    return n;
}

// Names of the preview graph's filters that begin with `prefix`.
std::vector<std::wstring> FiltersNamed(const wchar_t* prefix) {
    std::vector<std::wstring> names;
    IEnumFilters* filters = nullptr;
    IGraphBuilder* graph = PreviewStateOf().pGraphBuilder;
    if (!graph || FAILED(graph->EnumFilters(&filters)) || !filters) return names;
    IBaseFilter* f = nullptr;
    ULONG fetched = 0;
    while (filters->Next(1, &f, &fetched) == S_OK && fetched == 1) {
        FILTER_INFO info = {};
        if (SUCCEEDED(f->QueryFilterInfo(&info))) {
            if (std::wcsncmp(info.achName, prefix, std::wcslen(prefix)) == 0)
                names.emplace_back(info.achName);
            if (info.pGraph) info.pGraph->Release();
        }
        f->Release();
    }
    filters->Release();
    return names;
}

}  // namespace

TEST_F(PreviewFixture, OfSeveralSoundTracksOnlyTheFirstIsPlayed) {
    const std::string path = Dir().Path("three-tracks.mkv");
    ASSERT_TRUE(MakeFlashBeepClip(path, 3, 25, {1.0}, "-c:v mpeg4 -c:a aac", 2));
    wnd->OpenFile(path);
    ASSERT_TRUE(WaitFor([&] { return wnd->GetPlayState() == PlayState::Ready; }, 5000));
    EXPECT_EQ(FiltersNamed(L"Default DirectSound Device"),
              std::vector<std::wstring>{L"Default DirectSound Device"});
    Click(ID_PLAY);
    EXPECT_TRUE(WaitFor([&] { return FieldText(IDC_CURRENT_TIME) == "00:00:01"; }, 3000));
}

TEST_F(PreviewFixture, PlayPauseStopFollowTheStateTable) {
    wnd->OpenFile(Clip90());
    ASSERT_TRUE(WaitFor([&] { return wnd->GetPlayState() == PlayState::Ready; }, 5000));

    Click(ID_PLAY);
    EXPECT_EQ(wnd->GetPlayState(), PlayState::Playing);
    EXPECT_EQ(Buttons(), "pressed/enabled/enabled");
    // The timer shows the position once a second.
    ASSERT_TRUE(WaitFor([&] { return FieldText(IDC_CURRENT_TIME) == "00:00:01"; }, 3000));
    Click(ID_PLAY);  // nothing happens while playing
    EXPECT_EQ(Buttons(), "pressed/enabled/enabled");

    Click(ID_PAUSE);
    EXPECT_EQ(wnd->GetPlayState(), PlayState::Paused);
    EXPECT_EQ(Buttons(), "enabled/pressed/enabled");
    const double paused = GraphPosition();
    EXPECT_GT(paused, 1.0);
    QTest::qWait(1200);
    EXPECT_NEAR(GraphPosition(), paused, 0.05);  // it stays where it was

    // With begin 0, Play continues from the paused picture.
    Click(ID_PLAY);
    EXPECT_EQ(wnd->GetPlayState(), PlayState::Playing);
    EXPECT_GE(GraphPosition(), paused - 0.05);

    Click(ID_STOP);
    EXPECT_EQ(wnd->GetPlayState(), PlayState::Stopped);
    EXPECT_EQ(Buttons(), "enabled/disabled/disabled");
    EXPECT_NEAR(GraphPosition(), 0.0, 0.05);
    EXPECT_EQ(FieldText(IDC_CURRENT_TIME), "00:00:00");

    // With begin 30, Play from a pause jumps back to 30.
    TypeTime(IDC_BEGIN_TIME, "00:00:30");
    Click(ID_PLAY);
    ASSERT_TRUE(WaitFor([&] { return FieldText(IDC_CURRENT_TIME) >= "00:00:31"; }, 3000));
    Click(ID_PAUSE);
    TypeTime(IDC_CURRENT_TIME, "00:00:50");
    EXPECT_NEAR(GraphPosition(), 50.0, 0.2);
    Click(ID_PLAY);
    EXPECT_LT(GraphPosition(), 31.0);
    EXPECT_GE(GraphPosition(), 30.0);
}

TEST_F(PreviewFixture, PlayingToTheEndTimeStopsAndReturnsToTheBegin) {
    wnd->OpenFile(Clip90());
    ASSERT_TRUE(WaitFor([&] { return wnd->GetPlayState() == PlayState::Ready; }, 5000));
    TypeTime(IDC_BEGIN_TIME, "00:00:10");
    TypeTime(IDC_END_TIME, "00:00:12");
    // Each tick of the play timer shows the whole second it reached; the
    // first one at the end time (12) stops playback, none before it does.
    struct Tick {
        unsigned shown;
        PlayState after;
    };
    std::vector<Tick> ticks;
    bool pending = false;
    QObject::connect(&wnd->Range(), &CRangeModel::PositionChanged, wnd, [&](unsigned s) {
        // Only the tick's own position, not the return to the begin.
        if (pending || wnd->GetPlayState() != PlayState::Playing) return;
        pending = true;
        ticks.push_back({s, PlayState::Playing});
        QMetaObject::invokeMethod(
            wnd,
            [&] {
                ticks.back().after = wnd->GetPlayState();
                pending = false;
            },
            Qt::QueuedConnection);
    });
    Click(ID_PLAY);
    QElapsedTimer t;
    t.start();
    ASSERT_TRUE(
        WaitFor([&] { return wnd->GetPlayState() == PlayState::Stopped && !pending; }, 5000));
    // Two seconds of play, at most one more before a tick sees it, and some
    // slack for a busy machine.
    EXPECT_LT(t.elapsed(), 4500);
    ASSERT_FALSE(ticks.empty());
    for (const Tick& tick : ticks)
        EXPECT_EQ(tick.after == PlayState::Stopped, tick.shown >= 12) << tick.shown;
    EXPECT_EQ(Buttons(), "enabled/disabled/disabled");
    EXPECT_NEAR(GraphPosition(), 10.0, 0.05);
    EXPECT_EQ(FieldText(IDC_CURRENT_TIME), "00:00:10");
    QCoreApplication::processEvents();
    EXPECT_EQ(wnd->Slider()->Model().Current(), 10u);
}

TEST_F(PreviewFixture, TheEndOfTheMediaBeforeTheEndTimeMakesItReady) {
    wnd->OpenFile(Clip3Half());
    ASSERT_TRUE(WaitFor([&] { return wnd->GetPlayState() == PlayState::Ready; }, 5000));
    // Half a second before the end of the media, so that the end arrives
    // before the first tick of the play timer.
    TypeTime(IDC_CURRENT_TIME, "00:00:03");
    Click(ID_PLAY);
    ASSERT_TRUE(WaitFor([&] { return wnd->GetPlayState() == PlayState::Ready; }, 3000));
    EXPECT_EQ(wnd->StatusText(), "Ready to Play");
    EXPECT_EQ(Buttons(), "enabled/disabled/disabled");
    EXPECT_NEAR(GraphPosition(), 0.0, 0.05);
    EXPECT_EQ(FieldText(IDC_CURRENT_TIME), "00:00:00");
    // Play works again from there.
    Click(ID_PLAY);
    EXPECT_EQ(wnd->GetPlayState(), PlayState::Playing);
}

TEST_F(PreviewFixture, GrabbingTheMarkerPausesAndTheSeekPlaysOn) {
    wnd->OpenFile(Clip90());
    ASSERT_TRUE(WaitFor([&] { return wnd->GetPlayState() == PlayState::Ready; }, 5000));
    Click(ID_PLAY);
    CRangeSlider* slider = wnd->Slider();
    const int x = slider->Model().MarkerRect().right - 1;
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(x, 10));
    QCoreApplication::processEvents();
    EXPECT_EQ(wnd->GetPlayState(), PlayState::DragPaused);
    EXPECT_EQ(Buttons(), "enabled/pressed/enabled");
    const int target = slider->Model().PositionOf(45);
    QTest::mouseMove(slider, QPoint(target, 10));
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(target, 10));
    QCoreApplication::processEvents();
    EXPECT_EQ(wnd->GetPlayState(), PlayState::Playing);
    EXPECT_EQ(Buttons(), "pressed/enabled/enabled");
    EXPECT_NEAR(GraphPosition(), 45.0, 1.0);
}

TEST_F(PreviewFixture, LoadingWhilePlayingReplacesTheSource) {
    wnd->OpenFile(Clip90());
    ASSERT_TRUE(WaitFor([&] { return wnd->GetPlayState() == PlayState::Ready; }, 5000));
    Click(ID_PLAY);
    QTest::qWait(300);
    wnd->OpenFile(Clip3Half());
    EXPECT_EQ(LastLoadResult(), 0);
    ASSERT_TRUE(WaitFor([&] { return wnd->GetPlayState() == PlayState::Ready; }, 5000));
    EXPECT_EQ(wnd->GetSourcePath(), Clip3Half());
    EXPECT_EQ(wnd->GetEndTime(), 3u);
    EXPECT_EQ(Buttons(), "enabled/disabled/disabled");
}

TEST_F(PreviewFixture, RepeatedLoadsAndClosesLeaveNoThreadsOrDescriptors) {
    // One round first: the media framework keeps a few things for the process.
    wnd->OpenFile(Clip3Half());
    WaitFor([&] { return wnd->GetPlayState() == PlayState::Ready; }, 5000);
    wnd->CloseFile();
    const int threads = CountEntries("/proc/self/task");
    const int descriptors = CountEntries("/proc/self/fd");
    for (int i = 0; i < 20; ++i) {
        wnd->OpenFile(Clip3Half());
        ASSERT_TRUE(WaitFor([&] { return wnd->GetPlayState() == PlayState::Ready; }, 5000)) << i;
        if (i % 4 == 0) {
            Click(ID_PLAY);
            QTest::qWait(100);
        }
        wnd->CloseFile();
    }
    // Pool threads of the media framework may take a moment to go.
    WaitFor([&] { return CountEntries("/proc/self/task") <= threads; }, 3000);
    EXPECT_LE(CountEntries("/proc/self/task"), threads + 1);
    EXPECT_LE(CountEntries("/proc/self/fd"), descriptors);
}
