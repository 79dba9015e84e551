#include "app/preview_pane_adapter.h"

#include <QCoreApplication>
#include <cstring>

#include "preview/preview_wnd.h"
#include "profiles/audio_format_catalog.h"
#include "profiles/profile_location.h"
#include "profiles/profile_lookup.h"

namespace {
// Until the output settings panel is hosted: the stored profile of this name.
constexpr char kProfileName[] = "Small screen";
}  // namespace

CPreviewPaneAdapter::CPreviewPaneAdapter(IDialogSeam& dialogs, QWidget* parent)
    : QObject(nullptr), m_pPreview(new CPreviewWnd(dialogs, parent)) {
    setParent(m_pPreview);
}

QWidget* CPreviewPaneAdapter::Widget() {
    return m_pPreview;
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
}

HWND CPreviewPaneAdapter::PreviewHandle() const {
    return m_pPreview->Handle();
}

ProfileRecord CPreviewPaneAdapter::ConverterRecord() {
    ProfileRecord stored;
    std::memset(&stored, 0, sizeof stored);
    std::string error;
    const std::string path =
        ResolveProfilePath(QCoreApplication::applicationDirPath().toStdString());
    if (!FindProfileInFile(path, kProfileName, stored, error)) {
        stored.width = 320;
        stored.height = 240;
        stored.videoBitrate = 128;
        stored.framesPerSecond = 15;
    }
    CAudioFormatCatalog catalog;
    catalog.Enumerate();
    return ConverterRecordFromProfile(stored, catalog);
}

void CPreviewPaneAdapter::AddProfile() {}
void CPreviewPaneAdapter::SaveProfile() {}
void CPreviewPaneAdapter::DeleteProfile() {}
