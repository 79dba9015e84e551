// A picture button with a tooltip that takes the keyboard focus while the
// pointer is over it, so that its focused picture serves as the hover
// picture; the focus goes back to the parent when the pointer leaves.
#pragma once

#include <QAbstractButton>
#include <QPixmap>

class CHoverButton : public QAbstractButton {
    Q_OBJECT

public:
    static constexpr int kTipBufferLength = 1024;

    explicit CHoverButton(QWidget* parent = nullptr);

    // Copies at most `length` characters of `text` (stopping at a NUL) as
    // the tip; a length of 1024 or more is refused with 0.
    int SetTipText(const char* text, int length);

    // Bitmap resource numbers for the normal, pressed, focused and disabled
    // pictures; 0 stands for no picture. False when the normal one is
    // missing.
    bool LoadBitmaps(int normal, int pressed = 0, int focused = 0, int disabled = 0);
    void SetPictures(const QPixmap& normal, const QPixmap& pressed, const QPixmap& focused,
                     const QPixmap& disabled);

    QSize sizeHint() const override;
    // The picture that the button shows in its current state.
    const QPixmap& CurrentPicture() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QPixmap m_bmpNormal;
    QPixmap m_bmpPressed;
    QPixmap m_bmpFocused;
    QPixmap m_bmpDisabled;
    char m_szTip[kTipBufferLength] = {};
};
