#include "app/placeholder_preview.h"

#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>
#include <cmath>
#include <cstring>

#include "platform/win/dialog_seam.h"
#include "profiles/audio_format_catalog.h"
#include "profiles/profile_lookup.h"
#include "app/job/source_probe.h"

namespace {
constexpr long kLoadFailed = -1;
constexpr char kProfileName[] = "Small screen";
}  // namespace

CPlaceholderPreview::CPlaceholderPreview(IDialogSeam& dialogs, std::string profilesFile,
                                         QWidget* parent)
    : QWidget(parent), m_dialogs(dialogs), m_profilesFile(std::move(profilesFile)) {
    setAutoFillBackground(true);
    auto* form = new QFormLayout(this);
    m_pName = new QLabel(QStringLiteral("No file loaded"), this);
    m_pBegin = new QSpinBox(this);
    m_pEnd = new QSpinBox(this);
    for (QSpinBox* field : {m_pBegin, m_pEnd}) field->setRange(0, 0);
    form->addRow(QStringLiteral("Source:"), m_pName);
    form->addRow(QStringLiteral("Begin (s):"), m_pBegin);
    form->addRow(QStringLiteral("End (s):"), m_pEnd);
}

void CPlaceholderPreview::LoadFile() {
    std::string path;
    if (!m_dialogs.OpenFileName("Open", "All Files (*.*)|*.*||", path)) return;
    OpenFile(path);
}

void CPlaceholderPreview::OpenFile(const std::string& path) {
    double seconds = 0;
    std::string error;
    if (!ProbeDurationSeconds(path, seconds, error)) {
        m_nLoadResult = kLoadFailed;
        m_dialogs.MessageBox(error, "Clipwright", MsgButtons::Ok, MsgIcon::Error);
        return;
    }
    m_nLoadResult = 0;
    m_source = path;
    m_pName->setText(QString::fromStdString(path));
    const int whole = static_cast<int>(std::floor(seconds));
    for (QSpinBox* field : {m_pBegin, m_pEnd}) field->setRange(0, whole);
    m_pBegin->setValue(0);
    m_pEnd->setValue(whole);
}

void CPlaceholderPreview::CloseFile() {
    m_source.clear();
    m_pName->setText(QStringLiteral("No file loaded"));
    for (QSpinBox* field : {m_pBegin, m_pEnd}) field->setRange(0, 0);
}

unsigned CPlaceholderPreview::GetBeginTime() const {
    return static_cast<unsigned>(m_pBegin->value());
}

unsigned CPlaceholderPreview::GetEndTime() const {
    return static_cast<unsigned>(m_pEnd->value());
}

ProfileRecord CPlaceholderPreview::ConverterRecord() {
    ProfileRecord stored;
    std::memset(&stored, 0, sizeof stored);
    std::string error;
    if (!FindProfileInFile(m_profilesFile, kProfileName, stored, error)) {
        stored.width = 320;
        stored.height = 240;
        stored.videoBitrate = 128;
        stored.framesPerSecond = 15;
    }
    CAudioFormatCatalog catalog;
    catalog.Enumerate();
    return ConverterRecordFromProfile(stored, catalog);
}
