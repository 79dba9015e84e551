// Qt side of the toolbar images: pixel buffers to and from QImage, magenta
// made transparent, and the three image sets as icons (hot images for the
// pointer-over state, normal and disabled copies).
#pragma once

#include <QIcon>
#include <QImage>
#include <vector>

#include "ui/image_filters.h"

PixelBuffer PixelBufferFromImage(const QImage& image);
QImage ImageFromPixelBuffer(const PixelBuffer& buffer);
// The image with every magenta pixel made fully transparent.
QPixmap PixmapWithMagentaMask(const QImage& image);

class CToolbarImageList {
public:
    // Cuts `strip` into square images of `size` pixels, left to right.
    static CToolbarImageList FromStrip(const QImage& strip, int size);

    int Count() const { return static_cast<int>(m_icons.size()); }
    // Normal mode: the normal copy; Active (pointer over a flat button):
    // the bitmap itself; Disabled: the grey copy. Null past the end.
    QIcon Icon(int index) const;

private:
    std::vector<QIcon> m_icons;
};
