#include "app/job_panel.h"

#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QResizeEvent>
#include <cctype>

#include "app/command_ids.h"
#include "app/dest_proposal.h"
#include "app/job_panel_layout.h"
#include "app/recent_file_list.h"
#include "convert/common/program_names.h"
#include "ui/path_label.h"
#include "platform/win/dialog_seam.h"
#include "ui/bitmaps.h"
#include "ui/hover_button.h"

namespace {

constexpr char kDestFilter[] = "WMV Files (*.wmv)|*.wmv||";
constexpr char kDestExt[] = "wmv";
constexpr char kSameName[] = "Sorry! Source file, Dest file could not be same name.";
// A destination shorter than 4 characters counts as unset.
constexpr std::size_t kMinDestLength = 4;

void Place(QWidget* w, const PanelRect& r) {
    w->setGeometry(r.x, r.y, r.width, r.height);
}

CHoverButton* MakeHoverButton(QWidget* parent, const char* text, const char* tip, int tipLength,
                              int normal, int pressed, int hover) {
    auto* button = new CHoverButton(parent);
    button->setText(QString::fromLatin1(text));
    button->SetTipText(tip, tipLength);
    button->LoadBitmaps(normal, pressed, hover, 0);
    return button;
}

}  // namespace

std::string ApologyFor(std::string reason) {
    if (!reason.empty())
        reason[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(reason[0])));
    return "Sorry! " + reason + ".";
}

std::string RefusalText(JobPathProblem path, const std::string& reason) {
    return path == JobPathProblem::DestinationIsSource ? kSameName : ApologyFor(reason);
}

CJobPanel::CJobPanel(ICommandTarget& frame, IDialogSeam& dialogs, CRecentFileList* recent,
                     QWidget* parent)
    : QWidget(parent), m_frame(frame), m_dialogs(dialogs), m_pRecent(recent) {
    setObjectName(QStringLiteral("CMD"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_pProgress = new QProgressBar(this);
    m_pProgress->setRange(0, 100);
    m_pProgress->setValue(0);
    m_pProgress->setTextVisible(false);
    m_pSource = new CPathLabel(this);
    m_pDest = new CPathLabel(this);
    m_pBrowseSource = new QPushButton(QStringLiteral("..."), this);
    m_pBrowseDest = new QPushButton(QStringLiteral("..."), this);
    // Reached by Tab; a click leaves the focus where it was, so that the
    // window's Space goes on playing rather than pressing "..." again.
    m_pBrowseSource->setFocusPolicy(Qt::TabFocus);
    m_pBrowseDest->setFocusPolicy(Qt::TabFocus);
    m_pBrowseSource->setAccessibleName(QStringLiteral("Choose Source File"));
    m_pBrowseDest->setAccessibleName(QStringLiteral("Choose Dest File"));
    m_pConvert = MakeHoverButton(this, "Convert", "Begin Convert", 15, bitmap_id::kConvertNormal,
                                 bitmap_id::kConvertPressed, bitmap_id::kConvertHover);
    m_pStop = MakeHoverButton(this, "Stop", "Stop Converting", 16, bitmap_id::kStopNormal,
                              bitmap_id::kStopPressed, bitmap_id::kStopHover);
    m_pStop->hide();
    m_pSource->setText(QString::fromLatin1(kNoSourceText));
    m_pDest->setText(QString::fromLatin1(kNoDestText));

    connect(m_pBrowseSource, &QPushButton::clicked, this,
            [this] { m_frame.SendCommand(cmd::kLoadFile); });
    connect(m_pBrowseDest, &QPushButton::clicked, this, &CJobPanel::OnBrowseDest);
    connect(m_pConvert, &QAbstractButton::clicked, this,
            [this] { m_frame.SendCommand(cmd::kRunJob); });
    connect(m_pStop, &QAbstractButton::clicked, this, &CJobPanel::OnStop);
}

void CJobPanel::SetSourceText(const std::string& text) {
    m_pSource->setText(QString::fromStdString(text));
}

void CJobPanel::ResetSourceText() {
    SetSourceText(kNoSourceText);
}

void CJobPanel::SetProgress(int percent) {
    m_pProgress->setValue(percent);
}

void CJobPanel::SetProgressText(const QString& text) {
    m_pProgress->setTextVisible(!text.isEmpty());
    m_pProgress->setFormat(text);
}

int CJobPanel::Progress() const {
    return m_pProgress->value();
}

QString CJobPanel::DestLabelText() const {
    return m_pDest->text();
}

QString CJobPanel::SourceLabelText() const {
    return m_pSource->text();
}

bool CJobPanel::ShowsStop() const {
    return !m_pStop->isHidden();
}

void CJobPanel::ShowFace(bool stop) {
    m_pConvert->setVisible(!stop);
    m_pStop->setVisible(stop);
    update();
}

void CJobPanel::ResetAfterJob() {
    ShowFace(false);
    SetDest(std::string());
    update();
}

void CJobPanel::SetDest(const std::string& path) {
    // Kept whole: a shortened path would name another file. The convert
    // check refuses one the engine's buffer cannot carry.
    m_szDest = path;
    m_pDest->setText(m_szDest.empty() ? QString::fromLatin1(kNoDestText)
                                      : QString::fromStdString(m_szDest));
}

bool CJobPanel::AskDestination(const std::string& source, std::string& path) {
    const std::string lastFolder =
        m_pRecent ? m_pRecent->DestinationFolder().toStdString() : std::string();
    path = ProposeDestination(source, lastFolder);
    if (!m_dialogs.SaveFileName("Save As", kDestFilter, kDestExt, path)) return false;
    if (m_pRecent) m_pRecent->SetDestinationFolder(QString::fromStdString(FolderOf(path)));
    return true;
}

bool CJobPanel::AcceptPaths(const std::string& source, const std::string& dest) {
    const JobPathProblem problem = CheckJobPaths(source, dest);
    if (problem == JobPathProblem::None) return true;
    m_dialogs.MessageBox(RefusalText(problem, JobPathMessage(problem, source)), kAppName,
                         MsgButtons::Ok, MsgIcon::Warning);
    return false;
}

void CJobPanel::OnBrowseDest() {
    // The source label's text is the source, unless it is the unset marker.
    const QString label = m_pSource->text();
    const std::string source =
        label == QLatin1String(kNoSourceText) ? std::string() : label.toStdString();
    std::string path;
    SetDest(AskDestination(source, path) ? path : std::string());
}

bool CJobPanel::ChooseDestination(const std::string& source) {
    // No destination can do for a source the engine cannot carry or read.
    if (CheckJobSource(source) != JobPathProblem::None) {
        AcceptPaths(source, m_szDest);
        return false;
    }
    for (;;) {
        if (m_szDest.size() < kMinDestLength) {
            if (m_dialogs.MessageBox("Please set Dest File Name!", kAppName, MsgButtons::OkCancel,
                                     MsgIcon::Warning) != MsgAnswer::Ok) {
                return false;
            }
            std::string path;
            if (!AskDestination(source, path)) return false;
            if (!AcceptPaths(source, path)) continue;
            SetDest(path);
            return true;
        }
        if (AcceptPaths(source, m_szDest)) return true;
        SetDest(std::string());
    }
}

void CJobPanel::OnStop() {
    if (m_dialogs.MessageBox("Are you sure to stop the converting?", kAppName, MsgButtons::YesNo,
                             MsgIcon::Question) != MsgAnswer::Yes) {
        return;
    }
    m_frame.SendCommand(cmd::kStopJob);
    SetProgress(0);
    ShowFace(false);
}

void CJobPanel::OnPageSize(int width, int height) {
    setGeometry(0, 0, width, height);
}

void CJobPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceChildren(event->size().width());
}

void CJobPanel::PlaceChildren(int width) {
    const JobPanelLayout l = ComputeJobPanelLayout(width);
    Place(m_pProgress, l.progress);
    Place(m_pBrowseSource, l.sourceBrowse);
    Place(m_pBrowseDest, l.destBrowse);
    Place(m_pConvert, l.convertButton);
    Place(m_pStop, l.convertButton);
    Place(m_pSource, l.sourceLabel);
    Place(m_pDest, l.destLabel);
}

void CJobPanel::paintEvent(QPaintEvent*) {
    // Qt's backing store already paints off screen and copies in one step.
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const int x = ComputeJobPanelLayout(width()).textX;
    const int ascent = painter.fontMetrics().ascent();
    painter.setPen(Qt::black);
    painter.drawText(x, 10 + ascent, QStringLiteral("From:"));
    painter.drawText(x, 80 + ascent, QStringLiteral("To:"));
}
