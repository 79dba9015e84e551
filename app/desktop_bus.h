// The desktop signals over D-Bus: notifications through the freedesktop
// notification service (org.freedesktop.Notifications), and the launcher's
// progress through the launcher-entry "Update" signal
// (com.canonical.Unity.LauncherEntry) that docks and task bars read, keyed
// by the program's desktop entry. Calls are sent without waiting for an
// answer: a missing service or bus costs nothing and says nothing.
//
// Threads: the user-interface thread.
#pragma once

#include <QDBusConnection>

#include "app/desktop_signals.h"

class CDesktopBus : public IDesktopSignals {
public:
    // The desktop entry the launcher knows the program by.
    static constexpr char kAppUri[] = "application://zev.desktop";

    // `bus`: the session bus, or in tests a private one.
    explicit CDesktopBus(QDBusConnection bus = QDBusConnection::sessionBus());

    void ShowJobProgress(int percent) override;
    void ClearJobProgress() override;
    void Notify(const std::string& summary, const std::string& body) override;

private:
    void UpdateLauncher(double progress, bool visible);

    QDBusConnection m_bus;
};
