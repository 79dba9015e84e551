#include "ui/message_pump.h"

#include <QSocketNotifier>

#include "platform/win/window.h"

CWinMessagePump::CWinMessagePump(QObject* parent)
    : QObject(parent),
      m_notifier(new QSocketNotifier(MessageQueueWaitFd(), QSocketNotifier::Read, this)) {
    connect(m_notifier, &QSocketNotifier::activated, this, [this] { Drain(); });
}

int CWinMessagePump::Drain() {
    int count = 0;
    MSG m;
    // Bounded, so that a window that keeps posting to itself cannot starve
    // the Qt loop; the descriptor stays readable for the rest.
    while (count < 256 && PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&m);
        ++count;
    }
    return count;
}
