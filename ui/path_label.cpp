#include "ui/path_label.h"

#include <QPainter>

CPathLabel::CPathLabel(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
}

void CPathLabel::setText(const QString& text) {
    if (m_text == text) return;
    m_text = text;
    setToolTip(text);
    update();
}

QString CPathLabel::ShownText() const {
    return fontMetrics().elidedText(m_text, Qt::ElideMiddle, contentsRect().width() - 4);
}

void CPathLabel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawText(contentsRect().adjusted(2, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft,
                     ShownText());
}
