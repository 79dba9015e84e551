#include "ui/focus_chain.h"

#include <QWidget>

bool IsTabStop(const QWidget* w) {
    return w && (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && w->isEnabled() &&
           w->isVisibleTo(w->window()) && !w->focusProxy();
}

QWidget* NextTabStop(const QWidget* from, bool forward) {
    if (!from) return nullptr;
    const QWidget* window = from->window();
    QWidget* w = const_cast<QWidget*>(from);
    for (;;) {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
        if (!w || w == from) return nullptr;
        if (w->window() == window && IsTabStop(w)) return w;
    }
}

QWidget* FirstTabStopIn(const QWidget* container) {
    if (!container) return nullptr;
    for (QWidget* w = container->nextInFocusChain(); w && w != container;
         w = w->nextInFocusChain()) {
        if (container->isAncestorOf(w) && IsTabStop(w)) return w;
    }
    return nullptr;
}
