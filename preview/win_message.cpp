#include "preview/win_message.h"

#include <QCoreApplication>

QEvent::Type CWinMessageEvent::Type() {
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void PostWinMessage(QObject* to, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (to) QCoreApplication::postEvent(to, new CWinMessageEvent(msg, wParam, lParam));
}

LRESULT SendWinMessage(QObject* to, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!to) return 0;
    CWinMessageEvent e(msg, wParam, lParam);
    QCoreApplication::sendEvent(to, &e);
    return e.result;
}
