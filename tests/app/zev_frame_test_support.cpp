#include "zev_frame_test_support.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include "app/job_panel.h"
#include "app/log_view.h"
#include "app/preview_pane_adapter.h"
#include "app/recent_file_list.h"
#include "preview/preview_wnd.h"
#include "ui/hover_button.h"

void FrameTest::SetUpTestSuite() {
    s_media = std::make_unique<TempDir>();
    s_clip = s_media->Path("clip.mp4");
    s_longClip = s_media->Path("long.mp4");
    ClipSpec shortSpec;
    shortSpec.seconds = 4;
    ClipSpec longSpec;
    longSpec.seconds = 60;
    ASSERT_TRUE(MakeClip(s_clip, shortSpec));
    ASSERT_TRUE(MakeClip(s_longClip, longSpec));
}

void FrameTest::TearDownTestSuite() {
    s_media.reset();
}

void FrameTest::SetUp() {
    m_settings = std::make_unique<QSettings>(QString::fromStdString(m_dir.Path("settings.ini")),
                                             QSettings::IniFormat);
    m_recent = std::make_unique<CRecentFileList>(m_settings.get());
}

void FrameTest::TearDown() {
    m_frame.reset();
}

void FrameTest::MakeFrame(const std::function<void(MainFrameServices&)>& adjust) {
    MainFrameServices services;
    services.dialogs = &m_dialogs;
    services.recentFiles = m_recent.get();
    services.makePreview = [this](QWidget* parent) -> IPreviewPane* {
        m_preview = new CPreviewPaneAdapter(m_dialogs, parent);
        return m_preview;
    };
    if (adjust) adjust(services);
    m_frame = std::make_unique<CMainFrame>(services);
    m_frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_frame.get()));
}

void FrameTest::LoadThroughBrowse(const std::string& clip) {
    m_dialogs.openPaths.push_back(clip);
    QTest::mouseClick(m_frame->JobPanel()->SourceBrowseButton(), Qt::LeftButton);
    // The range arrives when the preview's graph reports it is ready, as a
    // user sees the end time appear before pressing Convert.
    for (int waited = 0; m_frame->Preview()->GetEndTime() == 0 && waited < 10000; waited += 20)
        QTest::qWait(20);
    ASSERT_GT(m_frame->Preview()->GetEndTime(), 0u) << "the preview did not load " << clip;
}

void FrameTest::SetRange(int begin, int end) {
    CRangeModel& range = m_preview->Preview()->Range();
    range.SetEnd(static_cast<unsigned>(end));
    range.SetBegin(static_cast<unsigned>(begin));
}

void FrameTest::ConvertTo(const std::string& dest) {
    m_dialogs.answers.push_back(MsgAnswer::Ok);  // "Please set Dest File Name!"
    m_dialogs.savePaths.push_back(dest);
    QTest::mouseClick(m_frame->JobPanel()->ConvertButton(), Qt::LeftButton);
}

QStringList FrameTest::LogLines() const {
    QStringList lines = m_frame->LogView()->toPlainText().split(QLatin1Char('\n'));
    // Drop the "HH:MM:SS    " stamp.
    for (QString& line : lines) line = line.mid(12);
    return lines;
}

bool FrameTest::LogHas(const QString& line) const {
    return LogLines().contains(line);
}
