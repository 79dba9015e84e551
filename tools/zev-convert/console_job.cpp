#include "tools/zev-convert/console_job.h"

#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "job/log_stamp.h"
#include "convert/common/job_report.h"

namespace {

constexpr WPARAM kProgressTimer = 136;
constexpr DWORD kTickMs = 100;
constexpr int kTicksPerProgress = 5;
constexpr char kSpinner[] = {'-', '\\', '|', '/'};

}  // namespace

ConsoleJob::ConsoleJob(FILE* log, FILE* progress, bool showProgress, const CStopRequest& stop)
    : m_log(log),
      m_progressOut(progress),
      m_showProgress(showProgress && isatty(fileno(progress))),
      m_logIsTerminal(isatty(fileno(log))),
      m_stop(stop) {
    m_hWnd = CreateHostWindow(
        [this](HWND, UINT msg, WPARAM w, LPARAM) -> LRESULT { return OnMessage(msg, w); });
}

ConsoleJob::~ConsoleJob() {
    DestroyWindow(m_hWnd);
}

void ConsoleJob::LogJobLine(const std::string& line) {
    std::snprintf(m_job.m_szLog, sizeof m_job.m_szLog, "%s", line.c_str());
    Append(m_job.m_szLog);
}

void ConsoleJob::Append(const std::string& text) {
    ClearProgress();
    const bool transient = IsTransientPiece(text);
    std::string body = text;
    while (!body.empty() && (body.back() == '\n' || body.back() == '\r')) body.pop_back();
    // On a terminal a transient piece is overwritten by the next one, as in
    // the log view; elsewhere every piece keeps its own line.
    if (m_lastTransient && m_logIsTerminal) std::fputs("\r\033[K", m_log);
    std::fputs(StampLogPieceNow(body).c_str(), m_log);
    if (!(transient && m_logIsTerminal)) std::fputc('\n', m_log);
    std::fflush(m_log);
    m_lastTransient = transient;
}

LRESULT ConsoleJob::OnMessage(UINT msg, WPARAM wParam) {
    if (msg == WM_COMMAND && LOWORD(wParam) == kCmdFlushLog) {
        const std::string line = m_job.TakeEngineLine();
        if (line == kReportRunning) m_engineWaiting = true;
        Append(line);
    } else if (msg == WM_COMMAND && LOWORD(wParam) == kCmdStopJob) {
        OnStopJob();
    } else if (msg == WM_TIMER && wParam == kProgressTimer) {
        if (m_job.ProgressKnown()) ShowProgress();
    }
    return 0;
}

void ConsoleJob::OnStopJob() {
    if (!m_stopLogged) {
        Append("User want stop converting\r\n");
        m_stopLogged = true;
    }
    // Before the engine waits for its running graph there is nothing to
    // stop yet (a graph stopped while it is being built or started ends as
    // an error); the ticker asks again, so an early Ctrl+C is not lost.
    if (!m_job.GraphRunning() || !m_engineWaiting) return;
    m_job.StopEngine([this] { Append("Stopping\r\n"); });
    m_stopDelivered = true;
}

void ConsoleJob::ShowProgress() {
    if (!m_showProgress) return;
    std::fprintf(m_progressOut, "\r\033[KUnder converting, please wait...%d%% finished %c",
                 m_job.ReadProgress(), kSpinner[m_nSpinner]);
    m_nSpinner = (m_nSpinner + 1) % 4;
    std::fflush(m_progressOut);
    m_progressShown = true;
}

void ConsoleJob::ClearProgress() {
    if (!m_progressShown) return;
    std::fputs("\r\033[K", m_progressOut);
    std::fflush(m_progressOut);
    m_progressShown = false;
}

JobOutcome ConsoleJob::Run(const std::string& library, const JobRequest& request) {
    BoundConverter bound;
    const bool ok = library.empty() ? BindConverter(*this, bound)
                                    : BindConverter(*this, bound, library.c_str(), "");
    if (!ok) return m_stop.Requested() ? JobOutcome::Stopped : JobOutcome::Aborted;

    // Ticks come from a thread of their own, as a timer would, and reach the
    // window through the engine's message pump; so does a stop request.
    // The ticker wakes at once when the job ends: a sleeping tick must not
    // hold the program after its file is done.
    std::mutex tickLock;
    std::condition_variable tickWake;
    bool running = true;
    std::thread ticker([&] {
        int ticks = 0;
        std::unique_lock<std::mutex> g(tickLock);
        while (
            !tickWake.wait_for(g, std::chrono::milliseconds(kTickMs), [&] { return !running; })) {
            if (m_stop.Requested() && !m_stopDelivered)
                PostMessageA(m_hWnd, WM_COMMAND, kCmdStopJob, 0);
            if (++ticks % kTicksPerProgress == 0) PostMessageA(m_hWnd, WM_TIMER, kProgressTimer, 0);
        }
    });

    m_job.RunConvert(bound.convert, m_hWnd, request);

    {
        std::lock_guard<std::mutex> g(tickLock);
        running = false;
    }
    tickWake.notify_all();
    ticker.join();
    MSG m;
    while (PeekMessageA(&m, m_hWnd, 0, 0, PM_REMOVE)) {
    }  // ticks and stops that came too late
    ClearProgress();
    // A Ctrl+C that came too early or too late for the engine still means
    // the user did not want the whole job.
    // A file that could not be written is a failure all the same.
    const JobOutcome outcome =
        m_stop.Requested() && !m_job.OutputFailed() ? JobOutcome::Stopped : m_job.Outcome();
    if (m_showProgress && outcome == JobOutcome::Completed) {
        std::fprintf(m_progressOut, "Under converting, please wait...100%% finished\n");
    }
    m_job.ResetProgress();
    UnbindConverter(bound);
    return outcome;
}
