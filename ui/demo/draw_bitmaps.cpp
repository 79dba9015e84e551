// Draws the program's bitmaps into a folder as PNG files: the toolbar strip
// (141: nine 24 × 24 images on magenta, the transparent colour) and the
// pictures of the hover buttons (normal, pressed and hover for Convert and
// Stop at 64 × 64, for Add, Delete and Save at 72 × 40), and the program's
// icon (128 at 32 × 32, and ../icons/zev.png at 128 × 128 for the desktop).
//
// Usage: zev-draw-bitmaps <folder>    (the folder is resources/bitmaps;
//        QT_QPA_PLATFORM=offscreen without a display)

#include <QColor>
#include <QDir>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <functional>

namespace {

constexpr int kIcon = 24;
constexpr QRgb kMagenta = 0xFFFF00FF;
// Edge pixels are blended over the toolbar's usual face colour and kept only
// where the drawing covers them well; the rest becomes magenta.
constexpr QRgb kToolbarFace = 0xFFEFEFEF;
constexpr int kKeepAlpha = 96;

using Glyph = std::function<void(QPainter&)>;

void Badge(QPainter& p, const QRectF& r, QColor top, QColor bottom) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setPen(QPen(bottom.darker(130), 1.0));
    p.setBrush(g);
    p.drawEllipse(r);
}

void Folder(QPainter& p, bool open) {
    p.setPen(QPen(QColor(0xA6, 0x7A, 0x1E), 1.0));
    p.setBrush(QColor(0xE8, 0xB3, 0x3C));
    QPainterPath back;
    back.moveTo(2.5, 5.5);
    back.lineTo(9.5, 5.5);
    back.lineTo(11.5, 7.5);
    back.lineTo(20.5, 7.5);
    back.lineTo(20.5, 19.5);
    back.lineTo(2.5, 19.5);
    back.closeSubpath();
    p.drawPath(back);
    QLinearGradient g(0, 9, 0, 20);
    g.setColorAt(0, QColor(0xFF, 0xDD, 0x7A));
    g.setColorAt(1, QColor(0xF2, 0xBE, 0x45));
    p.setBrush(g);
    QPainterPath front;
    if (open) {
        front.moveTo(5.5, 10.5);
        front.lineTo(22.5, 10.5);
        front.lineTo(19.5, 19.5);
        front.lineTo(2.5, 19.5);
    } else {
        front.addRect(QRectF(2.5, 9.5, 18, 10));
    }
    front.closeSubpath();
    p.drawPath(front);
}

void Page(QPainter& p) {
    p.setPen(QPen(QColor(0x70, 0x78, 0x84), 1.0));
    p.setBrush(Qt::white);
    QPainterPath page;
    page.moveTo(4.5, 2.5);
    page.lineTo(14.5, 2.5);
    page.lineTo(19.5, 7.5);
    page.lineTo(19.5, 21.5);
    page.lineTo(4.5, 21.5);
    page.closeSubpath();
    p.drawPath(page);
    p.setBrush(QColor(0xDD, 0xE3, 0xEA));
    p.drawPolygon(QPolygonF({QPointF(14.5, 2.5), QPointF(14.5, 7.5), QPointF(19.5, 7.5)}));
    p.setPen(QPen(QColor(0xA8, 0xB4, 0xC2), 1.0));
    for (double y = 10.5; y < 20; y += 2.5) p.drawLine(QPointF(7, y), QPointF(17, y));
}

void Cross(QPainter& p, const QPointF& c, double half, double width) {
    p.setPen(QPen(Qt::white, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-half, -half), c + QPointF(half, half));
    p.drawLine(c + QPointF(-half, half), c + QPointF(half, -half));
}

void Plus(QPainter& p, const QPointF& c, double half, double width) {
    p.setPen(QPen(Qt::white, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-half, 0), c + QPointF(half, 0));
    p.drawLine(c + QPointF(0, -half), c + QPointF(0, half));
}

void Letter(QPainter& p, const QRectF& r, const QString& text, int pixelSize) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(r, Qt::AlignCenter, text);
}

void FilmArrow(QPainter& p, double scale) {
    p.save();
    p.scale(scale, scale);
    // A film frame with sprocket holes, an arrow leaving it.
    p.setPen(QPen(QColor(0x33, 0x3A, 0x44), 1.0));
    p.setBrush(QColor(0x4A, 0x52, 0x5E));
    p.drawRoundedRect(QRectF(1.5, 4.5, 13, 15), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xE8, 0xEC, 0xF0));
    for (int i = 0; i < 4; ++i) {
        p.drawRect(QRectF(2.8, 6 + i * 3.5, 1.6, 1.8));
        p.drawRect(QRectF(11.6, 6 + i * 3.5, 1.6, 1.8));
    }
    p.setBrush(QColor(0x8F, 0xC3, 0xEA));
    p.drawRect(QRectF(5.2, 6, 5.6, 12));
    QLinearGradient g(0, 7, 0, 18);
    g.setColorAt(0, QColor(0x5C, 0xC8, 0x5C));
    g.setColorAt(1, QColor(0x24, 0x8F, 0x2E));
    p.setPen(QPen(QColor(0x1D, 0x6E, 0x25), 1.0));
    p.setBrush(g);
    p.drawPolygon(
        QPolygonF({QPointF(9.5, 9.5), QPointF(15.5, 9.5), QPointF(15.5, 6.0), QPointF(22.5, 12.0),
                   QPointF(15.5, 18.0), QPointF(15.5, 14.5), QPointF(9.5, 14.5)}));
    p.restore();
}

void Floppy(QPainter& p, double scale) {
    p.save();
    p.scale(scale, scale);
    QLinearGradient g(0, 3, 0, 21);
    g.setColorAt(0, QColor(0x4F, 0x8F, 0xD8));
    g.setColorAt(1, QColor(0x2A, 0x5F, 0xA8));
    p.setPen(QPen(QColor(0x1F, 0x4A, 0x86), 1.0));
    p.setBrush(g);
    QPainterPath body;
    body.moveTo(3.5, 3.5);
    body.lineTo(18.5, 3.5);
    body.lineTo(20.5, 5.5);
    body.lineTo(20.5, 20.5);
    body.lineTo(3.5, 20.5);
    body.closeSubpath();
    p.drawPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xF4, 0xF6, 0xF8));
    p.drawRect(QRectF(6.5, 12.5, 11, 8));
    p.setBrush(QColor(0xC9, 0xD6, 0xE6));
    p.drawRect(QRectF(7, 4, 9, 5.5));
    p.setBrush(QColor(0x2A, 0x5F, 0xA8));
    p.drawRect(QRectF(13, 4.8, 2, 4));
    p.restore();
}

void Door(QPainter& p) {
    p.setPen(QPen(QColor(0x6B, 0x4A, 0x2E), 1.0));
    p.setBrush(QColor(0x9C, 0x6B, 0x3F));
    p.drawRect(QRectF(3.5, 2.5, 11, 19));
    p.setBrush(QColor(0x3B, 0x2A, 0x1C));
    p.drawRect(QRectF(5.5, 4.5, 7, 15));
    QLinearGradient g(0, 8, 0, 17);
    g.setColorAt(0, QColor(0xF0, 0x6A, 0x5A));
    g.setColorAt(1, QColor(0xC0, 0x2F, 0x25));
    p.setPen(QPen(QColor(0x8E, 0x1F, 0x18), 1.0));
    p.setBrush(g);
    p.drawPolygon(
        QPolygonF({QPointF(9.5, 10.5), QPointF(15.5, 10.5), QPointF(15.5, 7.0), QPointF(22.0, 12.5),
                   QPointF(15.5, 18.0), QPointF(15.5, 14.5), QPointF(9.5, 14.5)}));
}

std::vector<Glyph> ToolbarGlyphs() {
    return {
        [](QPainter& p) { Folder(p, true); },    // Load File
        [](QPainter& p) { FilmArrow(p, 1.0); },  // Convert
        [](QPainter& p) {                        // Close File
            Page(p);
            Badge(p, QRectF(11.5, 11.5, 11, 11), QColor(0xF2, 0x6D, 0x5F),
                  QColor(0xC4, 0x2B, 0x1E));
            Cross(p, QPointF(17, 17), 2.4, 1.8);
        },
        [](QPainter& p) {  // Add
            Badge(p, QRectF(2.5, 2.5, 19, 19), QColor(0x6C, 0xD0, 0x6C), QColor(0x2A, 0x96, 0x34));
            Plus(p, QPointF(12, 12), 5.0, 2.6);
        },
        [](QPainter& p) { Floppy(p, 1.0); },  // Save
        [](QPainter& p) {                     // Del
            Badge(p, QRectF(2.5, 2.5, 19, 19), QColor(0xF2, 0x6D, 0x5F), QColor(0xC4, 0x2B, 0x1E));
            Cross(p, QPointF(12, 12), 4.0, 2.6);
        },
        [](QPainter& p) {  // Help
            Badge(p, QRectF(2.5, 2.5, 19, 19), QColor(0x62, 0xA8, 0xEC), QColor(0x22, 0x68, 0xC0));
            Letter(p, QRectF(2.5, 2.5, 19, 19), QStringLiteral("?"), 14);
        },
        [](QPainter& p) {  // About
            Badge(p, QRectF(2.5, 2.5, 19, 19), QColor(0x62, 0xA8, 0xEC), QColor(0x22, 0x68, 0xC0));
            Letter(p, QRectF(2.5, 2.5, 19, 19), QStringLiteral("i"), 14);
        },
        [](QPainter& p) { Door(p); },  // Exit
    };
}

QImage DrawToolbarStrip() {
    const std::vector<Glyph> glyphs = ToolbarGlyphs();
    const int count = static_cast<int>(glyphs.size());
    QImage art(kIcon * count, kIcon, QImage::Format_ARGB32);
    art.fill(Qt::transparent);
    QPainter p(&art);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    for (int i = 0; i < count; ++i) {
        p.save();
        p.translate(i * kIcon, 0);
        glyphs[i](p);
        p.restore();
    }
    p.end();

    QImage strip(art.size(), QImage::Format_RGB32);
    const QColor face = QColor::fromRgb(kToolbarFace);
    for (int y = 0; y < art.height(); ++y) {
        for (int x = 0; x < art.width(); ++x) {
            const QColor c = art.pixelColor(x, y);
            if (c.alpha() < kKeepAlpha) {
                strip.setPixel(x, y, kMagenta);
                continue;
            }
            const double a = c.alphaF();
            QColor blended = QColor::fromRgbF(c.redF() * a + face.redF() * (1 - a),
                                              c.greenF() * a + face.greenF() * (1 - a),
                                              c.blueF() * a + face.blueF() * (1 - a));
            QRgb v = blended.rgb();
            if ((v & 0xFFFFFF) == (kMagenta & 0xFFFFFF)) v ^= 0x000100;  // never the key
            strip.setPixel(x, y, v);
        }
    }
    return strip;
}

enum class Look { Normal, Pressed, Hover };

// A rounded button face on white (the panels behind these buttons are white).
void ButtonFace(QPainter& p, const QRectF& r, Look look) {
    QColor top(0xFA, 0xFA, 0xFA), bottom(0xE1, 0xE3, 0xE6), border(0xA9, 0xAF, 0xB7);
    if (look == Look::Hover) {
        top = QColor(0xEE, 0xF6, 0xFD);
        bottom = QColor(0xC8, 0xE1, 0xF7);
        border = QColor(0x3C, 0x7F, 0xB1);
    } else if (look == Look::Pressed) {
        top = QColor(0xBF, 0xDA, 0xF1);
        bottom = QColor(0xD8, 0xE9, 0xF8);
        border = QColor(0x2C, 0x62, 0x8B);
    }
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setPen(QPen(border, 1.0));
    p.setBrush(g);
    p.drawRoundedRect(r, 5, 5);
}

// The caption shrinks, a pixel at a time, until it fits its rectangle with
// a small margin on each side, so a long word doesn't touch the edge.
void Caption(QPainter& p, const QRectF& r, const QString& text, int pixelSize) {
    constexpr int kMargin = 2, kSmallest = 8;
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    for (f.setPixelSize(pixelSize); f.pixelSize() > kSmallest; f.setPixelSize(f.pixelSize() - 1))
        if (QFontMetricsF(f).horizontalAdvance(text) <= r.width() - 2 * kMargin) break;
    p.setFont(f);
    p.setPen(QColor(0x26, 0x2C, 0x33));
    p.drawText(r, Qt::AlignCenter, text);
}

QImage DrawButton(QSize size, Look look, const std::function<void(QPainter&)>& content) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    ButtonFace(p, QRectF(0.5, 0.5, size.width() - 1, size.height() - 1), look);
    if (look == Look::Pressed) p.translate(1, 1);
    content(p);
    return image;
}

// The program's icon: a film frame with the green arrow on a rounded blue
// tile, drawn at any size (32 for the window, 128 for the desktop).
QImage DrawAppIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    QLinearGradient g(0, 0, 0, 32);
    g.setColorAt(0, QColor(0x4F, 0x8F, 0xD8));
    g.setColorAt(1, QColor(0x1F, 0x4E, 0x96));
    p.setPen(QPen(QColor(0x17, 0x3B, 0x72), 1.0));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 6, 6);
    p.translate(4, 4);
    FilmArrow(p, 1.0);
    return image;
}

bool Save(const QImage& image, const QDir& dir, int id) {
    const QString path = dir.filePath(QStringLiteral("%1.png").arg(id));
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: zev-draw-bitmaps <folder>\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    bool ok = Save(DrawToolbarStrip(), dir, 141);
    ok = Save(DrawAppIcon(32), dir, 128) && ok;
    const QString bigIcon = dir.filePath(QStringLiteral("../icons/zev.png"));
    if (!DrawAppIcon(128).save(bigIcon, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(bigIcon));
        ok = false;
    }

    const auto convert = [](QPainter& p) {
        p.save();
        p.translate(12, 4);
        FilmArrow(p, 1.6);
        p.restore();
        Caption(p, QRectF(0, 44, 64, 16), QStringLiteral("Convert"), 11);
    };
    const auto stop = [](QPainter& p) {
        Badge(p, QRectF(17.5, 6.5, 29, 29), QColor(0xF2, 0x6D, 0x5F), QColor(0xC4, 0x2B, 0x1E));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(26, 15, 12, 12), 1.5, 1.5);
        Caption(p, QRectF(0, 44, 64, 16), QStringLiteral("Stop"), 11);
    };
    const auto small = [](const QString& caption, std::function<void(QPainter&)> glyph) {
        return [caption, glyph](QPainter& p) {
            p.save();
            p.translate(4, 8);
            glyph(p);
            p.restore();
            Caption(p, QRectF(29, 0, 41, 40), caption, 11);
        };
    };
    const auto add = small(QStringLiteral("Add"), [](QPainter& p) {
        Badge(p, QRectF(2.5, 2.5, 19, 19), QColor(0x6C, 0xD0, 0x6C), QColor(0x2A, 0x96, 0x34));
        Plus(p, QPointF(12, 12), 5.0, 2.6);
    });
    const auto del = small(QStringLiteral("Delete"), [](QPainter& p) {
        Badge(p, QRectF(2.5, 2.5, 19, 19), QColor(0xF2, 0x6D, 0x5F), QColor(0xC4, 0x2B, 0x1E));
        Cross(p, QPointF(12, 12), 4.0, 2.6);
    });
    const auto save = small(QStringLiteral("Save"), [](QPainter& p) { Floppy(p, 1.0); });

    struct Picture {
        int id;
        QSize size;
        Look look;
        std::function<void(QPainter&)> content;
    };
    const QSize big(64, 64), wide(72, 40);
    const Picture pictures[] = {
        {136, big, Look::Normal, convert}, {145, big, Look::Pressed, convert},
        {137, big, Look::Hover, convert},  {138, big, Look::Normal, stop},
        {146, big, Look::Pressed, stop},   {135, big, Look::Hover, stop},
        {132, wide, Look::Normal, add},    {133, wide, Look::Pressed, add},
        {134, wide, Look::Hover, add},     {147, wide, Look::Normal, del},
        {148, wide, Look::Pressed, del},   {149, wide, Look::Hover, del},
        {150, wide, Look::Normal, save},   {151, wide, Look::Pressed, save},
        {152, wide, Look::Hover, save},
    };
    for (const Picture& picture : pictures) {
        ok = Save(DrawButton(picture.size, picture.look, picture.content), dir, picture.id) && ok;
    }
    return ok ? 0 : 1;
}
