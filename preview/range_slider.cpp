#include "preview/range_slider.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

#include "preview/range_accessible.h"
#include "preview/range_model.h"
#include "ui/hsl_color.h"

namespace {

constexpr int kRampRows = 12;
const QColor kGrey(127, 127, 127);

QRect ToQRect(const SliderRect& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}

// Win32's FrameRect: a one-pixel outline inside the rectangle.
void FrameRect(QPainter& p, const SliderRect& r, const QColor& c) {
    if (r.Width() <= 0 || r.Height() <= 0) return;
    p.fillRect(r.left, r.top, r.Width(), 1, c);
    p.fillRect(r.left, r.bottom - 1, r.Width(), 1, c);
    p.fillRect(r.left, r.top, 1, r.Height(), c);
    p.fillRect(r.right - 1, r.top, 1, r.Height(), c);
}

// Win32's Draw3dRect: top and left in one colour, bottom and right in another.
void Draw3dRect(QPainter& p, const SliderRect& r, const QColor& topLeft,
                const QColor& bottomRight) {
    if (r.Width() <= 0 || r.Height() <= 0) return;
    p.fillRect(r.left, r.top, r.Width() - 1, 1, topLeft);
    p.fillRect(r.left, r.top, 1, r.Height() - 1, topLeft);
    p.fillRect(r.right - 1, r.top, 1, r.Height(), bottomRight);
    p.fillRect(r.left, r.bottom - 1, r.Width(), 1, bottomRight);
}

void SetPixel(QImage& img, int x, int y, const QColor& c) {
    if (x >= 0 && y >= 0 && x < img.width() && y < img.height()) img.setPixelColor(x, y, c);
}

// Seconds a key moves the focused handle by; 0 for keys the slider leaves
// to others.
int StepOf(const QKeyEvent& k) {
    const Qt::KeyboardModifiers mods = k.modifiers() & ~Qt::KeypadModifier;
    const bool plain = mods == Qt::NoModifier;
    const bool shift = mods == Qt::ShiftModifier;
    switch (k.key()) {
        case Qt::Key_Left:
            return plain ? -1 : shift ? -10 : 0;
        case Qt::Key_Right:
            return plain ? 1 : shift ? 10 : 0;
        case Qt::Key_PageUp:
            return plain ? 10 : 0;
        case Qt::Key_PageDown:
            return plain ? -10 : 0;
        default:
            return 0;
    }
}

}  // namespace

CRangeSlider::CRangeSlider(CRangeModel& range, QWidget* parent) : QWidget(parent), m_range(range) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The tip shows also while the window is not the active one.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setFocusPolicy(Qt::StrongFocus);
    InstallRangeAccessibility();
    m_model.Resize(width(), height());
    Enable(false);

    connect(&m_range, &CRangeModel::Loaded, this, [this](unsigned duration) {
        // Right after a reset: the handles already stand at their defaults.
        m_model.SetMaximum(static_cast<int>(duration));
        Enable(true);
        repaint();
    });
    connect(&m_range, &CRangeModel::Closed, this, [this] { Reset(); });
    connect(&m_range, &CRangeModel::BeginChanged, this, [this](unsigned seconds) {
        if (m_focusHandle == SliderElement::Begin) AnnounceValue();
        if (m_bOwnChange) return;
        m_model.SetBegin(seconds);
        repaint();
    });
    connect(&m_range, &CRangeModel::EndChanged, this, [this](unsigned seconds) {
        if (m_focusHandle == SliderElement::End) AnnounceValue();
        if (m_bOwnChange) return;
        m_model.SetEnd(seconds);
        repaint();
    });
    connect(&m_range, &CRangeModel::PositionChanged, this, [this](unsigned seconds) {
        m_model.SetPosition(seconds);
        repaint();
    });
}

void CRangeSlider::Enable(bool enable) {
    setEnabled(enable);
    m_bEnabled = isEnabled();
}

void CRangeSlider::Reset() {
    m_model.Reset();
    Enable(false);
    repaint();
}

void CRangeSlider::changeEvent(QEvent* e) {
    // Any enabling, also by the toolkit's own call, selects the drawing.
    if (e->type() == QEvent::EnabledChange) {
        m_bEnabled = isEnabled();
        update();
    }
    QWidget::changeEvent(e);
}

void CRangeSlider::Deliver(const std::vector<SliderAction>& actions) {
    for (const SliderAction& a : actions) {
        switch (a.kind) {
            case SliderAction::MarkerGrabbed:
                emit MarkerGrabbed();
                break;
            case SliderAction::Seek:
                m_range.Seek(a.seconds, SeekOrigin::Slider);
                break;
            case SliderAction::SetBegin: {
                m_bOwnChange = true;
                const bool taken = m_range.SetBegin(a.seconds);
                m_bOwnChange = false;
                if (!taken) m_model.SetBegin(m_range.Begin());
                break;
            }
            case SliderAction::SetEnd: {
                m_bOwnChange = true;
                const bool taken = m_range.SetEnd(a.seconds);
                m_bOwnChange = false;
                if (!taken) m_model.SetEnd(m_range.End());
                break;
            }
        }
    }
}

void CRangeSlider::resizeEvent(QResizeEvent* e) {
    m_model.Resize(width(), height());
    repaint();
    QWidget::resizeEvent(e);
}

void CRangeSlider::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    const QPoint p = e->position().toPoint();
    Deliver(m_model.Press(p.x(), p.y()));
    if (m_model.DragMode() != 0) setCursor(Qt::SizeHorCursor);
    // A click on a handle gives it the keys.
    if (m_model.DragMode() == 1) SetFocusedHandle(SliderElement::Begin);
    if (m_model.DragMode() == 2) SetFocusedHandle(SliderElement::End);
}

void CRangeSlider::UpdateTip(int x, int y, const QPoint& globalPos) {
    SliderRect r;
    const std::string tip = m_model.TipText(x, y, &r);
    if (tip.empty()) {
        unsetCursor();
        return;
    }
    setCursor(Qt::SizeHorCursor);
    const QString text = QString::fromStdString(tip);
    if (text != m_szTip) {
        m_szTip = text;
        setToolTip(text);
        if (QToolTip::isVisible()) QToolTip::showText(globalPos, text, this, ToQRect(r));
    }
}

void CRangeSlider::mouseMoveEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    // The toolkit keeps sending moves to a pressed widget after the pointer
    // left it; the slider does not capture the pointer, so leaving ends
    // the drag here.
    if (m_model.DragMode() != 0 && !rect().contains(p)) {
        Deliver(m_model.Leave());
        unsetCursor();
        repaint();
        return;
    }
    UpdateTip(p.x(), p.y(), e->globalPosition().toPoint());
    if (m_model.DragMode() == 0) return;
    setCursor(Qt::SizeHorCursor);
    Deliver(m_model.Move(p.x(), p.y()));
    repaint();
}

void CRangeSlider::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    Deliver(m_model.Release());
    repaint();
}

void CRangeSlider::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    const QPoint p = e->position().toPoint();
    Deliver(m_model.DoubleClick(p.x(), p.y()));
    repaint();
}

void CRangeSlider::leaveEvent(QEvent* e) {
    Deliver(m_model.Leave());
    QWidget::leaveEvent(e);
}

QImage CRangeSlider::Render() const {
    QImage img(size(), QImage::Format_RGB32);
    img.fill(Qt::white);
    const SliderRect& track = m_model.Track();
    const SliderRect& begin = m_model.BeginRect();
    const SliderRect& end = m_model.EndRect();
    // The ramp: full lightness at row 0 down to none at row 12, in column 0.
    CColorHSL base(qRed(m_crBase), qGreen(m_crBase), qBlue(m_crBase));
    for (int row = 0; row <= kRampRows; ++row) {
        base.SetLightness(1.0f - static_cast<float>(row) / kRampRows);
        SetPixel(img, 0, row, QColor(base.Red(), base.Green(), base.Blue()));
    }
    const QImage ramp = img.copy(0, 0, 1, kRampRows);
    QPainter p(&img);
    const QRect range(begin.left, track.top, end.right - begin.left, track.Height());
    if (range.width() > 0 && range.height() > 0) p.drawImage(range, ramp);
    if (m_bEnabled) {
        p.fillRect(ToQRect(begin), kGrey);
        p.fillRect(ToQRect(end), kGrey);
        Draw3dRect(p, begin, QColor(0, 0, 255), QColor(0, 255, 0));
        Draw3dRect(p, end, QColor(0, 255, 0), QColor(0, 0, 255));
        FrameRect(p, m_model.MarkerRect(), QColor(255, 0, 0));
    }
    FrameRect(p, track, QColor(4, 0, 0));
    p.end();
    for (int i = 1; i <= 7; ++i) {
        SetPixel(img, begin.left + i, track.top, kGrey);
        SetPixel(img, begin.left + i, track.bottom - 1, kGrey);
        SetPixel(img, end.left + i, track.top, kGrey);
        SetPixel(img, end.left + i, track.bottom - 1, kGrey);
    }
    for (int row = 0; row < std::min(begin.top, kRampRows); ++row) SetPixel(img, 0, row, Qt::white);
    if (!m_bEnabled) {
        QPainter g(&img);
        g.fillRect(ToQRect(track), kGrey);
    }
    return img;
}

void CRangeSlider::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, Render());
    if (!hasFocus() || !m_bEnabled) return;
    const SliderRect& h =
        m_focusHandle == SliderElement::End ? m_model.EndRect() : m_model.BeginRect();
    p.setPen(QPen(Qt::black, 1, Qt::DotLine));
    p.drawRect(QRect(h.left - 1, h.top - 1, h.Width() + 1, h.Height() + 1));
}

unsigned CRangeSlider::FocusedHandleValue() const {
    return m_focusHandle == SliderElement::End ? m_range.End() : m_range.Begin();
}

void CRangeSlider::MoveFocusedHandle(long long seconds) {
    if (!m_range.IsLoaded()) return;
    // A handle stops at the other one and at the track's ends; one that
    // passes the marker takes it along and the player follows, as in a drag.
    if (m_focusHandle == SliderElement::End) {
        const auto v = static_cast<unsigned>(
            std::clamp<long long>(seconds, m_range.Begin(), m_range.Maximum()));
        if (v == m_range.End() || !m_range.SetEnd(v)) return;
        if (m_range.Position() > v) m_range.Seek(v, SeekOrigin::Slider);
    } else {
        const auto v = static_cast<unsigned>(std::clamp<long long>(seconds, 0, m_range.End()));
        if (v == m_range.Begin() || !m_range.SetBegin(v)) return;
        if (m_range.Position() < v) m_range.Seek(v, SeekOrigin::Slider);
    }
}

void CRangeSlider::SetFocusedHandle(SliderElement handle) {
    if (handle == m_focusHandle) return;
    m_focusHandle = handle;
    update();
    if (QAccessible::isActive()) {
        QAccessibleEvent named(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&named);
    }
    AnnounceValue();
}

void CRangeSlider::AnnounceValue() {
    if (!QAccessible::isActive()) return;
    QAccessibleValueChangeEvent changed(this, FocusedHandleValue());
    QAccessible::updateAccessibility(&changed);
}

bool CRangeSlider::event(QEvent* e) {
    // The focused slider's keys come before the window's shortcuts.
    if (e->type() == QEvent::ShortcutOverride && StepOf(*static_cast<QKeyEvent*>(e)) != 0) {
        e->accept();
        return true;
    }
    return QWidget::event(e);
}

void CRangeSlider::keyPressEvent(QKeyEvent* e) {
    const int step = StepOf(*e);
    if (step == 0) {
        QWidget::keyPressEvent(e);
        return;
    }
    MoveFocusedHandle(static_cast<long long>(FocusedHandleValue()) + step);
}

void CRangeSlider::focusInEvent(QFocusEvent* e) {
    // Tab comes to the begin handle first, Shift+Tab to the end handle.
    if (e->reason() == Qt::TabFocusReason) SetFocusedHandle(SliderElement::Begin);
    if (e->reason() == Qt::BacktabFocusReason) SetFocusedHandle(SliderElement::End);
    update();
    QWidget::focusInEvent(e);
}

void CRangeSlider::focusOutEvent(QFocusEvent* e) {
    update();
    QWidget::focusOutEvent(e);
}

bool CRangeSlider::focusNextPrevChild(bool next) {
    // Tab visits both handles before it leaves the slider.
    if (hasFocus() && next && m_focusHandle == SliderElement::Begin) {
        SetFocusedHandle(SliderElement::End);
        return true;
    }
    if (hasFocus() && !next && m_focusHandle == SliderElement::End) {
        SetFocusedHandle(SliderElement::Begin);
        return true;
    }
    return QWidget::focusNextPrevChild(next);
}
