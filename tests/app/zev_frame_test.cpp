// The main window driven as a user drives it: real widgets, the real engine,
// generated clips, answers through the dialog seam.
#include <QAction>
#include <QProgressBar>
#include <QPushButton>
#include <QToolBar>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <signal.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "app/job_panel.h"
#include "app/job_tab_ctrl.h"
#include "app/log_view.h"
#include "app/preview_pane.h"
#include "profiles/widgets/output_panel_layout.h"
#include "ui/number_edit.h"
#include "app/recent_file_list.h"
#include "ui/hover_button.h"
#include "ui/status_bar_xp.h"
#include "ui/termination_signals.h"
#include "platform/win/trace.h"
#include "zev_frame_test_support.h"

namespace {

const QString kWelcome =
    QStringLiteral("Welcome! Press F1 or visit https://clipwright.example.org to get help");
const QRegularExpression kProgressText(
    QStringLiteral("^Under converting, please wait\\.\\.\\.\\d+% finished[-\\\\|/]$"));

std::string DescriptionOf(const JsonValue& probe) {
    return probe["format"]["tags"]["comment"].String();
}

// Runs `action` once, at the first progress tick of the running job that
// shows a value above zero.
void AtFirstProgress(CMainFrame* frame, std::function<void()> action) {
    auto done = std::make_shared<bool>(false);
    QObject::connect(frame, &CMainFrame::ProgressShown, frame, [frame, done, action] {
        if (*done || frame->Session().Progress() <= 0) return;
        *done = true;
        action();
    });
}

}  // namespace

TEST_F(FrameTest, WindowStartsWithTitleMenusToolbarStatusAndWelcomeLine) {
    MakeFrame();
    EXPECT_EQ(QStringLiteral("Clipwright 1.01"), m_frame->windowTitle());
    EXPECT_EQ(QSize(CMainFrame::kWidth, CMainFrame::kHeight), m_frame->size());
    EXPECT_EQ(QStringLiteral("Ready"), m_frame->StatusBar()->PaneText(0));
    EXPECT_EQ(4, m_frame->StatusBar()->PaneCount());
    // The welcome line goes to the log only, first and stamped.
    const QString first = m_frame->LogView()->toPlainText().section(QLatin1Char('\n'), 0, 0);
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d    ")).match(first).hasMatch());
    EXPECT_EQ(kWelcome, first.mid(12));
    // Toolbar order differs from the menu's: Load, Convert, Close.
    QStringList order;
    for (QAction* a : m_frame->ToolBar()->actions()) order << (a->isSeparator() ? "|" : a->text());
    EXPECT_EQ(QStringList({"&Load File", "Con&vert...", "&Close File", "|", "Add", "Save", "Del",
                           "|", "&Help", "&About reelsmith...", "|", "E&xit"}),
              order);
    EXPECT_EQ(QStringLiteral(" Load File"), m_frame->Action(cmd::kLoadFile)->toolTip());
    // Tabs switch the pages.
    m_frame->Tabs()->setCurrentIndex(1);
    EXPECT_TRUE(m_frame->LogView()->isVisible());
    EXPECT_FALSE(m_frame->JobPanel()->isVisible());
    m_frame->Tabs()->setCurrentIndex(0);
    EXPECT_TRUE(m_frame->JobPanel()->isVisible());
}

TEST_F(FrameTest, JobRunsFromLoadToReadBackOutput) {
    MakeFrame([](MainFrameServices& s) {
        s.finishWaitMs = 300;
        s.progressIntervalMs = 100;
    });
    LoadThroughBrowse(s_longClip);
    ASSERT_EQ(QString::fromStdString(s_longClip), m_frame->JobPanel()->SourceLabelText());
    EXPECT_EQ(QString::fromStdString(s_longClip), m_recent->Items().value(0));
    SetRange(10, 40);

    QStringList statusTexts;
    QObject::connect(m_frame.get(), &CMainFrame::ProgressShown,
                     [&](const QString& text) { statusTexts << text; });
    QList<int> bar;
    QObject::connect(m_frame->JobPanel()->ProgressBar(), &QProgressBar::valueChanged,
                     [&](int v) { bar << v; });
    const std::string dest = m_dir.Path("out.wmv");
    ConvertTo(dest);

    EXPECT_EQ(std::vector<std::string>{"Please set Dest File Name!"}, m_dialogs.Texts());
    EXPECT_EQ("wmv", m_dialogs.lastSaveExt);
    EXPECT_EQ("WMV Files (*.wmv)|*.wmv||", m_dialogs.lastSaveFilter);
    EXPECT_TRUE(LogHas(kWelcome));
    EXPECT_TRUE(LogHas("Load Convertor Library Success."));
    EXPECT_TRUE(LogHas("Prepare convert success"));
    EXPECT_TRUE(LogHas("Converting successfully complete!")) << LogLines().join('\n').toStdString();
    // The progress text reached the status bar only, with its spinner.
    ASSERT_FALSE(statusTexts.isEmpty());
    for (const QString& t : statusTexts)
        EXPECT_TRUE(kProgressText.match(t).hasMatch()) << t.toStdString();
    EXPECT_FALSE(m_frame->LogView()->toPlainText().contains(QStringLiteral("% finished")));
    // 100 after the job, then 0; the destination has to be chosen again.
    ASSERT_GE(bar.size(), 2);
    EXPECT_EQ((QList<int>{100, 0}), bar.mid(bar.size() - 2));
    EXPECT_EQ(QStringLiteral("Please set Dest File Name"), m_frame->JobPanel()->DestLabelText());
    EXPECT_TRUE(m_frame->JobPanel()->GetDestPath().empty());
    EXPECT_FALSE(m_frame->JobPanel()->ShowsStop());
    EXPECT_EQ(0, m_frame->Session().Progress());
    EXPECT_TRUE(m_frame->Action(cmd::kLoadFile)->isEnabled());

    // The output has the size and rate of the profile the panel shows.
    const ProfileRecord record = m_frame->Preview()->ConverterRecord();
    const JsonValue probe = Probe(dest);
    ASSERT_FALSE(probe.IsNull());
    const JsonValue& video = StreamOf(probe, "video");
    EXPECT_EQ(record.width + record.width % 2, video["width"].Number());
    EXPECT_EQ(record.height + record.height % 2, video["height"].Number());
    EXPECT_EQ(std::to_string(record.framesPerSecond) + "/1", video["r_frame_rate"].String());
    EXPECT_NEAR(30.0, probe["format"]["duration"].Number(), 0.2);
}

TEST_F(FrameTest, StopAskedNoChangesNothingYesStopsAndKeepsATaggedFile) {
    MakeFrame([](MainFrameServices& s) {
        s.finishWaitMs = 100;
        s.progressIntervalMs = 100;
    });
    LoadThroughBrowse(s_longClip);
    bool stillRunningAfterNo = false;
    bool convertShownAtOnce = false;
    AtFirstProgress(m_frame.get(), [&] {
        m_dialogs.answers.push_back(MsgAnswer::No);
        QTest::mouseClick(m_frame->JobPanel()->StopButton(), Qt::LeftButton);
        stillRunningAfterNo =
            m_frame->JobPanel()->ShowsStop() && !LogHas("User want stop converting");
        m_dialogs.answers.push_back(MsgAnswer::Yes);
        QTest::mouseClick(m_frame->JobPanel()->StopButton(), Qt::LeftButton);
        convertShownAtOnce = !m_frame->JobPanel()->ShowsStop();
    });
    const std::string dest = m_dir.Path("stopped.wmv");
    ConvertTo(dest);

    EXPECT_TRUE(stillRunningAfterNo);
    EXPECT_TRUE(convertShownAtOnce);
    const QStringList lines = LogLines();
    const int want = lines.indexOf("User want stop converting");
    ASSERT_GE(want, 0) << lines.join('\n').toStdString();
    EXPECT_EQ(QStringLiteral("Stopping"), lines.value(want + 1));
    EXPECT_TRUE(LogHas("User stopped converting."));
    const JsonValue probe = Probe(dest);
    ASSERT_FALSE(probe.IsNull());
    EXPECT_EQ("Converted use ZEV from https://clipwright.example.org", DescriptionOf(probe));
    EXPECT_LT(probe["format"]["duration"].Number(), 59.0);
}

// As `zev --trace | sleep infinity`: standard output a pipe that nobody
// reads. The converters' trace fills it, and still the job runs and Stop
// returns. Should the job wait for the pipe after all, a watchdog empties
// it after a while, so that the test fails instead of hanging.
TEST_F(FrameTest, StopReturnsWhileNobodyReadsStandardOutput) {
    MakeFrame([](MainFrameServices& s) {
        s.finishWaitMs = 100;
        s.progressIntervalMs = 100;
    });
    LoadThroughBrowse(s_longClip);
    int unread[2];
    ASSERT_EQ(0, pipe(unread));
    fcntl(unread[1], F_SETPIPE_SZ, 4096);  // full after a few dozen lines
    std::fflush(stdout);
    const int savedStdout = dup(STDOUT_FILENO);
    dup2(unread[1], STDOUT_FILENO);
    SetTraceEnabled(true);

    std::atomic<bool> jobOver{false};
    std::atomic<bool> rescued{false};
    std::thread watchdog([&] {
        for (int i = 0; i < 600 && !jobOver; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (jobOver) return;
        rescued = true;
        fcntl(unread[0], F_SETFL, O_NONBLOCK);
        char buf[4096];
        while (!jobOver) {
            while (read(unread[0], buf, sizeof buf) > 0) {
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    // Nothing here may print: standard output is the full pipe.
    int queuedAtStop = 0;
    AtFirstProgress(m_frame.get(), [&] {
        ioctl(unread[0], FIONREAD, &queuedAtStop);
        m_dialogs.answers.push_back(MsgAnswer::Yes);
        QTest::mouseClick(m_frame->JobPanel()->StopButton(), Qt::LeftButton);
    });
    const std::string dest = m_dir.Path("unread.wmv");
    ConvertTo(dest);
    jobOver = true;
    watchdog.join();
    dup2(savedStdout, STDOUT_FILENO);
    close(savedStdout);
    close(unread[0]);
    close(unread[1]);
    SetTraceEnabled(true);

    EXPECT_FALSE(rescued) << "the job waited for standard output";
    EXPECT_GT(queuedAtStop, 3000) << "the pipe was not full: nothing was shown";
    EXPECT_TRUE(LogHas("User stopped converting."));
    EXPECT_FALSE(Probe(dest).IsNull());
}

TEST_F(FrameTest, ClosingDuringAJobStopsItAndClosesAfterwards) {
    MakeFrame([](MainFrameServices& s) {
        s.finishWaitMs = 100;
        s.progressIntervalMs = 100;
    });
    LoadThroughBrowse(s_longClip);
    bool openAfterClose = false;
    AtFirstProgress(m_frame.get(), [&] {
        m_frame->close();
        m_frame->close();  // a second request arms no second retry
        openAfterClose = m_frame->isVisible();
    });
    QSignalSpy finished(m_frame.get(), &CMainFrame::JobFinished);
    const std::string dest = m_dir.Path("closed.wmv");
    ConvertTo(dest);
    ASSERT_EQ(1, finished.count());
    EXPECT_TRUE(openAfterClose);
    // No question before stopping: only the destination was asked for.
    EXPECT_EQ(std::vector<std::string>{"Please set Dest File Name!"}, m_dialogs.Texts());
    EXPECT_TRUE(LogHas("User want stop converting"));
    // The window goes about a second after the job has ended.
    QTRY_VERIFY_WITH_TIMEOUT(!m_frame->isVisible(), 3000);
    const JsonValue probe = Probe(dest);
    ASSERT_FALSE(probe.IsNull());
    EXPECT_EQ("Converted use ZEV from https://clipwright.example.org", DescriptionOf(probe));
}

// SIGTERM mid-job, as at logout: the job stops as when the window is
// closed, its file closed and tagged, then the window closes and the
// program ends; no part file is left, and a second signal would end the
// program at once.
TEST_F(FrameTest, TerminationSignalStopsTheJobKeepsATaggedFileAndEndsTheProgram) {
    bool ended = false;
    MakeFrame([&ended](MainFrameServices& s) {
        s.finishWaitMs = 100;
        s.progressIntervalMs = 100;
        s.endProgram = [&ended] { ended = true; };
    });
    CTerminationSignals termination;
    ASSERT_TRUE(termination.Installed());
    QObject::connect(&termination, &CTerminationSignals::Received, m_frame.get(),
                     &CMainFrame::EndOnSignal);
    LoadThroughBrowse(s_longClip);
    AtFirstProgress(m_frame.get(), [] { raise(SIGTERM); });
    const std::string dest = m_dir.Path("terminated.wmv");
    ConvertTo(dest);
    QTRY_VERIFY_WITH_TIMEOUT(ended, 5000);
    EXPECT_FALSE(m_frame->isVisible());
    EXPECT_TRUE(LogHas("User want stop converting"));
    EXPECT_TRUE(LogHas("User stopped converting."));
    struct sigaction now {};
    sigaction(SIGTERM, nullptr, &now);
    EXPECT_EQ(SIG_DFL, now.sa_handler);

    const JsonValue probe = Probe(dest);
    ASSERT_FALSE(probe.IsNull());
    EXPECT_EQ("Converted use ZEV from https://clipwright.example.org", DescriptionOf(probe));
    EXPECT_LT(probe["format"]["duration"].Number(), 59.0);
    for (const auto& entry : std::filesystem::directory_iterator(m_dir.path()))
        EXPECT_EQ(std::string::npos, entry.path().filename().string().find(".unfinished-"))
            << entry.path();
}

TEST_F(FrameTest, RunJobRefusedWhileAJobIsActiveAndRecentFileRefusedWhileProgressShows) {
    MakeFrame([](MainFrameServices& s) {
        s.finishWaitMs = 100;
        s.progressIntervalMs = 100;
    });
    m_recent->Add(QString::fromStdString(s_clip));
    LoadThroughBrowse(s_longClip);
    bool loadDisabled = false;
    AtFirstProgress(m_frame.get(), [&] {
        // The run command and the panel's (hidden) Convert button both reach
        // the job control while it is busy.
        m_frame->SendCommand(cmd::kRunJob);
        m_frame->JobPanel()->ConvertButton()->click();
        loadDisabled = !m_frame->Action(cmd::kLoadFile)->isEnabled();
        m_dialogs.answers.push_back(MsgAnswer::Ok);
        m_frame->OpenFileByPath(s_clip);
        m_dialogs.answers.push_back(MsgAnswer::Yes);
        QTest::mouseClick(m_frame->JobPanel()->StopButton(), Qt::LeftButton);
    });
    ConvertTo(m_dir.Path("once.wmv"));

    EXPECT_EQ(1, LogLines().count("Load Convertor Library Success."));
    EXPECT_TRUE(loadDisabled);
    EXPECT_EQ((std::vector<std::string>{"Please set Dest File Name!",
                                        "Please stop the current converting first",
                                        "Are you sure to stop the converting?"}),
              m_dialogs.Texts());
    EXPECT_EQ(QString::fromStdString(s_longClip), m_frame->JobPanel()->SourceLabelText());
    EXPECT_EQ(2, m_recent->Items().size());
}

TEST_F(FrameTest, MissingConverterLibraryLogsOneLineAndKeepsTheStopFace) {
    MakeFrame([](MainFrameServices& s) {
        s.primaryLibrary = "libtranzo-missing.so";
        s.fallbackLibrary = "libtranzo-missing-too.so";
    });
    LoadThroughBrowse(s_clip);
    ConvertTo(m_dir.Path("never.wmv"));
    const QStringList lines = LogLines();
    // welcome, the expected size, failure, end
    ASSERT_EQ(4, lines.size()) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Info: Expected dest file size ")))
        << lines[1].toStdString();
    EXPECT_EQ(QStringLiteral("Load Convertor Library failed! Error = 0X0000007E"), lines[2]);
    EXPECT_TRUE(m_frame->JobPanel()->ShowsStop());
    EXPECT_EQ(0, m_frame->JobPanel()->Progress());
    // The status bar shows the line without stamp and line end.
    EXPECT_EQ(lines[2], m_frame->StatusBar()->PaneText(0));
    // Stop now only logs and shows Convert again.
    m_dialogs.answers.push_back(MsgAnswer::Yes);
    QTest::mouseClick(m_frame->JobPanel()->StopButton(), Qt::LeftButton);
    EXPECT_FALSE(m_frame->JobPanel()->ShowsStop());
    EXPECT_EQ(QStringLiteral("User want stop converting"), LogLines().value(3));
}

TEST_F(FrameTest, FallbackToTheOlderConverterWithTheReducedRuntime) {
    // Needs LD_LIBRARY_PATH pointing at the reduced runtime; run by its own
    // CTest entry.
    if (!std::getenv("ZEV_TEST_REDUCED_RUNTIME")) GTEST_SKIP() << "run by zev_frame_fallback";
    MakeFrame([](MainFrameServices& s) {
        s.finishWaitMs = 100;
        s.progressIntervalMs = 100;
    });
    LoadThroughBrowse(s_clip);
    SetRange(0, 2);
    const std::string dest = m_dir.Path("v7.wmv");
    ConvertTo(dest);
    const QStringList lines = LogLines();
    const int fail = lines.indexOf("Load Convertor Library failed! Error = 0X0000007F");
    ASSERT_GE(fail, 0) << lines.join('\n').toStdString();
    EXPECT_EQ(
        (QStringList{"Please install 'Windows Media Player 9' or 'Windows Media Format 9 Series "
                     "Runtime'",
                     "Check home page at https://clipwright.example.org for download",
                     "Begin load WMP V7", "Load V7 Dll success!", "Load Convertor Library Success.",
                     "Prepare convert success"}),
        lines.mid(fail + 1, 6));
    EXPECT_TRUE(LogHas("Converting finished"));
    EXPECT_FALSE(Probe(dest).IsNull());
}

TEST_F(FrameTest, ConvertCheckMessagesAndLoops) {
    MakeFrame();
    // No source, open dialog cancelled: one message, no destination asked.
    m_dialogs.answers.push_back(MsgAnswer::Ok);
    m_dialogs.openPaths.push_back("");
    QTest::mouseClick(m_frame->JobPanel()->ConvertButton(), Qt::LeftButton);
    EXPECT_EQ(std::vector<std::string>{"Please load source file!"}, m_dialogs.Texts());
    EXPECT_EQ(1, m_dialogs.openDialogs);
    EXPECT_EQ(0, m_dialogs.saveDialogs);

    // A destination of three characters counts as unset.
    LoadThroughBrowse(s_clip);
    m_dialogs.savePaths.push_back("a.w");
    QTest::mouseClick(m_frame->JobPanel()->DestBrowseButton(), Qt::LeftButton);
    EXPECT_EQ(QStringLiteral("a.w"), m_frame->JobPanel()->DestLabelText());
    m_dialogs.boxes.clear();
    m_dialogs.answers = {MsgAnswer::Cancel};
    QTest::mouseClick(m_frame->JobPanel()->ConvertButton(), Qt::LeftButton);
    EXPECT_EQ(std::vector<std::string>{"Please set Dest File Name!"}, m_dialogs.Texts());

    // The source as destination: told, cleared, asked again; the source
    // chosen again in the dialog is refused once more.
    m_dialogs.savePaths.push_back(s_clip);
    QTest::mouseClick(m_frame->JobPanel()->DestBrowseButton(), Qt::LeftButton);
    m_dialogs.boxes.clear();
    m_dialogs.answers = {MsgAnswer::Ok, MsgAnswer::Ok, MsgAnswer::Ok, MsgAnswer::Cancel};
    m_dialogs.savePaths.push_back(s_clip);
    QTest::mouseClick(m_frame->JobPanel()->ConvertButton(), Qt::LeftButton);
    const std::string same = "Sorry! Source file, Dest file could not be same name.";
    EXPECT_EQ((std::vector<std::string>{same, "Please set Dest File Name!", same,
                                        "Please set Dest File Name!"}),
              m_dialogs.Texts());
    EXPECT_EQ(QStringLiteral("Please set Dest File Name"), m_frame->JobPanel()->DestLabelText());
    EXPECT_FALSE(m_frame->JobPanel()->ShowsStop());
}

TEST_F(FrameTest, ConvertCheckRefusesTheSourceUnderAnotherNameAFolderAndAnOverlongPath) {
    MakeFrame();
    LoadThroughBrowse(s_clip);
    // A hard link is the source under another name: converting would
    // overwrite the movie being read.
    const std::string link = m_dir.Path("link.wmv");
    ASSERT_EQ(0, ::link(s_clip.c_str(), link.c_str()));
    const std::string folder = m_dir.Path("folder.wmv");
    std::filesystem::create_directory(folder);
    const std::string overlong = m_dir.Path(std::string(1100, 'x') + ".wmv");

    m_dialogs.savePaths = {link, folder, overlong};
    m_dialogs.answers = {MsgAnswer::Ok, MsgAnswer::Ok,     MsgAnswer::Ok,    MsgAnswer::Ok,
                         MsgAnswer::Ok, MsgAnswer::Cancel, MsgAnswer::Cancel};
    m_dialogs.boxes.clear();
    QTest::mouseClick(m_frame->JobPanel()->ConvertButton(), Qt::LeftButton);
    ASSERT_EQ(7u, m_dialogs.Texts().size());
    EXPECT_EQ("Sorry! Source file, Dest file could not be same name.", m_dialogs.Texts()[1]);
    EXPECT_NE(std::string::npos, m_dialogs.Texts()[3].find("not a regular file"));
    EXPECT_NE(std::string::npos, m_dialogs.Texts()[5].find("longer than 1023 bytes"));
    EXPECT_FALSE(m_frame->JobPanel()->ShowsStop());
    EXPECT_EQ(QStringLiteral("Please set Dest File Name"), m_frame->JobPanel()->DestLabelText());
    // Nothing was written over or beside the source.
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(std::filesystem::file_size(s_clip), std::filesystem::file_size(link));

    // A long name from the browse button is kept whole, then refused at
    // Convert rather than shortened into another file's name.
    m_dialogs.savePaths = {overlong};
    QTest::mouseClick(m_frame->JobPanel()->DestBrowseButton(), Qt::LeftButton);
    EXPECT_EQ(QString::fromStdString(overlong), m_frame->JobPanel()->DestLabelText());
    m_dialogs.boxes.clear();
    m_dialogs.answers = {MsgAnswer::Ok, MsgAnswer::Cancel};
    QTest::mouseClick(m_frame->JobPanel()->ConvertButton(), Qt::LeftButton);
    ASSERT_EQ(2u, m_dialogs.Texts().size());
    EXPECT_NE(std::string::npos, m_dialogs.Texts()[0].find("longer than 1023 bytes"));
    EXPECT_FALSE(m_frame->JobPanel()->ShowsStop());
}

TEST_F(FrameTest, ConvertRefusesAVideoSizeTheEncoderWouldNotTakeAndKeepsTheDestination) {
    MakeFrame();
    LoadThroughBrowse(s_clip);
    CNumberEdit* width = nullptr;
    for (CNumberEdit* edit : m_frame->findChildren<CNumberEdit*>())
        if (edit->ControlId() == panel_id::kWidth) width = edit;
    ASSERT_NE(nullptr, width);
    width->selectAll();
    QTest::keyClicks(width, QStringLiteral("8"));
    const std::string dest = m_dir.Path("small.wmv");
    m_dialogs.boxes.clear();
    m_dialogs.answers = {MsgAnswer::Ok};  // with ConvertTo's: both boxes answered OK
    ConvertTo(dest);
    ASSERT_EQ(2u, m_dialogs.Texts().size());
    EXPECT_EQ(0u, m_dialogs.Texts()[1].find("Sorry! The video size 8x"));
    EXPECT_FALSE(m_frame->JobPanel()->ShowsStop());
    EXPECT_EQ(dest, m_frame->JobPanel()->GetDestPath());
    EXPECT_FALSE(std::filesystem::exists(dest));
    EXPECT_FALSE(LogHas(QStringLiteral("Load Convertor Library Success.")));
    m_dialogs.answers.push_back(MsgAnswer::No);  // closing asks about the typed width
}

TEST_F(FrameTest, TheSaveDialogProposesTheSourcesNameInTheFolderLastChosen) {
    MakeFrame();
    LoadThroughBrowse(s_clip);
    // Nothing chosen before: beside the source.
    const std::string folder = m_dir.Path("out");
    std::filesystem::create_directory(folder);
    m_dialogs.savePaths.push_back(folder + "/first.wmv");
    QTest::mouseClick(m_frame->JobPanel()->DestBrowseButton(), Qt::LeftButton);
    EXPECT_EQ(s_media->Path("clip.wmv"), m_dialogs.lastSaveProposal);
    // The folder is kept in the settings, and the name taken there twice is
    // numbered on, in the Convert check's dialog too.
    EXPECT_EQ(QString::fromStdString(folder),
              CRecentFileList(m_settings.get()).DestinationFolder());
    WriteFileBytes(folder + "/clip.wmv", "taken");
    WriteFileBytes(folder + "/clip (2).wmv", "taken");
    m_dialogs.savePaths.push_back("");
    QTest::mouseClick(m_frame->JobPanel()->DestBrowseButton(), Qt::LeftButton);
    EXPECT_EQ(folder + "/clip (3).wmv", m_dialogs.lastSaveProposal);
    m_dialogs.lastSaveProposal.clear();
    ConvertTo("");  // the dialog cancelled
    EXPECT_EQ(folder + "/clip (3).wmv", m_dialogs.lastSaveProposal);
    EXPECT_FALSE(m_frame->JobPanel()->ShowsStop());
}

TEST_F(FrameTest, TooLittleFreeSpaceAsksAndNoWritesNothing) {
    SmallDisk disk(m_dir.path(), "small", 64 * 1024);
    if (!disk.Mounted()) GTEST_SKIP() << disk.Why();
    MakeFrame();
    LoadThroughBrowse(s_clip);
    const std::string dest = disk.Path("out.wmv");
    m_dialogs.boxes.clear();
    m_dialogs.answers = {MsgAnswer::Ok, MsgAnswer::No};
    m_dialogs.savePaths.push_back(dest);
    QTest::mouseClick(m_frame->JobPanel()->ConvertButton(), Qt::LeftButton);
    ASSERT_EQ(2u, m_dialogs.Texts().size());
    EXPECT_EQ(MsgButtons::YesNo, m_dialogs.boxes[1].buttons);
    EXPECT_TRUE(QRegularExpression(
                    QStringLiteral("^The destination's disk has 65536 bytes \\(64\\.0 KiB\\) "
                                   "free, and the file is expected to take \\d+ bytes "
                                   "\\(.*\\)\\. Convert anyway\\?$"))
                    .match(QString::fromStdString(m_dialogs.Texts()[1]))
                    .hasMatch())
        << m_dialogs.Texts()[1];
    EXPECT_TRUE(LogLines()
                    .filter(QRegularExpression(
                        QStringLiteral("^Info: Expected dest file size \\d+ bytes, free space "
                                       "65536 bytes$")))
                    .size() == 1)
        << LogLines().join('\n').toStdString();
    // Back to the Convert face, the destination kept, and nothing written.
    EXPECT_FALSE(m_frame->JobPanel()->ShowsStop());
    EXPECT_EQ(dest, m_frame->JobPanel()->GetDestPath());
    EXPECT_TRUE(std::filesystem::is_empty(disk.Path(".")));
    EXPECT_FALSE(LogHas(QStringLiteral("Load Convertor Library Success.")));
}
