#include "preview/time_field.h"

#include <QKeyEvent>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <algorithm>

#include "preview/range_accessible.h"
#include "preview/range_model.h"
#include "preview/time_value.h"
#include "ui/focus_chain.h"

namespace {
constexpr int kEditMargins = 4;
}  // namespace

TimeFieldGeometry TimeFieldGeometryFor(const QFontMetrics& fm) {
    TimeFieldGeometry g{};
    g.unit = std::max(fm.averageCharWidth(), fm.horizontalAdvance(QLatin1Char('0')));
    g.boxWidth = 2 * g.unit + 2 + kEditMargins;
    g.boxHeight = fm.height() + 2;
    g.boxX[0] = 0;
    g.colonX[0] = g.boxWidth + 1;
    g.boxX[1] = g.boxWidth + g.unit;
    g.colonX[1] = g.boxX[1] + g.boxWidth + 1;
    g.boxX[2] = g.boxX[1] + g.boxWidth + g.unit;
    g.width = g.boxX[2] + g.boxWidth;
    return g;
}

CTimeDigitBox::CTimeDigitBox(CTimeField* field) : QLineEdit(field), m_field(field) {
    // Typing is limited to two digits; the program may show more hours.
    setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,2}"), this));
    setFrame(false);
    setAlignment(Qt::AlignCenter);
    setTextMargins(0, 0, 0, 0);
    setContentsMargins(0, 0, 0, 0);
    setText("00");
}

bool CTimeDigitBox::event(QEvent* e) {
    // Tab would move the focus through the window; here it goes to the field.
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
            QMetaObject::invokeMethod(m_field, &CTimeField::FocusNextBox, Qt::QueuedConnection);
            return true;
        }
    }
    return QLineEdit::event(e);
}

void CTimeDigitBox::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        m_field->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (e->key() == Qt::Key_Backspace) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    const QString text = e->text();
    const bool typed = !text.isEmpty() && text.at(0).isPrint();
    if (typed && !(text.size() == 1 && text.at(0) >= '0' && text.at(0) <= '9')) return;
    QLineEdit::keyPressEvent(e);
}

void CTimeDigitBox::focusOutEvent(QFocusEvent* e) {
    setText(QString::fromStdString(CommittedBoxText(text().toStdString())));
    // Not now: the focus is still on its way to the next widget.
    QMetaObject::invokeMethod(m_field, &CTimeField::Commit, Qt::QueuedConnection);
    QLineEdit::focusOutEvent(e);
}

CTimeField::CTimeField(CRangeModel& range, RangePart part, QWidget* parent)
    : QWidget(parent), m_range(range), m_part(part) {
    setFocusPolicy(Qt::ClickFocus);
    InstallRangeAccessibility();
    static const char* const kBoxNames[3] = {"Hours", "Minutes", "Seconds"};
    for (int i = 0; i < 3; ++i) {
        m_boxes[i] = new CTimeDigitBox(this);
        m_boxes[i]->setAccessibleName(QString::fromLatin1(kBoxNames[i]));
    }
    PlaceBoxes();
    Reset();

    connect(&m_range, &CRangeModel::Loaded, this, &CTimeField::OnLoaded);
    connect(&m_range, &CRangeModel::Closed, this, &CTimeField::Reset);
    switch (m_part) {
        case RangePart::Begin:
            connect(&m_range, &CRangeModel::BeginChanged, this, &CTimeField::ShowValue);
            break;
        case RangePart::End:
            connect(&m_range, &CRangeModel::EndChanged, this, &CTimeField::ShowValue);
            break;
        case RangePart::Position:
            connect(&m_range, &CRangeModel::PositionChanged, this, &CTimeField::ShowValue);
            break;
    }
}

void CTimeField::OnLoaded(unsigned duration) {
    // The maximum first: ShowValue ignores values above it. The begin and
    // the position show 0 since the reset that came before the load.
    SetMaximum(duration);
    if (m_part == RangePart::End) ShowValue(duration);
    setEnabled(true);
}

unsigned CTimeField::GetValue() const {
    return FieldValue(m_boxes[0]->text().toStdString(), m_boxes[1]->text().toStdString(),
                      m_boxes[2]->text().toStdString());
}

QString CTimeField::Text() const {
    return m_boxes[0]->text() + ":" + m_boxes[1]->text() + ":" + m_boxes[2]->text();
}

void CTimeField::ShowValue(unsigned seconds) {
    if (seconds > m_nMax) return;
    m_nPrevious = GetValue();
    const TimeFieldTexts t = TextsOfValue(seconds);
    m_boxes[0]->setText(QString::fromStdString(t.hours));
    m_boxes[1]->setText(QString::fromStdString(t.minutes));
    m_boxes[2]->setText(QString::fromStdString(t.seconds));
}

void CTimeField::Reset() {
    ShowValue(0);
    setEnabled(false);
}

void CTimeField::Commit() {
    const unsigned v = GetValue();
    switch (DecideCommit(v, m_nPrevious, m_nMax)) {
        case FieldCommit::Nothing:
            break;
        case FieldCommit::Restore:
            ShowValue(m_nPrevious);
            break;
        case FieldCommit::Report:
            ShowValue(v);
            HandOver(v);
            break;
    }
}

void CTimeField::Enter(unsigned seconds) {
    if (seconds > m_nMax) return;
    ShowValue(seconds);
    HandOver(seconds);
}

void CTimeField::HandOver(unsigned seconds) {
    switch (m_part) {
        case RangePart::Begin:
            if (!m_range.SetBegin(seconds)) ShowValue(m_range.Begin());
            break;
        case RangePart::End:
            if (!m_range.SetEnd(seconds)) ShowValue(m_range.End());
            break;
        case RangePart::Position:
            // Outside the range nothing happens; the typed text stays until
            // the next update.
            m_range.Seek(seconds, SeekOrigin::TypedTime);
            break;
    }
}

void CTimeField::FocusNextBox() {
    for (int i = 0; i < 3; ++i) {
        if (!m_boxes[i]->hasFocus()) continue;
        CTimeDigitBox* next = m_boxes[(i + 1) % 3];
        next->setFocus(Qt::TabFocusReason);
        next->selectAll();
        return;
    }
}

void CTimeField::PlaceBoxes() {
    const TimeFieldGeometry g = TimeFieldGeometryFor(QFontMetrics(font()));
    for (int i = 0; i < 3; ++i) m_boxes[i]->setGeometry(g.boxX[i], 0, g.boxWidth, g.boxHeight);
}

void CTimeField::resizeEvent(QResizeEvent*) {
    PlaceBoxes();
    repaint();
}

void CTimeField::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const QFontMetrics fm(font());
    const TimeFieldGeometry g = TimeFieldGeometryFor(fm);
    // The boxes cover the rest of the field: the colons show its focus.
    const bool focused = hasFocus();
    p.setPen(focused ? palette().color(QPalette::HighlightedText) : QColor(4, 0, 0));
    for (int x : g.colonX) {
        const QRect cell(x, 0, g.unit, fm.height());
        if (focused) p.fillRect(cell, palette().color(QPalette::Highlight));
        p.drawText(cell, Qt::AlignLeft | Qt::AlignTop, ":");
    }
}

void CTimeField::focusInEvent(QFocusEvent* e) {
    update();
    QWidget::focusInEvent(e);
}

void CTimeField::focusOutEvent(QFocusEvent* e) {
    update();
    QWidget::focusOutEvent(e);
}

bool CTimeField::focusNextPrevChild(bool next) {
    // From the field itself Tab goes past its boxes; Shift+Tab already
    // leads out, the boxes following the field in the Tab order.
    if (next && hasFocus()) {
        if (QWidget* after = NextTabStop(m_boxes[2], true)) {
            after->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QWidget::focusNextPrevChild(next);
}

void CTimeField::mousePressEvent(QMouseEvent* e) {
    // A box being edited loses the focus, and so commits its value.
    setFocus(Qt::MouseFocusReason);
    QWidget::mousePressEvent(e);
}
