#include "ui/child_tab_event.h"

#include <QCoreApplication>
#include <QWidget>

QEvent::Type CChildTabEvent::EventType() {
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void PostTabToParent(QWidget* child, int controlId) {
    if (QWidget* parent = child->parentWidget())
        QCoreApplication::postEvent(parent, new CChildTabEvent(controlId));
}
