#include "profiles/widgets/add_profile_dlg.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "convert/common/program_names.h"
#include "platform/win/dialog_seam.h"
#include "profiles/audio_lists.h"
#include "profiles/profile_validation.h"
#include "profiles/profile_values.h"
#include "profiles/widgets/audio_combo_fill.h"
#include "profiles/widgets/dialog_units.h"
#include "ui/child_tab_event.h"
#include "ui/drop_combo.h"
#include "ui/number_edit.h"

namespace {

constexpr const char* kCaption = "Add New Profile";
constexpr int kTemplateWidth = 318, kTemplateHeight = 273;
// Height of one template row (edits and closed lists).
constexpr int kRowHeight = 12;
constexpr int kMaxSizeChars = 4;
constexpr int kMaxVideoBitrateChars = 7;
constexpr int kOpeningFrameRatePosition = 14;  // 15 frames per second

std::string ToText(const QString& s) {
    return s.toLocal8Bit().toStdString();
}

// A right-aligned label that grows to the left when its text is wider than
// the template allows, so that no font cuts it off.
QLabel* RightLabel(QWidget* parent, const DialogUnits& du, const char* text, int x, int y, int w) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QRect r = du.Rect(x, y, w, kRowHeight);
    const int needed = label->fontMetrics().horizontalAdvance(label->text()) + 2;
    if (needed > r.width()) r.setLeft(r.right() + 1 - needed);
    label->setGeometry(r);
    return label;
}

// The group's title sits on its frame line, as in the dialog templates this
// layout comes from; styles that put the title above the frame would push
// the frame into the first row.
constexpr const char* kGroupStyle =
    "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 0.5em; }"
    "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }";

QGroupBox* Group(QWidget* parent, const DialogUnits& du, const char* title, int x, int y, int w,
                 int h) {
    auto* group = new QGroupBox(QString::fromLatin1(title), parent);
    group->setStyleSheet(QString::fromLatin1(kGroupStyle));
    group->setGeometry(du.Rect(x, y, w, h));
    group->lower();
    return group;
}

// A list as wide as the template says, or as its longest entry (six
// digits) needs if the style's arrow leaves too little room.
void WidenForEntries(QComboBox* list) {
    list->setMinimumContentsLength(6);
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    const QRect r = list->geometry();
    list->setGeometry(r.left(), r.top(), std::max(r.width(), list->sizeHint().width()), r.height());
}

// Edits and closed lists get the template's row height, or what their
// style needs if that is more, centred on the row.
void PlaceRow(QWidget* w, const DialogUnits& du, int x, int y, int width) {
    const QRect row = du.Rect(x, y, width, kRowHeight);
    const int h = std::max(row.height(), w->sizeHint().height());
    w->setGeometry(row.left(), row.center().y() - h / 2 + 1, row.width(), h);
}

}  // namespace

CAddProfileDlg::CAddProfileDlg(const CAudioFormatCatalog& catalog, IDialogSeam& dialogs,
                               QWidget* parent)
    : QDialog(parent), m_newProfile{}, m_catalog(catalog), m_dialogs(dialogs) {
    setWindowTitle(QString::fromLatin1(kCaption));
    setModal(true);
    BuildControls();
    FillAudioListsAtStart();
}

void CAddProfileDlg::BuildControls() {
    using namespace add_dialog_id;
    const DialogUnits du = DialogUnitsFor(font());
    setFixedSize(du.X(kTemplateWidth), du.Y(kTemplateHeight));

    // Created in the template's order, which is also the Tab order.
    RightLabel(this, du, "Name:", 51, 17, 25);
    m_pNameEdit = new QLineEdit(this);
    PlaceRow(m_pNameEdit, du, 83, 17, 185);

    Group(this, du, "Video Settings", 51, 36, 217, 116);
    RightLabel(this, du, "Video Width", 127, 51, 40);
    m_pWidthEdit = new CNumberEdit(kWidth, CNumberEdit::Mode::WholeNumber, this);
    PlaceRow(m_pWidthEdit, du, 174, 51, 38);
    RightLabel(this, du, "Video Height", 125, 74, 42);
    m_pHeightEdit = new CNumberEdit(kHeight, CNumberEdit::Mode::WholeNumber, this);
    PlaceRow(m_pHeightEdit, du, 174, 74, 38);
    RightLabel(this, du, "Bit Rate(Kbps)", 119, 100, 48);
    m_pVideoBitrateEdit = new CNumberEdit(kVideoBitrate, CNumberEdit::Mode::Decimal, this);
    PlaceRow(m_pVideoBitrateEdit, du, 174, 100, 38);
    RightLabel(this, du, "Frames per second(FPS)", 83, 126, 84);
    m_pFrameRateList = new QComboBox(this);
    PlaceRow(m_pFrameRateList, du, 174, 126, 38);

    Group(this, du, "Audio Settings", 51, 159, 217, 70);
    RightLabel(this, du, "Channels", 123, 168, 42);
    m_pChannelList = new QComboBox(this);
    PlaceRow(m_pChannelList, du, 174, 168, 38);
    RightLabel(this, du, "Sample Rates(Hz)", 91, 189, 74);
    m_pSampleRateList = new QComboBox(this);
    PlaceRow(m_pSampleRateList, du, 174, 189, 38);
    RightLabel(this, du, "Bit Rate(bps)", 117, 210, 48);
    m_pAudioBitrateList = new QComboBox(this);
    PlaceRow(m_pAudioBitrateList, du, 174, 210, 38);

    for (QComboBox* list :
         {m_pFrameRateList, m_pChannelList, m_pSampleRateList, m_pAudioBitrateList})
        WidenForEntries(list);

    m_pOkButton = new QPushButton(QStringLiteral("OK"), this);
    m_pOkButton->setGeometry(du.Rect(104, 240, 32, 14));
    m_pOkButton->setDefault(true);
    m_pCancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    m_pCancelButton->setGeometry(du.Rect(183, 240, 32, 14));
    connect(m_pOkButton, &QPushButton::clicked, this, &CAddProfileDlg::accept);
    connect(m_pCancelButton, &QPushButton::clicked, this, &CAddProfileDlg::reject);

    m_pWidthEdit->setMaxLength(kMaxSizeChars);
    m_pHeightEdit->setMaxLength(kMaxSizeChars);
    m_pVideoBitrateEdit->setMaxLength(kMaxVideoBitrateChars);
    for (int id = kName; id <= kAudioBitrate; ++id)
        if (QWidget* w = Control(id)) w->setObjectName(QString::number(id));

    // Single digits carry a leading space so that the sorted list is in
    // numeric order.
    for (int fps = 1; fps <= 30; ++fps)
        InsertSorted(*m_pFrameRateList, QString::asprintf("%2d", fps));
    m_pFrameRateList->setCurrentIndex(kOpeningFrameRatePosition);
    m_pChannelList->addItem(QString::fromLatin1(kStereoText));
    m_pChannelList->addItem(QString::fromLatin1(kMonoText));
    m_pChannelList->setCurrentIndex(0);
    connect(m_pChannelList, &QComboBox::activated, this, [this] { OnChannelsChosen(); });
    connect(m_pSampleRateList, &QComboBox::activated, this, [this] { OnSampleRateChosen(); });
}

QWidget* CAddProfileDlg::Control(int id) const {
    using namespace add_dialog_id;
    switch (id) {
        case kName:
            return m_pNameEdit;
        case kWidth:
            return m_pWidthEdit;
        case kHeight:
            return m_pHeightEdit;
        case kVideoBitrate:
            return m_pVideoBitrateEdit;
        case kFrameRate:
            return m_pFrameRateList;
        case kChannels:
            return m_pChannelList;
        case kSampleRate:
            return m_pSampleRateList;
        case kAudioBitrate:
            return m_pAudioBitrateList;
        case kOk:
            return m_pOkButton;
        case kCancel:
            return m_pCancelButton;
        default:
            return nullptr;
    }
}

void CAddProfileDlg::FillAudioListsAtStart() {
    // Two channels, the lowest rate and its lowest bit rate.
    const AudioLists lists = AudioListsKeeping(m_catalog, 2, 0, 0);
    FillSampleRateList(*m_pSampleRateList, lists);
    FillAudioBitrateList(*m_pAudioBitrateList, lists);
}

int CAddProfileDlg::SelectedChannels() const {
    return m_pChannelList->currentText() == QLatin1String(kStereoText) ? 2 : 1;
}

void CAddProfileDlg::OnChannelsChosen() {
    const AudioLists lists = AudioListsKeeping(
        m_catalog, SelectedChannels(), TextToUnsigned(ToText(m_pSampleRateList->currentText())),
        TextToUnsigned(ToText(m_pAudioBitrateList->currentText())));
    FillSampleRateList(*m_pSampleRateList, lists);
    FillAudioBitrateList(*m_pAudioBitrateList, lists);
}

void CAddProfileDlg::OnSampleRateChosen() {
    FillAudioBitrateList(
        *m_pAudioBitrateList,
        AudioListsKeeping(m_catalog, SelectedChannels(),
                          TextToUnsigned(ToText(m_pSampleRateList->currentText())),
                          TextToUnsigned(ToText(m_pAudioBitrateList->currentText()))));
}

void CAddProfileDlg::accept() {
    ProfileFieldTexts texts;
    texts.width = ToText(m_pWidthEdit->text());
    texts.height = ToText(m_pHeightEdit->text());
    texts.videoBitrate = ToText(m_pVideoBitrateEdit->text());
    texts.framesPerSecond = ToText(m_pFrameRateList->currentText());
    texts.channels = ToText(m_pChannelList->currentText());
    texts.sampleRate = ToText(m_pSampleRateList->currentText());
    texts.audioBitrate = ToText(m_pAudioBitrateList->currentText());
    const ProfileCheck check =
        ValidateProfile(ParseProfileDraft(ToText(m_pNameEdit->text()), texts), m_newProfile);
    if (!check.Passed()) {
        m_dialogs.MessageBox(check.message, kAppName, MsgButtons::Ok, MsgIcon::Warning);
        return;
    }
    QDialog::accept();
}

bool CAddProfileDlg::event(QEvent* event) {
    // The number fields hand Tab to the dialog; it moves on in Tab order.
    if (event->type() == CChildTabEvent::EventType()) {
        focusNextChild();
        return true;
    }
    return QDialog::event(event);
}
