// Construction, the Profile commands and the settings the controls show. The lists' contents and
// reactions are in output_settings_panel_lists.cpp, painting and placing in
// output_settings_panel_paint.cpp.
#include "profiles/widgets/output_settings_panel.h"

#include <QApplication>
#include <cstring>
#include <iterator>

#include "profiles/converter_record.h"
#include "profiles/profile_location.h"
#include "profiles/widgets/add_profile_dlg.h"
#include "ui/bitmaps.h"
#include "ui/child_tab_event.h"
#include "ui/drop_combo.h"
#include "ui/focus_chain.h"
#include "ui/hover_button.h"
#include "ui/number_edit.h"

namespace {

constexpr int kMaxSizeChars = 4;
constexpr int kMaxVideoBitrateChars = 7;

CHoverButton* MakeButton(QWidget* parent, int id, const char* caption, const char* tip, int normal,
                         int pressed, int hover) {
    auto* button = new CHoverButton(parent);
    button->setObjectName(QString::number(id));
    button->setText(QString::fromLatin1(caption));
    button->SetTipText(tip, static_cast<int>(std::strlen(tip)));
    button->LoadBitmaps(normal, pressed, hover, 0);
    return button;
}

}  // namespace

COutputSettingsPanel::COutputSettingsPanel(std::string profilePath, IDialogSeam& dialogs,
                                           QWidget* parent, const CatalogFiller& fillCatalog)
    : QWidget(parent), m_dialogs(dialogs), m_store(std::move(profilePath), dialogs) {
    setAutoFillBackground(false);
    CreateControls();
    if (fillCatalog)
        fillCatalog(m_catalog);
    else
        m_catalog.Enumerate();
    LoadProfiles();
    m_pWidthEdit->setMaxLength(kMaxSizeChars);
    m_pHeightEdit->setMaxLength(kMaxSizeChars);
    m_pVideoBitrateEdit->setMaxLength(kMaxVideoBitrateChars);
}

COutputSettingsPanel::~COutputSettingsPanel() {
    RewriteOnExit();
}

std::string COutputSettingsPanel::DefaultProfilePath() {
    return ResolveProfilePath(QCoreApplication::applicationDirPath().toLocal8Bit().toStdString());
}

void COutputSettingsPanel::CreateControls() {
    using Mode = CNumberEdit::Mode;
    m_pProfileList = new CDropCombo(panel_id::kProfileList, this);
    m_pFrameRateList = new CDropCombo(panel_id::kFrameRate, this);
    m_pChannelList = new CDropCombo(panel_id::kChannels, this);
    m_pWidthEdit = new CNumberEdit(panel_id::kWidth, Mode::WholeNumber, this);
    m_pHeightEdit = new CNumberEdit(panel_id::kHeight, Mode::WholeNumber, this);
    m_pVideoBitrateEdit = new CNumberEdit(panel_id::kVideoBitrate, Mode::WholeNumber, this);
    m_pAudioBitrateList = new CDropCombo(panel_id::kAudioBitrate, this);
    m_pSampleRateList = new CDropCombo(panel_id::kSampleRate, this);
    for (CNumberEdit* edit : {m_pWidthEdit, m_pHeightEdit, m_pVideoBitrateEdit}) {
        edit->setObjectName(QString::number(edit->ControlId()));
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    for (CDropCombo* list : {m_pProfileList, m_pFrameRateList, m_pChannelList, m_pAudioBitrateList,
                             m_pSampleRateList}) {
        list->setObjectName(QString::number(list->ControlId()));
        const int id = list->ControlId();
        connect(list, &QComboBox::activated, this,
                [this, id](int index) { OnListActivated(id, index); });
    }

    using namespace bitmap_id;
    m_pAddButton =
        MakeButton(this, panel_id::kAdd, "Add", "Add Profile", kAddNormal, kAddPressed, kAddHover);
    m_pDeleteButton = MakeButton(this, panel_id::kDelete, "Delete", "Delete this profile",
                                 kDeleteNormal, kDeletePressed, kDeleteHover);
    m_pSaveButton = MakeButton(this, panel_id::kSave, "Save", "Save changes", kSaveNormal,
                               kSavePressed, kSaveHover);
    connect(m_pAddButton, &QAbstractButton::clicked, this, [this] { Add(); });
    connect(m_pDeleteButton, &QAbstractButton::clicked, this, [this] { Delete(); });
    connect(m_pSaveButton, &QAbstractButton::clicked, this, [this] { Save(); });

    // The window's Tab order: the ids' order that Tab follows inside the
    // panel, then the buttons. Fields and lists are named after their labels.
    const int order[] = {panel_id::kProfileList,  panel_id::kWidth,      panel_id::kHeight,
                         panel_id::kVideoBitrate, panel_id::kFrameRate,  panel_id::kAudioBitrate,
                         panel_id::kChannels,     panel_id::kSampleRate, panel_id::kAdd,
                         panel_id::kDelete,       panel_id::kSave};
    for (std::size_t i = 0; i < std::size(order); ++i) {
        QWidget* control = Control(order[i]);
        const std::string label = PanelControlLabel(order[i]);
        if (!label.empty()) {
            control->setAccessibleName(QString::fromLatin1(label.c_str()));
            // A list on this desktop names itself by its entry: the label
            // goes with it as the description.
            if (qobject_cast<CDropCombo*>(control))
                control->setAccessibleDescription(control->accessibleName());
        }
        if (i > 0) setTabOrder(Control(order[i - 1]), control);
    }
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (now == this && old && isAncestorOf(old)) m_pHandedFocus = old;
    });
}

void COutputSettingsPanel::focusInEvent(QFocusEvent* event) {
    update();
    QWidget::focusInEvent(event);
}

void COutputSettingsPanel::focusOutEvent(QFocusEvent* event) {
    update();
    QWidget::focusOutEvent(event);
}

bool COutputSettingsPanel::focusNextPrevChild(bool next) {
    // Tab goes on from the control the user stepped out of with Enter.
    if (hasFocus() && m_pHandedFocus) {
        if (QWidget* to = NextTabStop(m_pHandedFocus, next)) {
            to->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return QWidget::focusNextPrevChild(next);
}

QWidget* COutputSettingsPanel::Control(int id) const {
    switch (id) {
        case panel_id::kProfileList:
            return m_pProfileList;
        case panel_id::kWidth:
            return m_pWidthEdit;
        case panel_id::kHeight:
            return m_pHeightEdit;
        case panel_id::kVideoBitrate:
            return m_pVideoBitrateEdit;
        case panel_id::kFrameRate:
            return m_pFrameRateList;
        case panel_id::kAudioBitrate:
            return m_pAudioBitrateList;
        case panel_id::kChannels:
            return m_pChannelList;
        case panel_id::kSampleRate:
            return m_pSampleRateList;
        case panel_id::kAdd:
            return m_pAddButton;
        case panel_id::kDelete:
            return m_pDeleteButton;
        case panel_id::kSave:
            return m_pSaveButton;
        default:
            return nullptr;
    }
}

void COutputSettingsPanel::Add() {
    CAddProfileDlg dialog(m_catalog, m_dialogs, window());
    if (dialog.exec() != QDialog::Accepted) return;
    if (m_store.Add(dialog.NewProfile()) == ProfileOpResult::Written) ShowStoreContents();
}

void COutputSettingsPanel::Delete() {
    // A failed write still took the profile out of the list in memory.
    const ProfileOpResult result = m_store.Delete(SelectedProfileName());
    if (result == ProfileOpResult::Written || result == ProfileOpResult::WriteFailed)
        ShowStoreContents();
}

void COutputSettingsPanel::Save() {
    if (m_store.Save(SelectedProfileName(), ShownSettings()) == ProfileOpResult::Written)
        ShowStoreContents();
}

ProfileRecord COutputSettingsPanel::BuildConverterRecord() const {
    return MakeConverterRecord(ShownSettings(), m_catalog);
}

void COutputSettingsPanel::RewriteOnExit() {
    if (m_bRewritten) return;
    m_bRewritten = true;
    m_store.RewriteOnExit(SelectedProfileName(), EditFieldsChanged(), ShownSettings());
}

bool COutputSettingsPanel::IsModified() const {
    return m_store.IsModified() || EditFieldsChanged();
}

ProfileSettings COutputSettingsPanel::ShownSettings() const {
    const auto text = [](const QString& s) { return s.toLocal8Bit().toStdString(); };
    ProfileFieldTexts t;
    t.width = text(m_pWidthEdit->text());
    t.height = text(m_pHeightEdit->text());
    t.videoBitrate = text(m_pVideoBitrateEdit->text());
    t.framesPerSecond = text(m_pFrameRateList->currentText());
    t.channels = text(m_pChannelList->currentText());
    t.sampleRate = text(m_pSampleRateList->currentText());
    t.audioBitrate = text(m_pAudioBitrateList->currentText());
    return ParseProfileSettings(t);
}

std::string COutputSettingsPanel::SelectedProfileName() const {
    return m_pProfileList->currentText().toLocal8Bit().toStdString();
}

bool COutputSettingsPanel::EditFieldsChanged() const {
    return m_pVideoBitrateEdit->isModified() || m_pHeightEdit->isModified() ||
           m_pWidthEdit->isModified();
}

bool COutputSettingsPanel::event(QEvent* event) {
    if (event->type() == CChildTabEvent::EventType()) {
        FocusNextAfter(static_cast<CChildTabEvent*>(event)->ControlId());
        return true;
    }
    return QWidget::event(event);
}

void COutputSettingsPanel::FocusNextAfter(int id) {
    // Tab runs through the ids 1000 to 1006; the channel and sample-rate
    // lists keep the focus.
    if (id < panel_id::kProfileList || id > panel_id::kAudioBitrate) return;
    if (QWidget* next = Control(id + 1)) next->setFocus(Qt::TabFocusReason);
}
