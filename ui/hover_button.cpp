#include "ui/hover_button.h"

#include <QMouseEvent>
#include <QPainter>
#include <cstring>

#include "ui/bitmaps.h"

namespace {
QPixmap LoadPicture(int id) {
    const QImage image = LoadBitmapResource(id);
    return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
}
}  // namespace

CHoverButton::CHoverButton(QWidget* parent) : QAbstractButton(parent) {
    // Move events without a pressed button are what give the hover focus.
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

int CHoverButton::SetTipText(const char* text, int length) {
    if (!text || length < 0 || length >= kTipBufferLength) return 0;
    const std::size_t count = strnlen(text, static_cast<std::size_t>(length));
    std::memcpy(m_szTip, text, count);
    m_szTip[count] = '\0';
    setToolTip(QString::fromLocal8Bit(m_szTip, static_cast<qsizetype>(count)));
    return length;
}

bool CHoverButton::LoadBitmaps(int normal, int pressed, int focused, int disabled) {
    SetPictures(LoadPicture(normal), LoadPicture(pressed), LoadPicture(focused),
                LoadPicture(disabled));
    return !m_bmpNormal.isNull();
}

void CHoverButton::SetPictures(const QPixmap& normal, const QPixmap& pressed,
                               const QPixmap& focused, const QPixmap& disabled) {
    m_bmpNormal = normal;
    m_bmpPressed = pressed;
    m_bmpFocused = focused;
    m_bmpDisabled = disabled;
    updateGeometry();
    update();
}

QSize CHoverButton::sizeHint() const {
    return m_bmpNormal.isNull() ? QSize(24, 24) : m_bmpNormal.deviceIndependentSize().toSize();
}

const QPixmap& CHoverButton::CurrentPicture() const {
    // The picture-button rule: a missing picture falls back to the normal one.
    if (!isEnabled() && !m_bmpDisabled.isNull()) return m_bmpDisabled;
    if (isDown() && !m_bmpPressed.isNull()) return m_bmpPressed;
    if (hasFocus() && !m_bmpFocused.isNull()) return m_bmpFocused;
    return m_bmpNormal;
}

void CHoverButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPixmap& picture = CurrentPicture();
    if (picture.isNull()) {
        painter.fillRect(rect(), palette().color(QPalette::Button));
        painter.drawText(rect(), Qt::AlignCenter, text());
        return;
    }
    painter.drawPixmap(rect(), picture);
}

void CHoverButton::mouseMoveEvent(QMouseEvent* event) {
    if (rect().contains(event->position().toPoint()) && !hasFocus()) {
        setFocus(Qt::MouseFocusReason);
    }
    QAbstractButton::mouseMoveEvent(event);
}

void CHoverButton::leaveEvent(QEvent* event) {
    if (QWidget* parent = parentWidget()) parent->setFocus(Qt::MouseFocusReason);
    QAbstractButton::leaveEvent(event);
}
