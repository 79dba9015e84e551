// Switching the flat menu look on and off. The look is a style installed for
// the whole application; it draws flat only the menus (and menu bars) of
// windows that carry the property "XPWndProp_MenuXP" with the value 1.
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

// The first call installs the style over the application's current one;
// later calls only count. The last RemoveMenuXP puts the plain style back.
// Both need a QApplication.
void InstallMenuXP();
void RemoveMenuXP();
