// CPreviewWnd: creation, layout, painting, loading and closing, and the
// routing of its messages. Playback is in preview_playback.cpp.
#include "preview/preview_wnd.h"

#include <QAction>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QPainter>
#include <QToolButton>
#include <QUrl>
#include <qdrawutil.h>

#include <algorithm>
#include <cctype>

#include "platform/dshow/video_surface.h"
#include "preview/range_slider.h"
#include "preview/time_field.h"
#include "preview/transport_images.h"
#include "preview/video_pane.h"
#include "ui/message_pump.h"

namespace {

const QColor kVideoBackground(4, 0, 0);
constexpr int kVideoLeft = 60;
constexpr int kVideoTop = 40;
constexpr int kCloseWaitMs = 500;
constexpr int kMaxStopTries = 50;
constexpr int kToolbarButtonWidth = 23;  // eight of them fill the 184-pixel bar
constexpr int kToolbarHeight = 24;

const char* const kUnknownFormatQuestion =
    "Oops, the file format can not be recognized, we can help you on this, do you want to "
    "visit our WEB site? ";

}  // namespace

std::string SupportPageAddress() {
    return std::string(kMakerWebAddress) + "/index.php?zevfaq02";
}

void SetPreviewClosing(bool closing) {
    PreviewStateOf().bClosing = closing;
}

bool IsPreviewClosing() {
    return PreviewStateOf().bClosing;
}

int LastLoadResult() {
    return PreviewStateOf().nLastLoadResult;
}

CPreviewWnd::CPreviewWnd(IDialogSeam& dialogs, QWidget* parent)
    : QWidget(parent), m_dialogs(dialogs) {
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_openUrl = [](const std::string& url) {
        QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
    };
    m_pump = new CWinMessagePump(this);
    m_hWnd = CreateHostWindow(
        [this](HWND, UINT msg, WPARAM w, LPARAM l) -> LRESULT { return WindowProc(msg, w, l); });
    m_videoPane = new CVideoPane(this);
    RegisterVideoSurfaceHost(m_hWnd, m_videoPane);

    CreateToolbar();
    m_slider = new CRangeSlider(m_range, this);  // disabled until a load

    const QFontMetrics fm(font());
    PreviewStateOf().cw = fm.averageCharWidth();
    PreviewStateOf().ch = fm.height();
    // Each shows 0 and is disabled until a load.
    m_beginField = new CTimeField(m_range, RangePart::Begin, this);
    m_currentField = new CTimeField(m_range, RangePart::Position, this);
    m_endField = new CTimeField(m_range, RangePart::End, this);
    // Assistive tools name the fields after the labels painted under them.
    m_beginField->setAccessibleName(QStringLiteral("Start Time"));
    m_currentField->setAccessibleName(QStringLiteral("Current Time"));
    m_endField->setAccessibleName(QStringLiteral("End Time"));

    connect(&m_range, &CRangeModel::SeekRequested, this, &CPreviewWnd::OnSeekRequested);
    connect(m_slider, &CRangeSlider::MarkerGrabbed, this, &CPreviewWnd::OnDragStart);
}

CPreviewWnd::~CPreviewWnd() {
    m_playTimer.stop();
    UnregisterVideoSurfaceHost(m_hWnd);
    DestroyWindow(m_hWnd);
    // m_graph releases the graph as it goes.
}

void CPreviewWnd::CreateToolbar() {
    m_toolbar = new QWidget(this);
    const QImage strip = TransportImageStrip();
    static const char* const kNames[8] = {"Play",          "Pause",  "Stop",         "",
                                          "Skip to Start", "Rewind", "Fast Forward", "Skip to End"};
    for (int i = 0; i < 8; ++i) {
        const QImage image =
            strip.copy(i * kTransportImageWidth, 0, kTransportImageWidth, kTransportImageHeight);
        auto* a = new QAction(QIcon(QPixmap::fromImage(image)), kNames[i], this);
        a->setCheckable(i < 3);
        a->setEnabled(false);
        const int command = ID_PLAY + i;
        connect(a, &QAction::triggered, this, [this, i, command] {
            // The button shows what the window decides, not the click's toggle.
            m_actions[i]->setChecked(m_bPressed[i]);
            OnCommand(command);
        });
        auto* b = new QToolButton(m_toolbar);
        b->setDefaultAction(a);
        b->setAutoRaise(true);  // flat
        b->setIconSize(QSize(kTransportImageWidth, kTransportImageHeight));
        b->setGeometry(i * kToolbarButtonWidth, 0, kToolbarButtonWidth, kToolbarHeight);
        m_actions[i] = a;
        m_buttons[i] = b;
    }
}

QToolButton* CPreviewWnd::ToolbarButton(int command) const {
    const int i = command - ID_PLAY;
    return i >= 0 && i < 8 ? m_buttons[i] : nullptr;
}

QAction* CPreviewWnd::ToolbarAction(int command) const {
    const int i = command - ID_PLAY;
    return i >= 0 && i < 8 ? m_actions[i] : nullptr;
}

CTimeField* CPreviewWnd::Field(int controlId) const {
    switch (controlId) {
        case IDC_BEGIN_TIME:
            return m_beginField;
        case IDC_END_TIME:
            return m_endField;
        case IDC_CURRENT_TIME:
            return m_currentField;
        default:
            return nullptr;
    }
}

void CPreviewWnd::SetUrlOpener(std::function<void(const std::string&)> opener) {
    m_openUrl = std::move(opener);
}

void CPreviewWnd::SetButtons(bool playPressed, bool playEnabled, bool pausePressed,
                             bool pauseEnabled, bool stopEnabled) {
    const bool pressed[3] = {playPressed, pausePressed, false};
    const bool enabled[3] = {playEnabled, pauseEnabled, stopEnabled};
    for (int i = 0; i < 3; ++i) {
        m_bPressed[i] = pressed[i];
        m_actions[i]->setChecked(pressed[i]);
        m_actions[i]->setEnabled(enabled[i]);
    }
}

void CPreviewWnd::OnCommand(int command) {
    switch (command) {
        case ID_PLAY:
            OnPlay();
            break;
        case ID_PAUSE:
            OnPause();
            break;
        case ID_STOP:
            OnStop();
            break;
        default:
            break;  // the other buttons stay disabled
    }
}

QRect CPreviewWnd::VideoRect() const {
    const int h23 = 2 * height() / 3;
    return QRect(kVideoLeft, kVideoTop, width() / 2 - kVideoLeft, h23);
}

void CPreviewWnd::resizeEvent(QResizeEvent*) {
    const int cx = width();
    const int cy = height();
    const int h23 = 2 * cy / 3;
    const int cw = PreviewStateOf().cw;
    const int ch = PreviewStateOf().ch;
    if (IVideoWindow* v = m_graph.VideoWindow()) v->SetWindowPosition(60, 40, cx / 2 - 60, h23);
    m_toolbar->setGeometry(60, h23 + 40, 8 * kToolbarButtonWidth, kToolbarHeight);
    m_slider->setGeometry(60, h23 + 64, cx / 2 - 60, 20);
    // Nine characters wide, or what the toolkit's boxes need.
    const int fw = std::max(9 * cw, TimeFieldGeometryFor(QFontMetrics(font())).width);
    m_beginField->setGeometry(60, h23 + 85, fw, ch);
    m_currentField->setGeometry((cx / 2 - 60) / 2 + 60 - fw * 4 / 9, h23 + 85, fw, ch);
    m_endField->setGeometry(cx / 2 - fw, h23 + 85, fw, ch);
    repaint();
}

void CPreviewWnd::paintEvent(QPaintEvent*) {
    const int cx = width();
    const int h23 = 2 * height() / 3;
    const int cw = PreviewStateOf().cw;
    const int ch = PreviewStateOf().ch;
    QImage canvas(size(), QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter p(&canvas);
    p.setFont(font());
    const QFontMetrics fm(font());
    p.fillRect(QRect(QPoint(60, 40), QPoint(cx / 2 - 1, h23 + 40 - 1)), kVideoBackground);
    if (!m_szStatus.empty()) {
        const QString text = QString::fromStdString(m_szStatus);
        const QRect box(62, h23 + 40 - fm.height() - 2, fm.horizontalAdvance(text), fm.height());
        p.fillRect(box, kVideoBackground);
        p.setPen(Qt::white);
        p.drawText(box, Qt::AlignLeft | Qt::AlignTop, text);
    }
    p.setPen(kVideoBackground);
    const int labelY = h23 + ch + 89;
    auto label = [&](int x, const char* text) {
        p.drawText(QRect(x, labelY, 20 * cw, fm.height()), Qt::AlignLeft | Qt::AlignTop, text);
    };
    label(60, "Start Time");
    label(cx / 4 + 30 - 6 * cw, "Current Time");
    label(cx / 2 - 9 * cw, "End Time");
    // The sunken client edge of the pane.
    qDrawShadePanel(&p, rect(), palette(), true, 2);
    p.end();
    QPainter(this).drawImage(0, 0, canvas);
}

void CPreviewWnd::mousePressEvent(QMouseEvent* e) {
    // A time field being edited loses the focus and commits its value.
    setFocus(Qt::MouseFocusReason);
    QWidget::mousePressEvent(e);
}

void CPreviewWnd::closeEvent(QCloseEvent* e) {
    CloseFile();
    QWidget::closeEvent(e);
}

void CPreviewWnd::LoadFile() {
    std::string path;
    if (!m_dialogs.OpenFileName("", "", path)) return;
    OpenFile(path);
}

void CPreviewWnd::OpenFile(const std::string& path) {
    CloseFile();
    m_szSourcePath = path;
    m_hNotifyWnd = m_hWnd;
    SetStatus("Loading...");
    repaint();
    const int result = m_graph.BuildGraph(m_szSourcePath, m_hNotifyWnd, width(), height());
    PreviewStateOf().nLastLoadResult = result;
    if (result == kLoadOk)
        SetStatus("Ready to preview and set range");
    else
        m_szSourcePath.clear();
}

void CPreviewWnd::CloseFile() {
    CloseMedia();
    m_szSourcePath.clear();
}

void CPreviewWnd::CloseMedia() {
    IMediaControl* control = m_graph.Control();
    if (!control) return;
    OAFilterState state = State_Stopped;
    for (int i = 0;
         i < kMaxStopTries && SUCCEEDED(control->GetState(0, &state)) && state != State_Stopped;
         ++i)
        control->Stop();
    Sleep(kCloseWaitMs);
    SetButtons(false, false, false, false, false);
    for (int i = 3; i < 8; ++i) m_actions[i]->setEnabled(false);
    m_range.Close();  // the fields show 0, the slider resets; all disabled
    m_nPlayState = PlayState::NoMedia;
    SetStatus("");
    PreviewState& s = PreviewStateOf();
    if (s.pVideoWindow) {
        s.pVideoWindow->put_Visible(OAFALSE);
        s.pVideoWindow->Release();
        s.pVideoWindow = nullptr;
    }
    m_videoPane->Clear();
    m_videoPane->hide();
    repaint();
}

void CPreviewWnd::OnGraphError(int code) {
    if (code < kLoadNoGraph || code > kLoadSourceRefused) return;
    SetStatus(PreviewErrorText(code));
    m_videoPane->Clear();
    m_videoPane->hide();
    repaint();
    if (code == kLoadSourceRefused) {
        const PreviewState& s = PreviewStateOf();
        std::string reason = JobPathMessage(s.sourceProblem, s.refusedSource);
        reason[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(reason[0])));
        m_dialogs.MessageBox("Sorry! " + reason + ".", kProductName, MsgButtons::Ok,
                             MsgIcon::Warning);
        return;
    }
    if (code != kLoadCannotRender) return;
    const MsgAnswer answer =
        m_dialogs.MessageBox(std::string(kUnknownFormatQuestion) + kMakerWebAddress, kProductName,
                             MsgButtons::YesNo, MsgIcon::Question);
    if (answer == MsgAnswer::Yes && m_openUrl) m_openUrl(SupportPageAddress());
}

LRESULT CPreviewWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GRAPH_EVENT:
            OnGraphEvent();
            break;
        case WM_GRAPH_READY:
            OnGraphReady(wParam);
            break;
        case WM_GRAPH_ERROR:
            OnGraphError(static_cast<int>(lParam));
            break;
        default:
            break;
    }
    return 0;
}

void CPreviewWnd::timerEvent(QTimerEvent* e) {
    // Every tick counts, whatever its timer.
    OnTimerTick();
    QWidget::timerEvent(e);
}
