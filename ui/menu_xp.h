// Switching the flat menu look on and off. The look is a style installed for
// the whole application; it draws flat only the menus (and menu bars) of
// windows that carry the look's property (ui/menu_xp_look.h).
#pragma once

#include "ui/menu_xp_look.h"

// The first call installs the style over the application's current one;
// later calls only count. The last RemoveMenuXP puts the plain style back.
// Both need a QApplication.
void InstallMenuXP();
void RemoveMenuXP();
