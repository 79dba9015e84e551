// Which windows have the flat menu look: those that carry the property
// "XPWndProp_MenuXP" with the value 1. The style (ui/menu_xp_style.h) asks
// this; installing the style is ui/menu_xp.h.
#pragma once

class QWidget;

constexpr const char* kMenuXPProperty = "XPWndProp_MenuXP";

// Sets (value 1) or removes the property on `window`.
void SetMenuXPLook(QWidget* window, bool on);
// Whether `window` itself carries the property.
bool HasMenuXPLook(const QWidget* window);
// Whether `widget` belongs to a window with the look: a popup menu belongs
// to the window of the menu bar or menu that opened it.
bool UsesMenuXPLook(const QWidget* widget);
