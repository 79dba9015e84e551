// SIGTERM, SIGHUP and SIGINT (a logout, a closed terminal, Ctrl+C) as a Qt
// signal. The handler only writes the signal's number into a socket pair;
// a QSocketNotifier on the other end emits Received on the thread that made
// the object, from whatever Qt event loop runs there: the program's own,
// a dialog's, or the one an engine's wait runs (ui/qt_host_event_loop.h),
// so a running job hears it too.
//
// Each handler is installed for one delivery: the signal's default action
// comes back with it, so a second one ends the program at once.
//
// One object per process, on the user-interface thread; it puts the
// previous handlers back when destroyed.
#pragma once

#include <QObject>
#include <csignal>

class QSocketNotifier;

class CTerminationSignals : public QObject {
    Q_OBJECT

public:
    explicit CTerminationSignals(QObject* parent = nullptr);
    ~CTerminationSignals() override;
    CTerminationSignals(const CTerminationSignals&) = delete;
    CTerminationSignals& operator=(const CTerminationSignals&) = delete;

    // False when the socket pair could not be made: no handler was installed.
    bool Installed() const { return m_pNotifier != nullptr; }

signals:
    void Received(int signal);

private:
    static constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};
    void Drain();

    int m_fds[2] = {-1, -1};
    QSocketNotifier* m_pNotifier = nullptr;
    struct sigaction m_previous[3] = {};
};
