#include "ui/pane_splitter.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTabBar>
#include <QTabWidget>

#include "ui/drag_feedback.h"

CPaneSplitter::CPaneSplitter(int panes, int orientation, int minPane, int bar, QWidget* parent)
    : QWidget(parent),
      m_nOrientation(orientation),
      m_layout(panes, minPane, bar),
      m_pPanes(m_layout.PaneCount()) {
    setCursor(IsSideBySide() ? Qt::SizeHorCursor : Qt::SizeVerCursor);
    // Bars are painted in full; nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_pFeedback = new CDragFeedback(this);
}

CPaneSplitter::~CPaneSplitter() = default;

bool CPaneSplitter::Create(QWidget* parent) {
    if (!parent) return false;
    setParent(parent);
    setGeometry(parent->rect());
    show();
    return true;
}

bool CPaneSplitter::SetProportions(const std::vector<int>& weights) {
    if (!m_layout.SetProportions(weights)) return false;
    Layout();
    ApplyLayout();
    return true;
}

bool CPaneSplitter::AddPane(int index, QWidget* pane, int controlId) {
    if (index < 0 || index >= m_layout.PaneCount() || !pane) return false;
    m_pPanes[index] = pane;
    pane->setParent(this);
    pane->setGeometry(GetPaneRect(index));
    pane->show();
    m_pFeedback->raise();
    if (controlId == kTabControlId) {
        auto forward = [this, controlId](int selected) {
            emit TabSelectionChanged(controlId, selected);
        };
        if (auto* tabs = qobject_cast<QTabWidget*>(pane)) {
            connect(tabs, &QTabWidget::currentChanged, this, forward);
        } else if (auto* bar = qobject_cast<QTabBar*>(pane)) {
            connect(bar, &QTabBar::currentChanged, this, forward);
        }
    }
    return true;
}

QWidget* CPaneSplitter::Pane(int index) const {
    if (index < 0 || index >= m_layout.PaneCount()) return nullptr;
    return m_pPanes[index];
}

void CPaneSplitter::SetFocusPane(int index) {
    if (QWidget* pane = Pane(index)) pane->setFocus(Qt::OtherFocusReason);
}

QRect CPaneSplitter::SpanRect(int start, int end, int cross) const {
    return IsSideBySide() ? QRect(start, 0, end - start, cross)
                          : QRect(0, start, cross, end - start);
}

QRect CPaneSplitter::GetPaneRect(int index) const {
    if (index < 0 || index >= m_layout.PaneCount()) return {};
    return SpanRect(m_layout.PaneStart(index), m_layout.PaneEnd(index), CrossExtent());
}

void CPaneSplitter::Layout() {
    m_layout.Layout(AxisExtent());
}

void CPaneSplitter::ApplyLayout() {
    for (int i = 0; i < m_layout.PaneCount(); ++i) {
        QWidget* pane = m_pPanes[i];
        if (!pane) continue;
        pane->setGeometry(GetPaneRect(i));
        if (pane->isVisible()) pane->repaint();
    }
    update();
}

QRect CPaneSplitter::DragFeedbackRect() const {
    if (!m_layout.IsDragging()) return {};
    const int end = m_layout.DragPos();
    return SpanRect(end - m_layout.Bar(), end, m_nCrossExtent);
}

void CPaneSplitter::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Layout();
    ApplyLayout();
}

void CPaneSplitter::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QColor face = palette().color(QPalette::Button);
    const QRect area = event->rect();
    for (int k = 1; k < m_layout.PaneCount(); ++k) {
        const int end = m_layout.Pos(k);
        QRect bar = IsSideBySide()
                        ? QRect(end - m_layout.Bar(), area.top(), m_layout.Bar(), area.height())
                        : QRect(area.left(), end - m_layout.Bar(), area.width(), m_layout.Bar());
        painter.fillRect(bar, face);
    }
    // Beyond the last pane (a window shorter than its minimums) stays plain.
    const QRect tail = SpanRect(m_layout.Pos(m_layout.PaneCount()), AxisExtent(), CrossExtent());
    if (tail.isValid()) painter.fillRect(tail, face);
}

void CPaneSplitter::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    if (!m_layout.BeginDrag(AlongAxis(event->position().toPoint()))) return;
    m_nCrossExtent = CrossExtent();
    m_pFeedback->Start();
    MoveFeedback();
}

void CPaneSplitter::mouseMoveEvent(QMouseEvent* event) {
    if (!m_layout.IsDragging()) return QWidget::mouseMoveEvent(event);
    m_layout.DragTo(AlongAxis(event->position().toPoint()));
    MoveFeedback();
}

void CPaneSplitter::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_layout.IsDragging() || event->button() != Qt::LeftButton) {
        return QWidget::mouseReleaseEvent(event);
    }
    m_pFeedback->Stop();
    // The two neighbouring shares change; no Layout, so a too-small window
    // keeps the dragged position until its next resize.
    m_layout.EndDrag();
    ApplyLayout();
}

void CPaneSplitter::MoveFeedback() {
    m_pFeedback->MoveTo(DragFeedbackRect());
}
