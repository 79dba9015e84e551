#include "app/preview_pane_adapter.h"

#include "preview/preview_wnd.h"
#include "profiles/widgets/output_settings_panel.h"

CPreviewPaneAdapter::CPreviewPaneAdapter(IDialogSeam& dialogs, QWidget* parent,
                                         const std::string& profilePath)
    : QWidget(parent),
      m_pPreview(new CPreviewWnd(dialogs, this)),
      // Created after the preview, so it lies above it.
      m_pPanel(new COutputSettingsPanel(
          profilePath.empty() ? COutputSettingsPanel::DefaultProfilePath() : profilePath, dialogs,
          this)) {
    m_pPanel->setObjectName(QString::number(COutputSettingsPanel::kControlId));
}

QWidget* CPreviewPaneAdapter::Widget() {
    return this;
}

void CPreviewPaneAdapter::resizeEvent(QResizeEvent*) {
    const int cx = width();
    const int cy = height();
    m_pPreview->setGeometry(0, 0, cx, cy);
    m_pPanel->setGeometry(static_cast<int>(0.6 * cx), 0, cx / 3, cy);
}

void CPreviewPaneAdapter::LoadFile() {
    m_pPreview->LoadFile();
}

void CPreviewPaneAdapter::OpenFile(const std::string& path) {
    m_pPreview->OpenFile(path);
}

void CPreviewPaneAdapter::CloseFile() {
    m_pPreview->CloseFile();
}

std::string CPreviewPaneAdapter::GetSourcePath() const {
    return m_pPreview->GetSourcePath();
}

long CPreviewPaneAdapter::LastLoadResult() const {
    return ::LastLoadResult();
}

unsigned CPreviewPaneAdapter::GetBeginTime() const {
    return m_pPreview->GetBeginTime();
}

unsigned CPreviewPaneAdapter::GetEndTime() const {
    return m_pPreview->GetEndTime();
}

void CPreviewPaneAdapter::SetClosing() {
    SetPreviewClosing(true);
    // The profile question comes while the window is still there.
    m_pPanel->RewriteOnExit();
}

void CPreviewPaneAdapter::PlayOrPause() {
    m_pPreview->PlayOrPause();
}

void CPreviewPaneAdapter::MarkBegin() {
    m_pPreview->MarkBegin();
}

void CPreviewPaneAdapter::MarkEnd() {
    m_pPreview->MarkEnd();
}

void CPreviewPaneAdapter::SeekBy(int seconds) {
    m_pPreview->SeekBy(seconds);
}

void CPreviewPaneAdapter::SeekToBegin() {
    m_pPreview->SeekToBegin();
}

void CPreviewPaneAdapter::SeekToEnd() {
    m_pPreview->SeekToEnd();
}

ProfileRecord CPreviewPaneAdapter::ConverterRecord() {
    return m_pPanel->BuildConverterRecord();
}

void CPreviewPaneAdapter::AddProfile() {
    m_pPanel->Add();
}

void CPreviewPaneAdapter::SaveProfile() {
    m_pPanel->Save();
}

void CPreviewPaneAdapter::DeleteProfile() {
    m_pPanel->Delete();
}
