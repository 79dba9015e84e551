#include "preview/transport_images.h"

#include <QPainter>
#include <QPolygon>

namespace {

const QColor kInk(24, 24, 24);

void Triangle(QPainter& p, int x0, int x1, int top, int bottom, bool pointsRight) {
    const int mid = (top + bottom) / 2;
    QPolygon tri;
    if (pointsRight)
        tri << QPoint(x0, top) << QPoint(x1, mid) << QPoint(x0, bottom);
    else
        tri << QPoint(x1, top) << QPoint(x0, mid) << QPoint(x1, bottom);
    p.drawPolygon(tri);
}

}  // namespace

QImage TransportImageStrip() {
    QImage strip(kTransportImageWidth * kTransportImageCount, kTransportImageHeight,
                 QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    auto at = [&](int index) {
        p.resetTransform();
        p.translate(index * kTransportImageWidth, 0);
    };
    at(0);  // play
    Triangle(p, 4, 13, 2, 13, true);
    at(1);  // pause
    p.drawRect(4, 3, 3, 10);
    p.drawRect(9, 3, 3, 10);
    at(2);  // stop
    p.drawRect(4, 3, 9, 9);
    // 3: blank
    at(4);  // skip to start
    p.drawRect(3, 3, 2, 10);
    Triangle(p, 5, 13, 3, 12, false);
    at(5);  // rewind
    Triangle(p, 1, 8, 3, 12, false);
    Triangle(p, 8, 15, 3, 12, false);
    at(6);  // fast forward
    Triangle(p, 1, 8, 3, 12, true);
    Triangle(p, 8, 15, 3, 12, true);
    at(7);  // skip to end
    Triangle(p, 3, 11, 3, 12, true);
    p.drawRect(11, 3, 2, 10);
    return strip;
}
