#include "ui/toolbar_images.h"

#include <QPixmap>

PixelBuffer PixelBufferFromImage(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    PixelBuffer buffer(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) buffer.At(x, y) = row[x] & 0x00FFFFFF;
    }
    return buffer;
}

QImage ImageFromPixelBuffer(const PixelBuffer& buffer) {
    QImage image(buffer.width, buffer.height, QImage::Format_RGB32);
    for (int y = 0; y < buffer.height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < buffer.width; ++x) row[x] = buffer.At(x, y) | 0xFF000000;
    }
    return image;
}

QPixmap PixmapWithMagentaMask(const QImage& image) {
    QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(argb.scanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            if ((row[x] & 0x00FFFFFF) == kMagentaKey) row[x] = 0;
        }
    }
    return QPixmap::fromImage(argb);
}

CToolbarImageList CToolbarImageList::FromStrip(const QImage& strip, int size) {
    CToolbarImageList list;
    if (strip.isNull() || size <= 0) return list;
    const ToolbarImageSets sets = MakeToolbarImageSets(PixelBufferFromImage(strip));
    const QImage hot = ImageFromPixelBuffer(sets.hot);
    const QImage normal = ImageFromPixelBuffer(sets.normal);
    const QImage disabled = ImageFromPixelBuffer(sets.disabled);
    for (int x = 0; x + size <= strip.width(); x += size) {
        const QRect cell(x, 0, size, std::min(size, strip.height()));
        QIcon icon;
        icon.addPixmap(PixmapWithMagentaMask(normal.copy(cell)), QIcon::Normal);
        icon.addPixmap(PixmapWithMagentaMask(hot.copy(cell)), QIcon::Active);
        icon.addPixmap(PixmapWithMagentaMask(hot.copy(cell)), QIcon::Selected);
        icon.addPixmap(PixmapWithMagentaMask(disabled.copy(cell)), QIcon::Disabled);
        list.m_icons.push_back(icon);
    }
    return list;
}

QIcon CToolbarImageList::Icon(int index) const {
    if (index < 0 || index >= Count()) return {};
    return m_icons[index];
}
