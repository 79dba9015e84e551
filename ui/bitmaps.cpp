#include "ui/bitmaps.h"

#include <QString>

// The resources sit in a static library: referencing their initialiser here
// keeps the linker from dropping them. (Outside any namespace, as the
// initialiser's declaration must be.)
static bool InitBitmapResources() {
    Q_INIT_RESOURCE(bitmaps);
    return true;
}

QImage LoadBitmapResource(int id) {
    static const bool initialised = InitBitmapResources();
    (void)initialised;
    if (id <= 0) return {};
    QImage image(QStringLiteral(":/zev/bitmaps/%1.png").arg(id));
    if (image.isNull()) return {};
    return image.convertToFormat(QImage::Format_RGB32);
}
