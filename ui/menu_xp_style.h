// The flat menu look: popup items with a light icon gutter, a highlighted
// rectangle, thin separators, bold default items, right-aligned accelerator
// texts, check and radio marks; menu bar items as flat tabs that join their
// open popup; a one-pixel dark border and, where the window system draws no
// shadow, a four-pixel shadow of the program's own. Widgets of windows
// without the "XPWndProp_MenuXP" property keep the base style's look.
#pragma once

#include <QHash>
#include <QPixmap>
#include <QPointer>
#include <QProxyStyle>

#include "ui/menu_colors.h"

class QKeyEvent;
class QMenu;

// Item heights from the menu font's text height.
int MenuItemHeight(int textHeight);
int MenuSeparatorHeight(int textHeight);

// Width of the shadow strips at the right and bottom of a popup.
constexpr int kMenuShadowWidth = 4;
// The three border rings of a popup: one dark, two in the background colour.
constexpr int kMenuBorderWidth = 3;

class CMenuXPStyle : public QProxyStyle {
    Q_OBJECT

public:
    // Takes ownership of `base` (nullptr: the application's default style).
    explicit CMenuXPStyle(QStyle* base = nullptr);

    // Whether popups get the program's own shadow. Defaults to true except
    // on platforms whose compositor always draws one (Wayland).
    void SetDrawsOwnShadows(bool on) { m_bOwnShadows = on; }

    static CMenuColors ColorsFor(const QPalette& palette);

    void polish(QWidget* widget) override;
    void unpolish(QWidget* widget) override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // What the screen shows at `global` before the popup covers it; a null
    // pixmap when the platform can't tell.
    virtual QPixmap GrabScreenUnder(QWidget* menu, const QRect& global) const;

private:
    // One open popup: what lay under its shadow before it appeared.
    struct MenuWindowRecord {
        QPixmap under;
    };

    void DrawPopupItem(const QStyleOption* option, QPainter* painter, const QWidget* widget) const;
    void DrawMenuBarItem(const QStyleOption* option, QPainter* painter,
                         const QWidget* widget) const;
    void DrawPopupFrame(const QStyleOption* option, QPainter* painter, const QWidget* widget) const;
    void DrawItemImage(QPainter* painter, const QIcon& icon, const QRect& item, bool enabled,
                       bool highlighted, bool checked, const CMenuColors& colors) const;
    void DrawCheckMark(QPainter* painter, const QRect& item, bool radio, const QColor& color) const;
    bool HandleMenuChar(QMenu* menu, QKeyEvent* event) const;

    bool m_bOwnShadows;
    QHash<const QWidget*, MenuWindowRecord> m_menuWindows;
    // The open menu bar item, in global coordinates, while its popup shows.
    mutable QRect m_rcOpenBarItem;
    mutable QPointer<const QWidget> m_pOpenBar;
};
