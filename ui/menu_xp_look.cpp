#include "ui/menu_xp_look.h"

#include <QVariant>
#include <QWidget>

void SetMenuXPLook(QWidget* window, bool on) {
    if (!window) return;
    window->setProperty(kMenuXPProperty, on ? QVariant(1) : QVariant());
    window->update();
}

bool HasMenuXPLook(const QWidget* window) {
    return window && window->property(kMenuXPProperty).toInt() == 1;
}

bool UsesMenuXPLook(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (HasMenuXPLook(w)) return true;
    }
    return false;
}
