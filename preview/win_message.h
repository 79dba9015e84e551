// Window messages between Qt widgets: a posted message is a queued Qt event,
// a sent one is delivered at once and returns the receiver's result.
// Receivers override QObject::event and answer CWinMessageEvent::Type().
#pragma once

#include <QEvent>
#include <QObject>

#include "platform/win/wintypes.h"

class CWinMessageEvent : public QEvent {
public:
    CWinMessageEvent(UINT msg, WPARAM w, LPARAM l)
        : QEvent(Type()), message(msg), wParam(w), lParam(l) {}
    static QEvent::Type Type();

    const UINT message;
    const WPARAM wParam;
    const LPARAM lParam;
    LRESULT result = 0;
};

// Queued on the receiver's thread; dropped when the receiver is gone.
void PostWinMessage(QObject* to, UINT msg, WPARAM wParam, LPARAM lParam);
// Handled before returning; 0 without a receiver.
LRESULT SendWinMessage(QObject* to, UINT msg, WPARAM wParam, LPARAM lParam);
