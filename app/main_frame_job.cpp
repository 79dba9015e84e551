// The job control: binds the converter library, runs Convert on the UI
// thread with Qt's event loop pumped inside the engine's wait, shows the
// progress once a second, stops the engine and finishes the job.
#include <QCloseEvent>
#include <QEventLoop>
#include <QMetaObject>
#include <cstring>

#include "app/job/job_settings.h"
#include "app/job_panel.h"
#include "app/log_view.h"
#include "app/main_frame.h"
#include "app/preview_pane.h"
#include "app/progress_text.h"
#include "ui/qt_host_event_loop.h"
#include "platform/win/dialog_seam.h"
#include "ui/status_bar_xp.h"

int CMainFrame::Progress() const {
    return m_job.ReadProgress();
}

void CMainFrame::RunJob() {
    // Not re-entrant: a second run inside Convert would release the working
    // engine's interfaces.
    if (m_bJobActive || m_job.Converting()) return;
    m_bJobActive = true;
    m_job.ReleaseLeftoverSlots();

    // A hand-edited profile.cfg can hold settings the encoder refuses; the
    // job would then make a file of other settings without a word.
    const ProfileRecord profile = m_pPreview->ConverterRecord();
    if (const std::string problem = VideoSettingsProblem(profile); !problem.empty()) {
        m_services.dialogs->MessageBox(ApologyFor(problem), "reelsmith", MsgButtons::Ok,
                                       MsgIcon::Warning);
        m_pJobPanel->ShowConvertFace();
        m_bJobActive = false;
        UpdateCommandUI();
        return;
    }

    JobRequest request;
    request.source = m_pJobPanel->GetSourceText();
    request.destination = m_pJobPanel->GetDestPath();

    if (!BindConverter(*this, m_converter, m_services.primaryLibrary.c_str(),
                       m_services.fallbackLibrary.c_str())) {
        // An early end runs no finishing step: the panel keeps its Stop face.
        m_bJobActive = false;
        return;
    }
    request.profile = WidenProfile(profile);
    request.beginSeconds = m_pPreview->GetBeginTime();
    request.endSeconds = m_pPreview->GetEndTime();

    m_progressTimer.start();
    m_jobClock.start();
    {
        CScopedQtHostEventLoop pump;
        m_job.RunConvert(m_converter.convert, m_hWnd, request);
    }

    m_pJobPanel->SetProgress(100);
    m_pJobPanel->SetProgressText(QString());
    m_pJobPanel->ResetAfterJob();
    // The 100 % stays a second. User input waits; paints and timers go on.
    if (m_services.finishWaitMs > 0) {
        QEventLoop wait;
        QTimer::singleShot(m_services.finishWaitMs, &wait, &QEventLoop::quit);
        wait.exec(QEventLoop::ExcludeUserInputEvents);
    }
    m_job.ResetProgress();
    m_pJobPanel->SetProgress(0);
    m_progressTimer.stop();
    UnbindConverter(m_converter);
    m_bJobActive = false;
    UpdateCommandUI();
    emit JobFinished();
}

void CMainFrame::OnStopJob() {
    m_pLogView->AppendLine("User want stop converting\r\n");
    StopEngine();
}

void CMainFrame::OnEndTimeStop() {
    StopEngine();
    m_pLogView->AppendLine("Reach end time, stop converting\r\n");
}

void CMainFrame::StopEngine() {
    m_job.StopEngine([this] {
        m_pLogView->AppendLine("Stopping\r\n");
        m_progressTimer.stop();
    });
}

void CMainFrame::OnTimer(int id) {
    const bool shown = m_job.ProgressKnown();
    if (shown) ShowProgress();
    UpdateCommandUI();
    if (shown) emit ProgressShown(m_pStatus->PaneText(0));
    if (id == timer_id::kCloseRetry) {
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        m_closeRetryTimer.stop();
        m_bCloseRetry = false;
    }
}

void CMainFrame::ShowProgress() {
    const int progress = Progress();
    m_pJobPanel->SetProgress(progress);
    m_pJobPanel->SetProgressText(
        QString::fromLatin1(ProgressBarText(progress, m_jobClock.elapsed())));
    const std::string text = FormatProgressText(progress, m_nSpinner);
    m_nSpinner = NextSpinner(m_nSpinner);
    const QString shown = QString::fromLatin1(StatusBarText(text));
    m_pStatus->SetPaneText(0, shown);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (m_job.GraphRunning() || m_bJobActive) {
        // Stop without asking; close again about a second after the engine
        // has let go of its graph.
        if (m_job.GraphRunning()) SendCommand(cmd::kStopJob);
        if (!m_bCloseRetry) {
            m_closeRetryTimer.start();
            m_bCloseRetry = true;
        }
        event->ignore();
        return;
    }
    m_pPreview->CloseFile();
    m_pPreview->SetClosing();
    event->accept();
}
