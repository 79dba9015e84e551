#include "ui/drag_feedback.h"

#include <QPainter>

CDragFeedback::CDragFeedback(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    hide();
}

void CDragFeedback::Start() {
    hide();
    QWidget* owner = parentWidget();
    m_snapshot = owner->grab().toImage().convertToFormat(QImage::Format_RGB32);
    m_snapshot.setDevicePixelRatio(1.0);
}

void CDragFeedback::MoveTo(const QRect& band) {
    setGeometry(band);
    raise();
    show();
    update();
}

void CDragFeedback::Stop() {
    hide();
    m_snapshot = QImage();
}

void CDragFeedback::paintEvent(QPaintEvent*) {
    const QRect band = geometry();
    QImage picture(band.size(), QImage::Format_RGB32);
    picture.fill(Qt::gray);
    for (int y = 0; y < band.height(); ++y) {
        const int sy = band.top() + y;
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < band.width(); ++x) {
            const int sx = band.left() + x;
            QRgb p = m_snapshot.valid(sx, sy) ? m_snapshot.pixel(sx, sy) : row[x];
            // The halftone pattern: a checkerboard in parent coordinates.
            if (((sx + sy) & 1) == 0) p = ~p | 0xFF000000;
            row[x] = p;
        }
    }
    QPainter painter(this);
    painter.drawImage(0, 0, picture);
}
