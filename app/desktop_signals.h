// What the window tells the desktop around a job: the progress on the
// program's launcher (the dock or task bar) while the job runs, and a
// notification when it ends. The frame calls it; CDesktopBus
// (app/desktop_bus.h) says it over the session bus. Where nobody listens
// nothing happens, and nothing is an error.
//
// Threads: the user-interface thread.
#pragma once

#include <string>

class IDesktopSignals {
public:
    virtual ~IDesktopSignals() = default;
    // The running job's progress, 0 to 100.
    virtual void ShowJobProgress(int percent) = 0;
    // The job has ended: the launcher shows no progress.
    virtual void ClearJobProgress() = 0;
    // A notification: `summary` in one line, `body` below it.
    virtual void Notify(const std::string& summary, const std::string& body) = 0;
};
