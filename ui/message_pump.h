// Drains the Win32 subset's message queue of the thread that creates it
// from the Qt event loop: whenever a message is posted to a window of this
// thread (from any thread), the pump dispatches it to the window's handler
// on this thread, as the platform's own message loop would.
//
// One pump per thread is enough; more do no harm (each drains everything).
// The pump is owned by its creator and must live on the thread whose queue
// it drains.
#pragma once

#include <QObject>

class QSocketNotifier;

class CWinMessagePump : public QObject {
    Q_OBJECT

public:
    explicit CWinMessagePump(QObject* parent = nullptr);
    // Dispatches every message now queued; returns how many.
    int Drain();

private:
    QSocketNotifier* m_notifier;
};
