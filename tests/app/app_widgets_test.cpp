// The program's own windows: the upper pane, the log view, help, About,
// start-up with a file and the single running copy.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLocalSocket>
#include <QProcess>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <signal.h>

#include "app/help_window.h"
#include "app/log_view.h"
#include "app/main_frame.h"
#include "app/preview_pane_adapter.h"
#include "app/recent_file_list.h"
#include "app/single_instance.h"
#include "app/zev_app.h"
#include "media_tools.h"
#include "platform/help/chm_reader.h"
#include "preview/preview_wnd.h"
#include "profiles/widgets/output_settings_panel.h"
#include "scripted_dialogs.h"

namespace {

IPreviewPane* MakePreview(ScriptedDialogs& dialogs, QWidget* parent) {
    return new CPreviewPaneAdapter(dialogs, parent);
}

bool MakeShortClip(const std::string& path) {
    ClipSpec spec;
    spec.seconds = 2;
    return MakeClip(path, spec);
}

// A zev of its own, headless, with its settings (and so its single-instance
// key) under `dir`.
QProcessEnvironment ZevEnvironment(const TempDir& dir) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(dir.Path("config")));
    return env;
}

QString ZevSettings(const TempDir& dir) {
    return QString::fromStdString(dir.Path("config/korvane/reelsmith.conf"));
}

// The program is up when it answers on its socket.
bool AnswersOnItsSocket(const TempDir& dir) {
    CSingleInstance probe(ZevSettings(dir));
    for (int i = 0; i < 100; ++i) {
        QLocalSocket s;
        s.connectToServer(probe.ServerName());
        if (s.waitForConnected(100)) return true;
        QTest::qWait(100);
    }
    return false;
}

}  // namespace

TEST(UpperPane, ThePanelLiesOverThePreviewFrom60PercentAThirdWideFullHeight) {
    TempDir dir;
    const std::string profiles = dir.Path("profile.cfg");
    WriteFileBytes(profiles, ReadFileBytes(DEFAULT_PROFILES));
    ScriptedDialogs dialogs;
    QWidget host;
    auto* pane = new CPreviewPaneAdapter(dialogs, &host, profiles);
    pane->setGeometry(0, 0, 1001, 601);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    EXPECT_EQ(pane->Preview()->geometry(), QRect(0, 0, 1001, 601));
    ASSERT_NE(pane->Panel(), nullptr);
    EXPECT_EQ(pane->Panel()->geometry(), QRect(600, 0, 333, 601));
    EXPECT_TRUE(pane->Panel()->isVisible());
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST(RecentFileList, FiveSurviveARestartInOrderAndASixthPushesOutTheOldest) {
    TempDir dir;
    const QString file = QString::fromStdString(dir.Path("settings.ini"));
    auto clip = [](int i) { return QStringLiteral("/media/clip%1.mp4").arg(i); };
    {
        QSettings settings(file, QSettings::IniFormat);
        CRecentFileList list(&settings);
        for (int i = 1; i <= 5; ++i) list.Add(clip(i));
    }
    {
        // A restart: the list as the next run reads it, newest first.
        QSettings settings(file, QSettings::IniFormat);
        CRecentFileList list(&settings);
        EXPECT_EQ(list.Items(), QStringList({clip(5), clip(4), clip(3), clip(2), clip(1)}));
        list.Add(clip(6));
        EXPECT_EQ(list.Items(), QStringList({clip(6), clip(5), clip(4), clip(3), clip(2)}));
    }
    QSettings settings(file, QSettings::IniFormat);
    CRecentFileList list(&settings);
    EXPECT_EQ(list.Items(), QStringList({clip(6), clip(5), clip(4), clip(3), clip(2)}));
}

TEST(LogView, BlueOnWhiteReadOnlyUnwrappedWithStampedTransientLines) {
    CLogView view;
    EXPECT_TRUE(view.isReadOnly());
    EXPECT_EQ(QPlainTextEdit::NoWrap, view.lineWrapMode());
    EXPECT_EQ(QColor(0, 0, 255), view.palette().color(QPalette::Text));
    EXPECT_EQ(QColor(Qt::white), view.palette().color(QPalette::Base));
    view.AppendLine("Prepare convert success\r\n");
    view.AppendLine("12%\r");
    view.AppendLine("13%\r");
    const QStringList lines = view.toPlainText().split('\n');
    ASSERT_EQ(2, lines.size());
    EXPECT_EQ(QStringLiteral("13%"), lines[1].mid(12));
    EXPECT_TRUE(lines[1].contains(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d    ")));
}

TEST(LogView, FullViewKeepsTheNewestLinesAndItsTextMatchesItsState) {
    CLogView view(nullptr, 300);
    for (int i = 0; i < 100; ++i) view.AppendLine("line " + std::to_string(i) + "\r\n");
    view.AppendLine("50%\r");
    view.AppendLine("60%\r");
    const QString text = view.toPlainText();
    EXPECT_EQ(QString::fromStdU16String(view.AppendState().Text()), text);
    EXPECT_LE(text.size(), 300);
    EXPECT_TRUE(text.endsWith("    60%"));
    EXPECT_TRUE(text.contains("    line 99\n"));
    EXPECT_FALSE(text.contains("    50%"));
    // The first line is whole: it begins with a stamp.
    EXPECT_TRUE(text.contains(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d    line \\d+\\n")));
}

TEST(Help, CompiledHelpHoldsTheIntroductionAndMissingFilesGiveNothing) {
    ASSERT_TRUE(ChmLibraryAvailable());
    auto reader = CChmReader::Open(ZEV_HELP_CHM);
    ASSERT_TRUE(reader);
    std::string page;
    ASSERT_TRUE(reader->Read("/intro.htm", page));
    EXPECT_NE(std::string::npos, page.find("Clipwright converts a part of a movie"));
    for (const char* topic :
         {"/loading.htm", "/range.htm", "/profiles.htm", "/converting.htm", "/commandline.htm"})
        EXPECT_TRUE(reader->Contains(topic)) << topic;
    EXPECT_FALSE(reader->Contains("/nothing.htm"));
    EXPECT_FALSE(CChmReader::Open("/nonexistent/zevhelp.chm"));

    CHelpWindow window;
    EXPECT_FALSE(window.ShowTopic("/nonexistent/zevhelp.chm::/intro.htm"));
    EXPECT_TRUE(window.toPlainText().isEmpty());
    std::string file, topic;
    SplitHelpPath("/a/zevhelp.chm::intro.htm", file, topic);
    EXPECT_EQ("/a/zevhelp.chm", file);
    EXPECT_EQ("/intro.htm", topic);
}

class ZevAppTest : public ::testing::Test {
protected:
    ScriptedDialogs m_dialogs;
};

TEST_F(ZevAppTest, F1ShowsHelpAboutShowsItsTextsAndAFileArgumentIsOpened) {
    TempDir dir;
    const std::string clip = dir.Path("arg.mp4");
    ASSERT_TRUE(MakeShortClip(clip));
    CZevApp app(m_dialogs, [this](QWidget* p) { return MakePreview(m_dialogs, p); });
    ASSERT_TRUE(app.InitInstance({"zev", QString::fromStdString(clip)}));
    CMainFrame* frame = app.Frame();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
    EXPECT_EQ(QString::fromStdString(clip), app.RecentFiles()->Items().value(0));
    EXPECT_EQ(clip, frame->Preview()->GetSourcePath());

    // The help file sits beside the test programs, as beside zev.
    QTest::keyClick(frame, Qt::Key_F1);
    ASSERT_TRUE(app.HelpWindow());
    EXPECT_TRUE(app.HelpWindow()->isVisible());
    EXPECT_TRUE(app.HelpWindow()->toPlainText().contains("Clipwright converts a part of a movie"));

    QStringList aboutTexts;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box) return;
        for (QLabel* label : box->findChildren<QLabel*>()) aboutTexts << label->text();
        aboutTexts << box->windowTitle();
        static_cast<QDialog*>(box)->accept();
    });
    frame->Action(cmd::kAbout)->trigger();
    EXPECT_TRUE(aboutTexts.contains("About ZEV"));
    EXPECT_TRUE(aboutTexts.contains("ZEV (Clipwright) Version 1.01"));
    EXPECT_TRUE(aboutTexts.contains("Email Address:   support@clipwright.example.org"));
    EXPECT_TRUE(aboutTexts.filter("href=\"https://clipwright.example.org\"").size() == 1);
    app.ExitInstance();
}

// --help needs no display and starts no window.
TEST(ZevProgram, HelpNamesTheTraceSwitches) {
    std::string out;
    EXPECT_EQ(0, RunCommand("env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb " +
                                ShellQuote(ZEV_PATH) + " --help",
                            &out));
    EXPECT_NE(out.find("--trace"), std::string::npos) << out;
    EXPECT_NE(out.find("ZEV_TRACE"), std::string::npos) << out;
}

TEST(SingleInstance, SecondStartHandsItsFileToTheRunningProgramAndExits) {
    TempDir dir;
    const std::string clip = dir.Path("second.mp4");
    ASSERT_TRUE(MakeShortClip(clip));
    const QProcessEnvironment env = ZevEnvironment(dir);
    const QString settings = ZevSettings(dir);

    QProcess first;
    first.setProcessEnvironment(env);
    first.start(ZEV_PATH, {});
    ASSERT_TRUE(first.waitForStarted());
    ASSERT_TRUE(AnswersOnItsSocket(dir)) << first.readAllStandardError().toStdString();

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(ZEV_PATH, {QString::fromStdString(clip)});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(0, second.exitCode());
    EXPECT_EQ(QProcess::Running, first.state());
    // The running one opened the file: it is now its first recent file.
    QString recent;
    for (int i = 0; i < 100 && recent.isEmpty(); ++i) {
        QTest::qWait(100);
        recent =
            QSettings(settings, QSettings::IniFormat).value("Recent File List/File1").toString();
    }
    EXPECT_EQ(QString::fromStdString(clip), recent);
    first.terminate();
    if (!first.waitForFinished(3000)) first.kill();
}

// A logout's SIGTERM or SIGHUP ends an idle window at once, as closing it
// does, and the program reports success.
TEST(ZevProgram, TerminationSignalsEndAnIdleWindowAtOnce) {
    TempDir dir;
    const std::string clip = dir.Path("idle.mp4");
    ASSERT_TRUE(MakeShortClip(clip));
    for (const int signal : {SIGTERM, SIGHUP}) {
        QProcess zev;
        zev.setProcessEnvironment(ZevEnvironment(dir));
        zev.start(ZEV_PATH, {QString::fromStdString(clip)});
        ASSERT_TRUE(zev.waitForStarted());
        ASSERT_TRUE(AnswersOnItsSocket(dir)) << zev.readAllStandardError().toStdString();
        ASSERT_EQ(0, kill(static_cast<pid_t>(zev.processId()), signal));
        ASSERT_TRUE(zev.waitForFinished(10000)) << "signal " << signal;
        EXPECT_EQ(QProcess::NormalExit, zev.exitStatus()) << "signal " << signal;
        EXPECT_EQ(0, zev.exitCode()) << "signal " << signal;
    }
}
