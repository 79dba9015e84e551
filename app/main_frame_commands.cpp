// The frame's command table, its enabling rule, opening files and the log
// path from the log buffer to the log view and the status bar.
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMetaObject>
#include <QMimeData>
#include <QThread>
#include <QUrl>
#include <cstdio>

#include "app/job_panel.h"
#include "app/log_view.h"
#include "app/main_frame.h"
#include "app/preview_pane.h"
#include "job/progress_text.h"
#include "app/recent_file_list.h"
#include "convert/common/program_names.h"
#include "platform/win/dialog_seam.h"
#include "ui/status_bar_xp.h"

bool CMainFrame::IsCommandEnabled(unsigned id) const {
    switch (id) {
        case cmd::kLoadFile:
        case cmd::kCloseFile:
        case cmd::kConvert:
            return Progress() == 0;
        default:
            return true;
    }
}

void CMainFrame::SendCommand(unsigned id) {
    if (!IsCommandEnabled(id)) return;
    switch (id) {
        case cmd::kLoadFile:
            OnLoadFile();
            break;
        case cmd::kCloseFile:
            OnCloseFile();
            break;
        case cmd::kConvert:
            m_pJobPanel->StartConvert();
            break;
        case cmd::kExit:
            close();
            break;
        case cmd::kAddProfile:
            m_pPreview->AddProfile();
            break;
        case cmd::kSaveProfile:
            m_pPreview->SaveProfile();
            break;
        case cmd::kDeleteProfile:
            m_pPreview->DeleteProfile();
            break;
        case cmd::kHelp:
            if (m_services.showHelp) m_services.showHelp();
            break;
        case cmd::kAbout:
            if (m_services.showAbout) m_services.showAbout();
            break;
        case cmd::kRunJob:
            RunJob();
            break;
        case cmd::kStopJob:
            OnStopJob();
            break;
        case cmd::kFlushLog:
            FlushLog();
            break;
        case cmd::kEndTimeStop:
            OnEndTimeStop();
            break;
        default:
            break;
    }
}

void CMainFrame::OnLoadFile() {
    m_pPreview->LoadFile();
    AcceptSource();
}

void CMainFrame::OnCloseFile() {
    m_pPreview->CloseFile();
    m_pJobPanel->ResetSourceText();
}

void CMainFrame::AcceptSource() {
    const std::string path = m_pPreview->GetSourcePath();
    if (path.empty()) return;
    m_pJobPanel->SetSourceText(path);
    if (m_services.recentFiles) m_services.recentFiles->Add(QString::fromStdString(path));
}

void CMainFrame::OpenFileByPath(const std::string& path) {
    if (Progress() != 0) {
        m_services.dialogs->MessageBox("Please stop the current converting first", kAppName,
                                       MsgButtons::Ok, MsgIcon::Warning);
        return;
    }
    m_pPreview->OpenFile(path);
    AcceptSource();
}

void CMainFrame::LogJobLine(const std::string& line) {
    std::snprintf(m_job.m_szLog, sizeof m_job.m_szLog, "%s", line.c_str());
    ShowLogLine(m_job.m_szLog);
}

void CMainFrame::FlushLog() {
    ShowLogLine(m_job.TakeEngineLine());
}

void CMainFrame::ShowLogLine(const std::string& text) {
    m_pLogView->AppendLine(text);
    m_pStatus->SetPaneText(0, QString::fromLocal8Bit(StatusBarText(text)));
}

LRESULT CMainFrame::OnHostMessage(UINT msg, WPARAM wParam) {
    if (msg != WM_COMMAND) return 0;
    const unsigned id = LOWORD(wParam);
    if (QThread::currentThread() == thread()) {
        SendCommand(id);
        return 0;
    }
    // An engine thread of its own: the text is taken now, before the next
    // line overwrites the buffer, and shown on the UI thread.
    if (id == cmd::kFlushLog) {
        const std::string text(m_job.m_szLog, strnlen(m_job.m_szLog, sizeof m_job.m_szLog));
        QMetaObject::invokeMethod(
            this, [this, text] { ShowLogLine(text); }, Qt::QueuedConnection);
    } else {
        QMetaObject::invokeMethod(
            this, [this, id] { SendCommand(id); }, Qt::QueuedConnection);
    }
    return 0;
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() && event->mimeData()->urls().first().isLocalFile())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile()) return;
    event->acceptProposedAction();
    const std::string path = urls.first().toLocalFile().toStdString();
    // Not inside the drop: the load may open message boxes.
    QMetaObject::invokeMethod(
        this, [this, path] { OpenFileByPath(path); }, Qt::QueuedConnection);
}
