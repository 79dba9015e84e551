#include "tools/zev-convert/console_job.h"

#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstring>
#include <thread>

#include "app/job/log_stamp.h"
#include "platform/dshow/dshow.h"

namespace {

constexpr WPARAM kProgressTimer = 136;
constexpr DWORD kTickMs = 100;
constexpr int kTicksPerProgress = 5;
constexpr char kSpinner[] = {'-', '\\', '|', '/'};

volatile std::sig_atomic_t g_stopRequested = 0;

bool ContainsNoCase(const std::string& text, const char* word) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower.find(word) != std::string::npos;
}

}  // namespace

ConsoleJob::ConsoleJob(FILE* log, FILE* progress, bool showProgress)
    : m_log(log),
      m_progressOut(progress),
      m_showProgress(showProgress && isatty(fileno(progress))),
      m_logIsTerminal(isatty(fileno(log))) {
    m_hWnd = CreateHostWindow(
        [this](HWND, UINT msg, WPARAM w, LPARAM) -> LRESULT { return OnMessage(msg, w); });
}

ConsoleJob::~ConsoleJob() {
    DestroyWindow(m_hWnd);
}

void ConsoleJob::RequestStop() {
    g_stopRequested = 1;
}

void ConsoleJob::LogJobLine(const std::string& line) {
    std::snprintf(m_szLog, sizeof m_szLog, "%s", line.c_str());
    Append(m_szLog);
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

    // The caller learns the outcome from the lines alone: a job has finished
    // only when an engine says so, and an abort line overrides that.
    if (text == "User stopped converting.\r\n" || text == "User Abort\r\n") {
        m_stopped = true;
    } else if (text == "Converting successfully complete!\r\n" ||
               text == "Converting finished\r\n") {
        m_finished = true;
    } else if (ContainsNoCase(text, "abort")) {
        m_aborted = true;
    }
}

LRESULT ConsoleJob::OnMessage(UINT msg, WPARAM wParam) {
    if (msg == WM_COMMAND && LOWORD(wParam) == kCmdFlushLog) {
        m_szLog[sizeof m_szLog - 1] = '\0';
        Append(m_szLog);
    } else if (msg == WM_COMMAND && LOWORD(wParam) == kCmdStopJob) {
        Append("User want stop converting\r\n");
        StopEngine();
    } else if (msg == WM_TIMER && wParam == kProgressTimer) {
        if (m_pMediaSeeking) ShowProgress();
    }
    return 0;
}

void ConsoleJob::StopEngine() {
    if (m_pMediaControl) {
        Append("Stopping\r\n");
        m_pMediaControl->Stop();
    }
    if (m_pGraphBuilder) {
        IMediaEventSink* sink = nullptr;
        if (SUCCEEDED(m_pGraphBuilder->QueryInterface(IID_IMediaEventSink,
                                                      reinterpret_cast<void**>(&sink))) &&
            sink) {
            sink->Notify(EC_USERABORT, 0, 0);
            sink->Release();
        }
    }
}

void ConsoleJob::ShowProgress() {
    if (!m_showProgress) return;
    std::fprintf(m_progressOut, "\r\033[KUnder converting, please wait...%d%% finished %c",
                 m_nProgress, kSpinner[m_nSpinner]);
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

JobOutcome ConsoleJob::Run(const std::string& library, const std::string& source,
                           const std::string& destination, ProfileStruc profile,
                           double beginSeconds, double endSeconds) {
    BoundConverter bound;
    const bool ok = library.empty() ? BindConverter(*this, bound)
                                    : BindConverter(*this, bound, library.c_str(), "");
    if (!ok) return JobOutcome::Aborted;

    // Ticks come from a thread of their own, as a timer would, and reach the
    // window through the engine's message pump; so does a stop request.
    std::atomic<bool> running{true};
    std::thread ticker([this, &running] {
        int ticks = 0;
        while (running) {
            Sleep(kTickMs);
            if (g_stopRequested && !m_stopSent) {
                m_stopSent = true;
                PostMessageA(m_hWnd, WM_COMMAND, kCmdStopJob, 0);
            }
            if (++ticks % kTicksPerProgress == 0) PostMessageA(m_hWnd, WM_TIMER, kProgressTimer, 0);
        }
    });

    std::string src = source, dst = destination;
    bound.convert(src.data(), dst.data(), &profile, m_szLog, m_hWnd, &m_pGraphBuilder,
                  &m_pMediaControl, &m_pMediaSeeking, beginSeconds, endSeconds, &m_nProgress);

    running = false;
    ticker.join();
    MSG m;
    while (PeekMessageA(&m, m_hWnd, 0, 0, PM_REMOVE)) {
    }  // ticks and stops that came too late
    ClearProgress();
    if (m_showProgress && !m_aborted) {
        std::fprintf(m_progressOut, "Under converting, please wait...100%% finished\n");
    }
    m_nProgress = 0;
    UnbindConverter(bound);
    if (m_stopped || g_stopRequested) return JobOutcome::Stopped;
    return m_finished && !m_aborted ? JobOutcome::Completed : JobOutcome::Aborted;
}
