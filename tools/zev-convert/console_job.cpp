#include "tools/zev-convert/console_job.h"

#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "job/log_stamp.h"
#include "job/progress_text.h"

namespace {

constexpr DWORD kTickMs = 100;
constexpr int kTicksPerProgress = 5;

}  // namespace

ConsoleJob::ConsoleJob(FILE* log, FILE* progress, bool showProgress, bool ignoreFreeSpace,
                       const CStopRequest& stop)
    : m_log(log),
      m_progressOut(progress),
      m_showProgress(showProgress && isatty(fileno(progress))),
      m_logIsTerminal(isatty(fileno(log))),
      m_ignoreFreeSpace(ignoreFreeSpace),
      m_stop(stop),
      m_session(*this) {}

void ConsoleJob::LogLine(const std::string& text, JobLine) {
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

void ConsoleJob::ShowProgress(int percent, int spinner) {
    if (!m_showProgress) return;
    std::fprintf(m_progressOut, "\r\033[K%s %c", ProgressWords(percent).c_str(),
                 kSpinnerChars[spinner & 3]);
    std::fflush(m_progressOut);
    m_progressShown = true;
}

void ConsoleJob::ClearProgress() {
    if (!m_progressShown) return;
    std::fputs("\r\033[K", m_progressOut);
    std::fflush(m_progressOut);
    m_progressShown = false;
}

void ConsoleJob::Tell(const JobRefusal& refusal) {
    std::fprintf(stderr, "zev-convert: %s\n", refusal.reason.c_str());
}

bool ConsoleJob::Ask(const JobQuestion& question) {
    // Nobody is asked at a terminal: scripts run unattended, so the answer
    // is given on the command line.
    if (question.check == JobCheck::FreeSpace && m_ignoreFreeSpace) return true;
    std::fprintf(stderr,
                 "zev-convert: not enough free space: %s; --ignore-free-space converts anyway\n",
                 question.reason.c_str());
    return false;
}

void ConsoleJob::Finishing(JobOutcome outcome) {
    ClearProgress();
    if (m_showProgress && outcome == JobOutcome::Completed)
        std::fprintf(m_progressOut, "%s\n", ProgressWords(100).c_str());
}

JobOutcome ConsoleJob::Run(const JobRequest& request) {
    // Ticks come from a thread of their own, as a timer's would, and reach
    // the session's window through the engine's message pump: every fifth
    // shows progress, and once a stop is asked for every one reads it. The
    // ticker wakes at once when the job ends: a sleeping tick must not hold
    // the program after its file is done.
    std::mutex tickLock;
    std::condition_variable tickWake;
    bool running = true;
    const HWND session = m_session.Handle();
    std::thread ticker([&] {
        int ticks = 0;
        std::unique_lock<std::mutex> g(tickLock);
        while (
            !tickWake.wait_for(g, std::chrono::milliseconds(kTickMs), [&] { return !running; })) {
            if (++ticks % kTicksPerProgress == 0)
                PostMessageA(session, WM_TIMER, CJobSession::kProgressTick, 0);
            else if (m_stop.Requested())
                PostMessageA(session, WM_TIMER, CJobSession::kStopPollTick, 0);
        }
    });

    const JobOutcome outcome = m_session.Run(request);

    {
        std::lock_guard<std::mutex> g(tickLock);
        running = false;
    }
    tickWake.notify_all();
    ticker.join();
    MSG m;
    while (PeekMessageA(&m, session, 0, 0, PM_REMOVE)) {
    }  // ticks that came too late
    return outcome;
}
