// One conversion job run from a terminal: binds the converter library,
// calls Convert on this thread with a message window that receives the log
// lines, shows progress on one updating line, and turns Ctrl+C into the
// caller's two-step stop. The job itself (slots, stop, outcome) is
// job/'s; this class is its console face.
#pragma once

#include <atomic>
#include <cstdio>
#include <string>

#include "job/converter_binding.h"
#include "job/job_control.h"
#include "platform/win/window.h"

class ConsoleJob : public IJobLog {
public:
    // Log lines go to `log`; the progress line, when shown, to `progress`.
    // `stop` is watched while the job runs (a signal handler sets it).
    ConsoleJob(FILE* log, FILE* progress, bool showProgress, const CStopRequest& stop);
    ~ConsoleJob() override;
    ConsoleJob(const ConsoleJob&) = delete;
    ConsoleJob& operator=(const ConsoleJob&) = delete;

    // `library` empty: the usual pair with its fallback.
    JobOutcome Run(const std::string& library, const JobRequest& request);

    void LogJobLine(const std::string& line) override;

private:
    LRESULT OnMessage(UINT msg, WPARAM wParam);
    void OnStopJob();
    void Append(const std::string& text);
    void ShowProgress();
    void ClearProgress();

    FILE* m_log;
    FILE* m_progressOut;
    bool m_showProgress;
    bool m_logIsTerminal;
    const CStopRequest& m_stop;
    bool m_progressShown = false;
    bool m_lastTransient = false;
    bool m_stopLogged = false;
    // Set on this thread once the engine has been told to stop; read by
    // the ticker, which asks again until then.
    std::atomic<bool> m_stopDelivered{false};
    bool m_engineWaiting = false;  // the engine has said its graph runs
    HWND m_hWnd = nullptr;
    int m_nSpinner = 0;
    CJobState m_job;
};
