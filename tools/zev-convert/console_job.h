// One conversion job run from a terminal: binds the converter library,
// calls Convert on this thread with a message window that receives the log
// lines, shows progress on one updating line, and turns Ctrl+C into the
// caller's two-step stop.
#pragma once

#include <cstdio>
#include <string>

#include "app/job/converter_binding.h"
#include "platform/win/window.h"

struct IGraphBuilder;
struct IMediaControl;
struct IMediaSeeking;

enum class JobOutcome { Completed, Aborted, Stopped };

class ConsoleJob : public IJobLog {
public:
    // Log lines go to `log`; the progress line, when shown, to `progress`.
    ConsoleJob(FILE* log, FILE* progress, bool showProgress);
    ~ConsoleJob() override;
    ConsoleJob(const ConsoleJob&) = delete;
    ConsoleJob& operator=(const ConsoleJob&) = delete;

    // `library` empty: the usual pair with its fallback.
    JobOutcome Run(const std::string& library, const std::string& source,
                   const std::string& destination, ProfileStruc profile, double beginSeconds,
                   double endSeconds);

    void LogJobLine(const std::string& line) override;

    // Asks the running job to stop; safe from a signal handler.
    static void RequestStop();

private:
    LRESULT OnMessage(UINT msg, WPARAM wParam);
    void Append(const std::string& text);
    void ShowProgress();
    void ClearProgress();
    void StopEngine();

    FILE* m_log;
    FILE* m_progressOut;
    bool m_showProgress;
    bool m_logIsTerminal;
    bool m_progressShown = false;
    bool m_lastTransient = false;
    HWND m_hWnd = nullptr;
    char m_szLog[kLogBufferSize] = {};
    int m_nProgress = 0;
    int m_nSpinner = 0;
    IGraphBuilder* m_pGraphBuilder = nullptr;
    IMediaControl* m_pMediaControl = nullptr;
    IMediaSeeking* m_pMediaSeeking = nullptr;
    bool m_aborted = false;
    bool m_finished = false;
    bool m_stopped = false;
    bool m_stopSent = false;
};
