// The frame's command table, its enabling rule, opening files and the log
// path to the log view and the status bar.
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMetaObject>
#include <QMimeData>
#include <QUrl>

#include "app/job_panel.h"
#include "app/log_view.h"
#include "app/main_frame.h"
#include "app/preview_pane.h"
#include "job/progress_text.h"
#include "app/recent_file_list.h"
#include "convert/common/program_names.h"
#include "platform/win/dialog_seam.h"
#include "ui/status_bar_xp.h"

bool CMainFrame::FileCommandsEnabled() const {
    // Before the engine's first report a running job leaves the preview's
    // file to the user; Convert is refused then by the session's phase.
    return !m_session.HoldsSource();
}

bool CMainFrame::IsCommandEnabled(unsigned id) const {
    switch (id) {
        case cmd::kLoadFile:
        case cmd::kCloseFile:
        case cmd::kConvert:
            return FileCommandsEnabled();
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
        case cmd::kRunJob:
            OnConvertRequested();
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
        case cmd::kNextPane:
            MovePaneFocus(true);
            break;
        case cmd::kPrevPane:
            MovePaneFocus(false);
            break;
        case cmd::kStopJob:
            m_session.Stop();
            break;
        case cmd::kEndTimeStop:
            m_session.EndTimeStop();
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
    if (!FileCommandsEnabled()) {
        m_services.dialogs->MessageBox("Please stop the current converting first", kAppName,
                                       MsgButtons::Ok, MsgIcon::Warning);
        return;
    }
    m_pPreview->OpenFile(path);
    AcceptSource();
}

void CMainFrame::ShowLogLine(const std::string& text) {
    m_pLogView->AppendLine(text);
    m_pStatus->SetPaneText(0, QString::fromLocal8Bit(StatusBarText(text)));
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
