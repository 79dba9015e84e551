#include "ui/menu_xp_style.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QStyleOptionMenuItem>
#include <cmath>

#include "ui/menu_mnemonic.h"
#include "ui/menu_xp_look.h"

namespace {

constexpr int kTextLeft = 30;          // labels start here in a popup item
constexpr int kAccelRightMargin = 12;  // accelerators end this far from the right
constexpr int kItemExtraWidth = 42;    // label start + accelerator margin
constexpr int kAccelGap = 12;          // keeps a label off its own accelerator
constexpr int kImageSize = 16;
constexpr int kSeparatorLeft = 30;
constexpr int kBarItemShadow = 4;
// Darkening of the shadow pixels, from the window edge outward.
constexpr double kShadowFactor[kMenuShadowWidth] = {0.78, 0.83, 0.88, 0.93};

QColor ToColor(Pixel p) {
    return QColor(PixelRed(p), PixelGreen(p), PixelBlue(p));
}
Pixel ToPixel(const QColor& c) {
    return MakePixel(static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                     static_cast<std::uint8_t>(c.blue()));
}

QString LabelOf(const QString& text) {
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    return tab >= 0 ? text.left(tab) : text;
}

QString AcceleratorOf(const QString& text) {
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    return tab >= 0 ? text.mid(tab + 1) : QString();
}

QFont ItemFont(const QStyleOptionMenuItem* item) {
    QFont font = item->font;
    font.setBold(item->menuItemType == QStyleOptionMenuItem::DefaultItem);
    return font;
}

// Darkens one pixel to `factor` of its colour: black drawn over it with the
// complementary opacity.
void DarkenPixel(QPainter* painter, int x, int y, double factor) {
    painter->fillRect(QRect(x, y, 1, 1), QColor(0, 0, 0, qRound((1.0 - factor) * 255.0)));
}

// The popup's shadow along its right and bottom edges, with rounded ends;
// `body` is the popup without the shadow strips.
void DrawShadow(QPainter* painter, const QRect& body) {
    const int right = body.right();
    const int bottom = body.bottom();
    const auto softened = [](int along, double factor) {
        // The strips start 4 pixels in and fade in over their first 4.
        if (along >= 2 * kMenuShadowWidth) return factor;
        const double weight = (along - kMenuShadowWidth + 1) / double(kMenuShadowWidth + 1);
        return 1.0 - (1.0 - factor) * weight;
    };
    for (int d = 0; d < kMenuShadowWidth; ++d) {
        for (int y = body.top() + kMenuShadowWidth; y <= bottom; ++y) {
            DarkenPixel(painter, right + 1 + d, y, softened(y - body.top(), kShadowFactor[d]));
        }
        for (int x = body.left() + kMenuShadowWidth; x <= right; ++x) {
            DarkenPixel(painter, x, bottom + 1 + d, softened(x - body.left(), kShadowFactor[d]));
        }
    }
    // The outer corner, rounded.
    for (int dy = 0; dy < kMenuShadowWidth; ++dy) {
        for (int dx = 0; dx < kMenuShadowWidth; ++dx) {
            const int depth = qRound(std::sqrt(double(dx * dx + dy * dy)));
            if (depth >= kMenuShadowWidth) continue;
            DarkenPixel(painter, right + 1 + dx, bottom + 1 + dy, kShadowFactor[depth]);
        }
    }
}

QRect BodyRect(const QRect& full, bool ownShadow) {
    return ownShadow ? full.adjusted(0, 0, -kMenuShadowWidth, -kMenuShadowWidth) : full;
}

}  // namespace

int MenuItemHeight(int textHeight) {
    return textHeight + 2 > 16 ? textHeight + 6 : 20;
}
int MenuSeparatorHeight(int textHeight) {
    return textHeight / 2 + 2;
}

CMenuXPStyle::CMenuXPStyle(QStyle* base)
    : QProxyStyle(base), m_bOwnShadows(QGuiApplication::platformName() != "wayland") {}

CMenuColors CMenuXPStyle::ColorsFor(const QPalette& palette) {
    return CMenuColors::Derive(ToPixel(palette.color(QPalette::Button)),
                               ToPixel(palette.color(QPalette::Highlight)));
}

void CMenuXPStyle::polish(QWidget* widget) {
    QProxyStyle::polish(widget);
    if (qobject_cast<QMenu*>(widget)) widget->installEventFilter(this);
}

void CMenuXPStyle::unpolish(QWidget* widget) {
    if (qobject_cast<QMenu*>(widget)) {
        widget->removeEventFilter(this);
        m_menuWindows.remove(widget);
    }
    QProxyStyle::unpolish(widget);
}

int CMenuXPStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                              const QWidget* widget) const {
    if (UsesMenuXPLook(widget)) {
        switch (metric) {
            case PM_MenuPanelWidth:
                return kMenuBorderWidth;
            case PM_MenuHMargin:
            case PM_MenuVMargin:
            case PM_MenuBarItemSpacing:
                return 0;
            default:
                break;
        }
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
}

QSize CMenuXPStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                     const QSize& size, const QWidget* widget) const {
    if (!UsesMenuXPLook(widget)) return QProxyStyle::sizeFromContents(type, option, size, widget);
    switch (type) {
        case CT_MenuItem:
            if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
                const int textHeight = QFontMetrics(item->font).height();
                if (item->menuItemType == QStyleOptionMenuItem::Separator) {
                    return QSize(kItemExtraWidth, MenuSeparatorHeight(textHeight));
                }
                QString label = LabelOf(item->text);
                label.remove(label.indexOf(QLatin1Char('&')), 1);
                int width = QFontMetrics(ItemFont(item)).horizontalAdvance(label) + kItemExtraWidth;
                // The menu adds the widest accelerator text itself.
                if (!AcceleratorOf(item->text).isEmpty()) width += kAccelGap;
                return QSize(width, MenuItemHeight(textHeight));
            }
            break;
        case CT_MenuBarItem:
            return QProxyStyle::sizeFromContents(type, option, size, widget) +
                   QSize(kBarItemShadow, 0);
        case CT_Menu:
            if (m_bOwnShadows) return size + QSize(kMenuShadowWidth, kMenuShadowWidth);
            break;
        default:
            break;
    }
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}

void CMenuXPStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                 QPainter* painter, const QWidget* widget) const {
    if (UsesMenuXPLook(widget)) {
        switch (element) {
            case PE_PanelMenu: {
                const CMenuColors colors = ColorsFor(option->palette);
                painter->fillRect(BodyRect(option->rect, m_bOwnShadows),
                                  ToColor(colors.background));
                DrawPopupFrame(option, painter, widget);
                return;
            }
            case PE_FrameMenu:
                DrawPopupFrame(option, painter, widget);
                return;
            case PE_PanelMenuBar:
                painter->fillRect(option->rect, option->palette.color(QPalette::Window));
                return;
            default:
                break;
        }
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void CMenuXPStyle::drawControl(ControlElement element, const QStyleOption* option,
                               QPainter* painter, const QWidget* widget) const {
    if (UsesMenuXPLook(widget)) {
        switch (element) {
            case CE_MenuItem:
                DrawPopupItem(option, painter, widget);
                return;
            case CE_MenuBarItem:
                DrawMenuBarItem(option, painter, widget);
                return;
            case CE_MenuBarEmptyArea:
                painter->fillRect(option->rect, option->palette.color(QPalette::Window));
                return;
            case CE_MenuEmptyArea:
                return;  // the panel has painted it
            default:
                break;
        }
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void CMenuXPStyle::DrawPopupFrame(const QStyleOption* option, QPainter* painter,
                                  const QWidget* widget) const {
    const CMenuColors colors = ColorsFor(option->palette);
    const QRect body = BodyRect(option->rect, m_bOwnShadows);
    painter->save();
    if (m_bOwnShadows) {
        // What lay under the popup shows through around the shadow; without
        // a copy of it, the window colour is the likeliest neighbour.
        const QRegion strips = QRegion(option->rect) - QRegion(body);
        painter->setClipRegion(strips, Qt::IntersectClip);
        const auto record = m_menuWindows.constFind(widget);
        if (record != m_menuWindows.constEnd() && !record->under.isNull()) {
            painter->drawPixmap(0, 0, record->under);
        } else {
            painter->fillRect(option->rect, option->palette.color(QPalette::Window));
        }
        DrawShadow(painter, body);
        painter->restore();
        painter->save();
    }
    painter->setBrush(Qt::NoBrush);
    painter->setPen(ToColor(colors.background));
    painter->drawRect(body.adjusted(1, 1, -2, -2));
    painter->drawRect(body.adjusted(2, 2, -3, -3));
    painter->setPen(option->palette.color(QPalette::Shadow));
    painter->drawRect(body.adjusted(0, 0, -1, -1));

    // Join the popup to the open menu bar item that it hangs from.
    const auto* menu = qobject_cast<const QMenu*>(widget);
    if (menu && m_pOpenBar && menu->parentWidget() == m_pOpenBar && m_rcOpenBarItem.isValid()) {
        const QPoint origin = menu->mapToGlobal(QPoint(0, 0));
        if (origin.y() == m_rcOpenBarItem.bottom() + 1) {
            const int left = std::max(1, m_rcOpenBarItem.left() - origin.x() + 1);
            const int right = m_rcOpenBarItem.right() - kBarItemShadow - 1 - origin.x();
            if (right > left) {
                painter->setPen(ToColor(colors.gutter));
                painter->drawLine(left, body.top(), right - 1, body.top());
            }
        }
    }
    painter->restore();
}

void CMenuXPStyle::DrawPopupItem(const QStyleOption* option, QPainter* painter,
                                 const QWidget* widget) const {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (!item) return;
    const CMenuColors colors = ColorsFor(item->palette);
    const QRect r = item->rect;
    const bool enabled = item->state & State_Enabled;
    const bool highlighted =
        (item->state & State_Selected) && item->menuItemType != QStyleOptionMenuItem::Separator;
    const bool checked = item->checkType != QStyleOptionMenuItem::NotCheckable && item->checked;

    // Drawn off-screen and copied in one step, like every custom control here.
    QPixmap canvas(r.size());
    canvas.fill(ToColor(colors.background));
    QPainter p(&canvas);
    const QRect local(QPoint(0, 0), r.size());

    if (highlighted) {
        p.setPen(item->palette.color(QPalette::Highlight));
        p.setBrush(ToColor(enabled ? colors.highlightFill : colors.highlightDisabledFill));
        p.drawRect(local.adjusted(0, 0, -1, -1));
    } else {
        p.fillRect(QRect(0, 0, kMenuGutterWidth, local.height()), ToColor(colors.gutter));
    }

    if (item->menuItemType == QStyleOptionMenuItem::Separator) {
        p.setPen(ToColor(colors.separator));
        const int y = local.height() / 2;
        p.drawLine(kSeparatorLeft, y, local.width() - 1, y);
    } else {
        QColor textColor = item->palette.color(QPalette::WindowText);
        if (!enabled) textColor = ToColor(colors.disabledText);

        if (checked) {
            p.setPen(item->palette.color(QPalette::Highlight));
            p.setBrush(ToColor(!enabled      ? colors.checkFillDisabled
                               : highlighted ? colors.checkFillHighlighted
                                             : colors.checkFill));
            p.drawRect(QRect(QPoint(1, 1), QPoint(19, local.height() - 2)));
        }
        if (!item->icon.isNull()) {
            DrawItemImage(&p, item->icon, local, enabled, highlighted, checked, colors);
        } else if (checked) {
            DrawCheckMark(&p, local, item->checkType == QStyleOptionMenuItem::Exclusive,
                          enabled ? textColor : ToColor(colors.disabledImage));
        }

        int flags = Qt::AlignVCenter | Qt::TextSingleLine;
        flags |= styleHint(SH_UnderlineShortcut, item, widget) ? Qt::TextShowMnemonic
                                                               : Qt::TextHideMnemonic;
        const QRect textRect(kTextLeft, 0, local.width() - kTextLeft - kAccelRightMargin,
                             local.height());
        p.setPen(textColor);
        p.setFont(ItemFont(item));
        p.drawText(textRect, flags | Qt::AlignLeft, LabelOf(item->text));
        const QString accel = AcceleratorOf(item->text);
        if (!accel.isEmpty()) {
            p.setFont(item->font);
            p.drawText(textRect, Qt::AlignVCenter | Qt::AlignRight | Qt::TextSingleLine, accel);
        }
        if (item->menuItemType == QStyleOptionMenuItem::SubMenu) {
            // The arrow sits in the accelerator margin.
            const int cx = local.width() - 7, cy = local.height() / 2;
            p.setPen(Qt::NoPen);
            p.setBrush(textColor);
            p.drawPolygon(
                QPolygon({QPoint(cx - 2, cy - 4), QPoint(cx + 2, cy), QPoint(cx - 2, cy + 4)}));
        }
    }
    p.end();
    painter->drawPixmap(r.topLeft(), canvas);
}

void CMenuXPStyle::DrawItemImage(QPainter* painter, const QIcon& icon, const QRect& item,
                                 bool enabled, bool highlighted, bool checked,
                                 const CMenuColors& colors) const {
    const QSize size(kImageSize, kImageSize);
    const QPoint origin = item.topLeft();
    if (!enabled) {
        QPixmap grey = icon.pixmap(size, 1.0, QIcon::Disabled);
        if (grey.isNull()) {
            // No grey copy: the image in one colour.
            QImage mono = icon.pixmap(size, 1.0).toImage().convertToFormat(
                QImage::Format_ARGB32_Premultiplied);
            QPainter mp(&mono);
            mp.setCompositionMode(QPainter::CompositionMode_SourceIn);
            mp.fillRect(mono.rect(), ToColor(colors.disabledImage));
            mp.end();
            grey = QPixmap::fromImage(mono);
        }
        painter->drawPixmap(origin + QPoint(3, 3), grey);
        return;
    }
    const QPixmap image = icon.pixmap(size, 1.0, QIcon::Normal);
    if (highlighted && !checked) {
        QImage shadow = image.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QPainter sp(&shadow);
        sp.setCompositionMode(QPainter::CompositionMode_SourceIn);
        sp.fillRect(shadow.rect(), ToColor(colors.iconShadow));
        sp.end();
        painter->drawImage(origin + QPoint(4, 4), shadow);
        painter->drawPixmap(origin + QPoint(2, 2), image);
        return;
    }
    painter->drawPixmap(origin + QPoint(3, 3), image);
}

void CMenuXPStyle::DrawCheckMark(QPainter* painter, const QRect& item, bool radio,
                                 const QColor& color) const {
    // Centred in the strip from 5 to 20 pixels of the item.
    const int centreX = item.left() + 12;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (radio) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(color);
        painter->drawEllipse(QPointF(centreX + 0.5, item.center().y() + 0.5), 3.5, 3.5);
    } else {
        const int top = item.top() + 3;
        painter->setPen(QPen(color, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter->setBrush(Qt::NoBrush);
        painter->drawPolyline(
            QPolygonF({QPointF(centreX - 3.5, top + 7.0), QPointF(centreX - 1.0, top + 9.5),
                       QPointF(centreX + 4.0, top + 4.0)}));
    }
    painter->restore();
}

void CMenuXPStyle::DrawMenuBarItem(const QStyleOption* option, QPainter* painter,
                                   const QWidget* widget) const {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (!item) return;
    const CMenuColors colors = ColorsFor(item->palette);
    const QRect r = item->rect;
    const QRect tab = r.adjusted(0, 0, -kBarItemShadow, 0);
    const bool enabled = item->state & State_Enabled;
    const bool open = (item->state & State_Selected) && (item->state & State_Sunken);
    const bool highlighted = (item->state & State_Selected) && !open;

    painter->save();
    painter->fillRect(r, item->palette.color(QPalette::Window));
    if (open) {
        painter->fillRect(tab, ToColor(colors.gutter));
        painter->setPen(item->palette.color(QPalette::Shadow));
        // No line along the bottom: the popup below continues the tab.
        painter->drawLine(tab.bottomLeft(), tab.topLeft());
        painter->drawLine(tab.topLeft(), tab.topRight());
        painter->drawLine(tab.topRight(), tab.bottomRight());
        for (int d = 0; d < kBarItemShadow; ++d) {
            for (int y = r.top() + kBarItemShadow; y <= r.bottom(); ++y) {
                DarkenPixel(painter, tab.right() + 1 + d, y, kShadowFactor[d]);
            }
        }
        if (widget) {
            m_rcOpenBarItem = QRect(widget->mapToGlobal(r.topLeft()), r.size());
            m_pOpenBar = widget;
        }
    } else {
        if (widget && m_pOpenBar == widget &&
            m_rcOpenBarItem == QRect(widget->mapToGlobal(r.topLeft()), r.size())) {
            m_rcOpenBarItem = QRect();
        }
        if (highlighted) {
            painter->setPen(item->palette.color(QPalette::Highlight));
            painter->setBrush(
                ToColor(enabled ? colors.highlightFill : colors.highlightDisabledFill));
            painter->drawRect(tab.adjusted(0, 0, -1, -1));
        }
    }
    int flags = Qt::AlignCenter | Qt::TextSingleLine;
    flags |=
        styleHint(SH_UnderlineShortcut, item, widget) ? Qt::TextShowMnemonic : Qt::TextHideMnemonic;
    painter->setPen(enabled ? item->palette.color(QPalette::WindowText)
                            : ToColor(colors.disabledText));
    painter->setFont(item->font);
    painter->drawText(tab, flags, item->text);
    painter->restore();
}

bool CMenuXPStyle::HandleMenuChar(QMenu* menu, QKeyEvent* event) const {
    const QString typed = event->text();
    if (typed.size() != 1 || !typed[0].isPrint() ||
        (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))) {
        return false;
    }
    const QList<QAction*> actions = menu->actions();
    QStringList labels;
    for (QAction* action : actions) {
        labels << (action->isVisible() && !action->isSeparator() ? action->text() : QString());
    }
    const int index = FindMenuItemByChar(labels, typed[0]);
    if (index < 0 || !actions[index]->isEnabled()) return false;
    // Select the item and let the menu run it as it runs Return: commands
    // execute and close the menus, submenus open.
    menu->setActiveAction(actions[index]);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(menu, &enter);
    return true;
}

QPixmap CMenuXPStyle::GrabScreenUnder(QWidget* menu, const QRect& global) const {
    QScreen* screen = menu->screen();
    if (!screen) return {};
    return screen->grabWindow(0, global.x(), global.y(), global.width(), global.height());
}

bool CMenuXPStyle::eventFilter(QObject* watched, QEvent* event) {
    auto* menu = qobject_cast<QMenu*>(watched);
    if (!menu || !UsesMenuXPLook(menu)) return QProxyStyle::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::Show:
            // Shown before it is mapped: the screen still holds what will lie
            // under the shadow.
            if (m_bOwnShadows) {
                MenuWindowRecord record;
                record.under = GrabScreenUnder(menu, menu->geometry());
                if (record.under.size() != menu->size()) record.under = QPixmap();
                m_menuWindows.insert(menu, record);
            }
            break;
        case QEvent::Hide:
            m_menuWindows.remove(menu);
            break;
        case QEvent::KeyPress:
            if (HandleMenuChar(menu, static_cast<QKeyEvent*>(event))) return true;
            break;
        default:
            break;
    }
    return QProxyStyle::eventFilter(watched, event);
}
