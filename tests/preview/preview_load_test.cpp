// Loading, closing and refusing sources in the preview window, and the
// range that typed times may set.
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <fstream>

#include "preview/range_slider.h"
#include "preview/video_pane.h"
#include "preview_fixture.h"

TEST_F(PreviewFixture, LoadingShowsTheDurationAsTheRangeAndCloseKeepsIt) {
    const std::string path = Clip90();
    dialogs.openPaths.push_back(path);
    wnd->LoadFile();
    EXPECT_EQ(LastLoadResult(), 0);
    EXPECT_EQ(wnd->GetSourcePath(), path);
    ASSERT_TRUE(WaitFor([&] { return wnd->GetPlayState() == PlayState::Ready; }, 5000));
    EXPECT_EQ(wnd->StatusText(), "Ready to Play");
    EXPECT_EQ(wnd->GetBeginTime(), 0u);
    EXPECT_EQ(wnd->GetEndTime(), 90u);
    EXPECT_EQ(FieldText(IDC_END_TIME), "00:01:30");
    EXPECT_EQ(FieldText(IDC_BEGIN_TIME), "00:00:00");
    EXPECT_EQ(FieldText(IDC_CURRENT_TIME), "00:00:00");
    EXPECT_EQ(Buttons(), "enabled/disabled/disabled");
    EXPECT_EQ(wnd->Slider()->Model().Maximum(), 90);
    EXPECT_TRUE(wnd->Slider()->isEnabled());

    TypeTime(IDC_BEGIN_TIME, "00:00:20");
    TypeTime(IDC_END_TIME, "00:01:00");
    wnd->CloseFile();
    EXPECT_EQ(wnd->GetPlayState(), PlayState::NoMedia);
    EXPECT_EQ(wnd->GetSourcePath(), "");
    EXPECT_EQ(wnd->StatusText(), "");
    EXPECT_EQ(Buttons(), "disabled/disabled/disabled");
    EXPECT_FALSE(wnd->Slider()->isEnabled());
    EXPECT_FALSE(wnd->Field(IDC_END_TIME)->isEnabled());
    EXPECT_EQ(FieldText(IDC_END_TIME), "00:00:00");
    // The range survives the close ...
    EXPECT_EQ(wnd->GetBeginTime(), 20u);
    EXPECT_EQ(wnd->GetEndTime(), 60u);

    // ... until the next load sets it to the new source.
    wnd->OpenFile(Clip3Half());
    ASSERT_TRUE(WaitFor([&] { return wnd->GetPlayState() == PlayState::Ready; }, 5000));
    EXPECT_EQ(wnd->GetBeginTime(), 0u);
    EXPECT_EQ(wnd->GetEndTime(), 3u);

    // A cancelled open dialog changes nothing.
    dialogs.openPaths.push_back("");
    wnd->LoadFile();
    EXPECT_EQ(wnd->GetSourcePath(), Clip3Half());
}

TEST_F(PreviewFixture, ATransportStreamWhoseClockStartsAtTenHoursShowsItsLength) {
    // Too few clock references in it for GStreamer to estimate its length.
    const std::string path = Dir().Path("ten-hours.ts");
    ASSERT_TRUE(MakeLavfiClip(path, "testsrc=size=96x72:rate=25:duration=5", "",
                              "-c:v libx264 -output_ts_offset 36000 -f mpegts"));
    wnd->OpenFile(path);
    ASSERT_TRUE(WaitFor([&] { return wnd->GetPlayState() == PlayState::Ready; }, 5000));
    EXPECT_EQ(wnd->GetEndTime(), 5u);
    EXPECT_EQ(FieldText(IDC_END_TIME), "00:00:05");
    EXPECT_EQ(wnd->Slider()->Model().Maximum(), 5);
}

TEST_F(PreviewFixture, TypedTimesOutsideTheRangeAreRefused) {
    wnd->OpenFile(Clip90());
    ASSERT_TRUE(WaitFor([&] { return wnd->GetPlayState() == PlayState::Ready; }, 5000));
    TypeTime(IDC_END_TIME, "00:00:40");
    EXPECT_EQ(wnd->GetEndTime(), 40u);
    TypeTime(IDC_BEGIN_TIME, "00:00:50");  // later than the end
    EXPECT_EQ(wnd->GetBeginTime(), 0u);
    EXPECT_EQ(FieldText(IDC_BEGIN_TIME), "00:00:00");
    TypeTime(IDC_BEGIN_TIME, "00:00:40");  // equal to the end: accepted
    EXPECT_EQ(wnd->GetBeginTime(), 40u);
    EXPECT_EQ(wnd->Slider()->Model().Begin(), 40u);
    TypeTime(IDC_END_TIME, "00:00:30");  // earlier than the begin
    EXPECT_EQ(wnd->GetEndTime(), 40u);
    EXPECT_EQ(FieldText(IDC_END_TIME), "00:00:40");
    TypeTime(IDC_END_TIME, "00:02:00");  // beyond the duration: the field restores
    EXPECT_EQ(wnd->GetEndTime(), 40u);
    EXPECT_EQ(FieldText(IDC_END_TIME), "00:00:40");

    // A current time outside the range changes nothing; inside it seeks.
    TypeTime(IDC_CURRENT_TIME, "00:00:10");
    EXPECT_NEAR(GraphPosition(), 0.0, 0.5);
    EXPECT_EQ(FieldText(IDC_CURRENT_TIME), "00:00:10");  // kept until the next update
    TypeTime(IDC_END_TIME, "00:01:20");
    TypeTime(IDC_CURRENT_TIME, "00:01:05");
    EXPECT_NEAR(GraphPosition(), 65.0, 0.5);
    EXPECT_EQ(wnd->Slider()->Model().Current(), 65u);
}

TEST_F(PreviewFixture, AnUnreadableFileIsErrorTwoWithItsQuestion) {
    wnd->OpenFile(Clip3Half());
    ASSERT_TRUE(WaitFor([&] { return wnd->GetPlayState() == PlayState::Ready; }, 5000));
    const std::string text = Dir().Path("notes.avi");
    std::ofstream(text) << "Not a movie, only words.\n";
    std::string opened;
    wnd->SetUrlOpener([&](const std::string& url) { opened = url; });
    dialogs.answers.push_back(MsgAnswer::Yes);
    wnd->OpenFile(text);
    EXPECT_EQ(LastLoadResult(), 2);
    EXPECT_EQ(wnd->GetSourcePath(), "");
    ASSERT_TRUE(WaitFor([&] { return !dialogs.boxes.empty(); }, 3000));
    EXPECT_EQ(wnd->StatusText(), "Err: Unknow file format, please install FFDSHOW!");
    EXPECT_EQ(dialogs.boxes[0].caption, "Clipwright");
    EXPECT_EQ(dialogs.boxes[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(dialogs.boxes[0].text,
              std::string("Oops, the file format can not be recognized, we can help you on "
                          "this, do you want to visit our WEB site? ") +
                  kMakerWebAddress);
    EXPECT_EQ(opened, SupportPageAddress());
    // The earlier media was closed first: nothing is loaded now.
    EXPECT_EQ(wnd->GetPlayState(), PlayState::NoMedia);
    EXPECT_EQ(Buttons(), "disabled/disabled/disabled");
    EXPECT_EQ(PreviewStateOf().pMediaControl, nullptr);

    // A No answers nothing further.
    opened.clear();
    dialogs.answers.push_back(MsgAnswer::No);
    wnd->OpenFile(text);
    ASSERT_TRUE(WaitFor([&] { return dialogs.boxes.size() == 2; }, 3000));
    EXPECT_EQ(opened, "");
}

// A file that is not there, a folder, a pipe or a file the user may not
// read is refused before any graph is built, with words that say which,
// never as a format nobody recognises.
struct RefusedSource {
    const char* name;
    const char* status;
    const char* says;  // after "Sorry! The source '<path>' "
};

// Test names show the case, not the struct's bytes.
void PrintTo(const RefusedSource& s, std::ostream* os) {
    *os << s.name;
}

class PreviewRefusesSource : public PreviewFixture,
                             public ::testing::WithParamInterface<RefusedSource> {};

TEST_P(PreviewRefusesSource, SaysWhyInsteadOfTheFormatQuestion) {
    const RefusedSource& c = GetParam();
    const std::string path = Dir().Path(std::string("refused-") + c.name);
    const std::string kind = c.name;
    if (kind == "folder") {
        ASSERT_TRUE(QDir().mkpath(QString::fromStdString(path)));
    } else if (kind == "pipe") {
        ASSERT_EQ(0, mkfifo(path.c_str(), 0644));
    } else if (kind == "unreadable") {
        if (geteuid() == 0) GTEST_SKIP() << "root may read any file";
        ASSERT_TRUE(QFile::copy(QString::fromStdString(Clip3Half()), QString::fromStdString(path)));
        ASSERT_EQ(0, chmod(path.c_str(), 0));
    }
    wnd->OpenFile(Clip3Half());
    ASSERT_TRUE(WaitFor([&] { return wnd->GetPlayState() == PlayState::Ready; }, 5000));

    dialogs.answers.push_back(MsgAnswer::Ok);
    wnd->OpenFile(path);
    EXPECT_EQ(LastLoadResult(), kLoadSourceRefused);
    EXPECT_EQ(wnd->GetSourcePath(), "");
    ASSERT_TRUE(WaitFor([&] { return !dialogs.boxes.empty(); }, 3000));
    EXPECT_EQ(wnd->StatusText(), c.status);
    EXPECT_EQ(dialogs.boxes[0].text, "Sorry! The source '" + path + "' " + c.says + ".");
    EXPECT_EQ(dialogs.boxes[0].caption, "Clipwright");
    EXPECT_EQ(dialogs.boxes[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(wnd->GetPlayState(), PlayState::NoMedia);
    EXPECT_EQ(PreviewStateOf().pGraphBuilder, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Sources, PreviewRefusesSource,
    ::testing::Values(RefusedSource{"missing", "Err: No such file!", "does not exist"},
                      RefusedSource{"folder", "Err: This is a folder, not a movie file!",
                                    "is a folder, not a movie file"},
                      RefusedSource{"pipe", "Err: A pipe or a device is not a movie file!",
                                    "is a pipe or a device, not a movie file"},
                      RefusedSource{"unreadable", "Err: No permission to read this file!",
                                    "cannot be read: you have no permission to read it"}),
    [](const ::testing::TestParamInfo<RefusedSource>& p) { return p.param.name; });

TEST_F(PreviewFixture, AStreamThatCannotBeRenderedFailsTheWholeLoad) {
    // Video the graph renders, and a subtitle stream it cannot.
    const std::string srt = Dir().Path("words.srt");
    std::ofstream(srt) << "1\n00:00:00,000 --> 00:00:01,000\nhello\n";
    const std::string path = Dir().Path("partial.mkv");
    ASSERT_TRUE(MakeLavfiClip(path, "testsrc=size=96x72:duration=2", "",
                              "-i " + ShellQuote(srt) + " -c:v mpeg4 -c:s srt"));
    // The graph itself reports partial success for it.
    IGraphBuilder* graph = nullptr;
    DShowRegisterClasses();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                               reinterpret_cast<void**>(&graph)),
              S_OK);
    const std::wstring wide(path.begin(), path.end());
    EXPECT_EQ(graph->RenderFile(wide.c_str(), nullptr), VFW_S_PARTIAL_RENDER);
    graph->Release();

    dialogs.answers.push_back(MsgAnswer::No);
    wnd->OpenFile(path);
    EXPECT_EQ(LastLoadResult(), 2);
    ASSERT_TRUE(WaitFor([&] { return dialogs.boxes.size() == 1; }, 3000));
    EXPECT_EQ(wnd->GetSourcePath(), "");
}

TEST_F(PreviewFixture, LongPathsLoadWholeAndTooLongOnesAreRefused) {
    // A path far beyond 259 characters loads: it is never cut.
    std::string deep = Dir().path();
    while (deep.size() < 600) deep += "/a-folder-with-a-fairly-long-name";
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(deep)));
    const std::string longPath = deep + "/clip.mp4";
    ASSERT_TRUE(QFile::copy(QString::fromStdString(Clip3Half()), QString::fromStdString(longPath)));
    wnd->OpenFile(longPath);
    EXPECT_EQ(LastLoadResult(), 0);
    EXPECT_EQ(wnd->GetSourcePath(), longPath);

    // Longer than the job can carry: refused with a clear text, nothing opened.
    std::string tooLong = deep;
    while (tooLong.size() < 1030) tooLong += "/x";
    wnd->OpenFile(tooLong + ".mp4");
    EXPECT_EQ(LastLoadResult(), kLoadPathTooLong);
    EXPECT_EQ(wnd->GetSourcePath(), "");
    ASSERT_TRUE(
        WaitFor([&] { return wnd->StatusText().find("too long") != std::string::npos; }, 3000));
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(PreviewStateOf().pGraphBuilder, nullptr);
}
