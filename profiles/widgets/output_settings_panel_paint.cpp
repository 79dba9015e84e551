// Painting the panel and putting its controls where the layout says.
#include <QPaintEvent>
#include <QPainter>

#include "profiles/widgets/output_settings_panel.h"

namespace {

constexpr int kHeadingPointSize = 10;

QRect ToQRect(const PanelRect& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}

}  // namespace

QFont COutputSettingsPanel::HeadingFont() const {
    // Where Verdana isn't installed fontconfig offers its closest bold
    // sans-serif (DejaVu Sans Bold on most systems).
    QFont font(QStringLiteral("Verdana"), kHeadingPointSize, QFont::Bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

OutputPanelLayout COutputSettingsPanel::CurrentLayout() const {
    return LayOutOutputPanel(width(), QFontMetrics(HeadingFont(), this).averageCharWidth());
}

void COutputSettingsPanel::PlaceControls(const OutputPanelLayout& layout) {
    for (const PanelControlPlace& place : layout.controls) {
        QWidget* control = Control(place.id);
        const QRect rect = ToQRect(place.rect);
        if (control && control->geometry() != rect) control->setGeometry(rect);
    }
}

void COutputSettingsPanel::paintEvent(QPaintEvent*) {
    const OutputPanelLayout layout = CurrentLayout();
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const QFont font = HeadingFont();
    p.setFont(font);
    const int ascent = QFontMetrics(font, this).ascent();
    const QColor accent(kPanelAccentRed, kPanelAccentGreen, kPanelAccentBlue);
    for (const PanelText& t : layout.texts) {
        p.setPen(t.accent ? accent : QColor(Qt::black));
        p.drawText(QPoint(t.x, t.y + ascent), QString::fromLatin1(t.text.c_str()));
    }
    p.setPen(QPen(Qt::black, 1));
    for (int y : layout.separatorYs) p.drawLine(0, y, width(), y);
    // The frame sits just outside the control so that the control doesn't
    // cover it.
    p.setBrush(Qt::NoBrush);
    for (const PanelControlPlace& place : layout.controls)
        if (place.framed) p.drawRect(ToQRect(place.rect).adjusted(-1, -1, 0, 0));
    // The panel holds the focus after Enter: the control Tab goes on from.
    if (hasFocus() && m_pHandedFocus) {
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.drawRect(m_pHandedFocus->geometry().adjusted(-3, -3, 2, 2));
    }
    p.end();
    PlaceControls(layout);
}

void COutputSettingsPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceControls(CurrentLayout());
    update();
}
