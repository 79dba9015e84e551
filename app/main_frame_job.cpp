// The window's side of a job: it gathers the source from the preview, the
// destination from the job panel, the range and the profile record, runs
// the job session on the UI thread with Qt's event loop pumped inside the
// engine's wait, and is the session's host: log lines, progress once a
// tick, refusals and questions as message boxes, the finished job's
// second at 100 %; and the desktop is told the progress and the end.
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QEventLoop>
#include <QMetaObject>
#include <cctype>

#include "app/desktop_signals.h"
#include "app/job_panel.h"
#include "app/log_view.h"
#include "app/main_frame.h"
#include "app/preview_pane.h"
#include "convert/common/program_names.h"
#include "job/progress_text.h"
#include "ui/qt_host_event_loop.h"
#include "platform/win/dialog_seam.h"
#include "ui/status_bar_xp.h"

namespace {

// Dialogs opened from inside one another, at most.
constexpr int kMaxNestedDialogs = 16;

// The notification's first line for a job that ran.
const char* EndSummary(JobOutcome outcome) {
    switch (outcome) {
        case JobOutcome::Completed:
            return "Converting complete";
        case JobOutcome::Stopped:
            return "Converting stopped";
        case JobOutcome::Aborted:
        case JobOutcome::Refused:
            break;
    }
    return "Converting failed";
}

}  // namespace

void CMainFrame::OnConvertRequested() {
    // Not re-entrant: a second job inside the running one would release the
    // working engine's interfaces.
    if (m_session.Phase() != JobPhase::Idle) return;
    std::string source;
    if (!GatherSource(source)) return;
    // The program may have been told to end while a question was open.
    if (!m_pJobPanel->ChooseDestination(source) || m_bEnding) return;
    m_pJobPanel->ShowStopFace();
    RunJob(source, m_pJobPanel->GetDestPath());
}

bool CMainFrame::GatherSource(std::string& source) {
    source = m_pPreview->GetSourcePath();
    if (!source.empty()) return true;
    m_services.dialogs->MessageBox("Please load source file!", kAppName, MsgButtons::Ok,
                                   MsgIcon::Warning);
    SendCommand(cmd::kLoadFile);
    source = m_pPreview->GetSourcePath();
    if (!source.empty()) return true;
    // A file that failed to load is not the job's source any more.
    if (m_pPreview->LastLoadResult() != 0) m_pJobPanel->ResetSourceText();
    return false;
}

void CMainFrame::RunJob(const std::string& source, const std::string& destination) {
    JobRequest request;
    request.source = source;
    request.destination = destination;
    request.beginSeconds = m_pPreview->GetBeginTime();
    request.endSeconds = m_pPreview->GetEndTime();
    request.profile = [this](ProfileRecord& record, std::string&) {
        record = m_pPreview->ConverterRecord();
        return true;
    };
    request.primaryLibrary = m_services.primaryLibrary;
    request.fallbackLibrary = m_services.fallbackLibrary;

    m_bJobFinished = false;
    m_progressTimer.start();
    m_jobClock.start();
    JobOutcome outcome;
    {
        CScopedQtHostEventLoop pump;
        outcome = m_session.Run(request);
    }
    m_progressTimer.stop();
    if (outcome != JobOutcome::Refused) TellDesktopJobEnded(outcome, destination);
    // Told to end during the job: the window goes now that it is over.
    if (m_bEnding) QMetaObject::invokeMethod(this, &CMainFrame::EndOnSignal, Qt::QueuedConnection);
    if (outcome == JobOutcome::Refused) {
        // The job never began: the destination stays for the next try.
        m_pJobPanel->ShowConvertFace();
        UpdateCommandUI();
        return;
    }
    // An early end (no converter library) runs no finishing step: the panel
    // keeps its Stop face.
    if (!m_bJobFinished) return;
    UpdateCommandUI();
    emit JobFinished();
}

void CMainFrame::TellDesktopJobEnded(JobOutcome outcome, const std::string& destination) {
    if (!m_services.desktop) return;
    if (m_nLauncherPercent >= 0) m_services.desktop->ClearJobProgress();
    m_nLauncherPercent = -1;
    // The user watching the window has seen the end already.
    if (isActiveWindow()) return;
    const std::string::size_type slash = destination.rfind('/');
    m_services.desktop->Notify(EndSummary(outcome), slash == std::string::npos
                                                        ? destination
                                                        : destination.substr(slash + 1));
}

void CMainFrame::LogLine(const std::string& line, JobLine kind) {
    // The session's notes on a stop go to the log alone.
    if (kind == JobLine::Note)
        m_pLogView->AppendLine(line);
    else
        ShowLogLine(line);
}

void CMainFrame::ShowProgress(int percent, int spinner) {
    m_pJobPanel->SetProgress(percent);
    m_pJobPanel->SetProgressText(
        QString::fromLatin1(ProgressBarText(percent, m_jobClock.elapsed())));
    m_pStatus->SetPaneText(
        0, QString::fromLatin1(StatusBarText(FormatProgressText(percent, spinner))));
    m_bProgressShown = true;
    if (m_services.desktop && percent != m_nLauncherPercent) {
        m_services.desktop->ShowJobProgress(percent);
        m_nLauncherPercent = percent;
    }
}

void CMainFrame::Tell(const JobRefusal& refusal) {
    m_services.dialogs->MessageBox(RefusalText(refusal.path, refusal.reason), kAppName,
                                   MsgButtons::Ok, MsgIcon::Warning);
}

bool CMainFrame::Ask(const JobQuestion& question) {
    std::string text = question.reason;
    if (!text.empty())
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return m_services.dialogs->MessageBox(text + ". Convert anyway?", kAppName, MsgButtons::YesNo,
                                          MsgIcon::Question) == MsgAnswer::Yes;
}

void CMainFrame::Finishing(JobOutcome) {
    m_bJobFinished = true;
    m_pJobPanel->SetProgress(100);
    m_pJobPanel->SetProgressText(QString());
    m_pJobPanel->ResetAfterJob();
    // The 100 % stays a second, unless the program is ending. User input
    // waits; paints and timers go on.
    if (m_services.finishWaitMs > 0 && !m_bEnding) {
        QEventLoop wait;
        QTimer::singleShot(m_services.finishWaitMs, &wait, &QEventLoop::quit);
        wait.exec(QEventLoop::ExcludeUserInputEvents);
    }
    m_pJobPanel->SetProgress(0);
}

void CMainFrame::OnTimer(int id) {
    m_bProgressShown = false;
    m_session.Tick();
    UpdateCommandUI();
    if (m_bProgressShown) emit ProgressShown(m_pStatus->PaneText(0));
    if (id == timer_id::kCloseRetry) {
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        m_closeRetryTimer.stop();
        m_bCloseRetry = false;
    }
}

void CMainFrame::EndOnSignal() {
    m_bEnding = true;
    // Whatever a dialog asked, nobody will answer it; each one's loop ends
    // and its caller goes on as after Cancel.
    for (int i = 0; i < kMaxNestedDialogs; ++i) {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) break;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    }
    if (m_session.Phase() == JobPhase::Converting) {
        // The session reads the request now and at every tick until the
        // engine can take it; RunJob comes back here once the job is over.
        PostMessageA(m_session.Handle(), WM_TIMER, CJobSession::kStopPollTick, 0);
        return;
    }
    // Checking or finishing: RunJob comes back here when the session is done.
    if (m_session.Phase() != JobPhase::Idle) return;
    close();
    if (m_services.endProgram)
        m_services.endProgram();
    else
        QCoreApplication::quit();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (m_session.Phase() != JobPhase::Idle) {
        // Stop without asking; close again about a second after the engine
        // has let go of its graph.
        m_session.StopForClose();
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
