#include "job/job_session.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>

#include "convert/common/job_report.h"
#include "convert/common/progress_cell.h"
#include "job/converter_binding.h"
#include "job/free_space.h"
#include "job/job_control.h"
#include "job/job_settings.h"
#include "job/progress_text.h"
#include "job/source_probe.h"
#include "platform/dshow/dshow.h"

namespace {

// Lines that an engine sent from a thread other than the session's wait in
// a list; this message tells the session's thread to show them.
constexpr UINT kOtherThreadsLines = WM_APP + 0x22;

// A time as the user gave it: seconds as typed (no trailing zeros), and
// the clock form the window's fields show.
std::string TimeFigures(double seconds) {
    char text[64];
    const auto whole = static_cast<unsigned long long>(seconds);
    std::snprintf(text, sizeof text, "%.12g s, %02llu:%02llu:%02llu", seconds, whole / 3600,
                  whole / 60 % 60, whole % 60);
    return text;
}

JobOutcome OutcomeOf(JobCheck check) {
    switch (check) {
        case JobCheck::Duration:
        case JobCheck::Profile:
            return JobOutcome::Aborted;
        case JobCheck::Stopped:
            return JobOutcome::Stopped;
        case JobCheck::Paths:
        case JobCheck::Range:
        case JobCheck::Settings:
        case JobCheck::FreeSpace:
            break;
    }
    return JobOutcome::Refused;
}

}  // namespace

// The binding's lines go through the log buffer, as the engine's do.
class CJobSession::BindingLog : public IJobLog {
public:
    explicit BindingLog(CJobSession& session) : m_session(session) {}
    void LogJobLine(const std::string& line) override {
        std::snprintf(m_session.m_szLog, sizeof m_session.m_szLog, "%s", line.c_str());
        m_session.m_host.LogLine(m_session.m_szLog, JobLine::Report);
    }

private:
    CJobSession& m_session;
};

CJobSession::CJobSession(IJobHost& host) : m_host(host), m_owner(std::this_thread::get_id()) {
    m_hWnd = CreateHostWindow(
        [this](HWND, UINT msg, WPARAM w, LPARAM) -> LRESULT { return OnMessage(msg, w); });
}

CJobSession::~CJobSession() {
    DestroyWindow(m_hWnd);
}

int CJobSession::Progress() const {
    return LoadProgress(&m_nProgress);
}

JobOutcome CJobSession::Run(const JobRequest& request) {
    if (m_phase != JobPhase::Idle) return JobOutcome::Refused;
    m_report.Reset();
    m_bStopAsked = m_bStopNoted = m_bStopDelivered = m_bControlStopped = m_bEngineWaiting = false;

    m_phase = JobPhase::Checking;
    ProfileRecord record{};
    double endSeconds = 0;
    if (const std::optional<JobRefusal> refusal = Check(request, record, endSeconds)) {
        // Still checking while the host tells it: a window waits to close.
        // A declined question needs no telling: the host gave the answer.
        if (refusal->check != JobCheck::FreeSpace) m_host.Tell(*refusal);
        m_phase = JobPhase::Idle;
        return OutcomeOf(refusal->check);
    }

    m_phase = JobPhase::Binding;
    BoundConverter bound;
    BindingLog bindingLog(*this);
    if (!BindConverter(bindingLog, bound, request.primaryLibrary.c_str(),
                       request.fallbackLibrary.c_str())) {
        m_phase = JobPhase::Idle;
        return StopWanted() ? JobOutcome::Stopped : JobOutcome::Aborted;
    }

    m_phase = JobPhase::Converting;
    CallConvert(bound.convert, request, record, endSeconds);
    DrainOtherThreadsLines();

    m_phase = JobPhase::Finishing;
    const JobOutcome outcome = m_report.Outcome(StopWanted());
    m_host.Finishing(outcome);
    StoreProgress(&m_nProgress, 0);
    UnbindConverter(bound);
    m_phase = JobPhase::Idle;
    return outcome;
}

std::optional<JobRefusal> CJobSession::Check(const JobRequest& request, ProfileRecord& record,
                                             double& endSeconds) {
    if (const JobPathProblem problem = CheckJobPaths(request.source, request.destination);
        problem != JobPathProblem::None)
        return JobRefusal{JobCheck::Paths, problem, JobPathMessage(problem, request.source)};

    std::string error;
    if (request.endSeconds) {
        endSeconds = *request.endSeconds;
    } else if (ProbeDurationSeconds(request.source, endSeconds, error)) {
        // The engines take whole seconds: round up, or the last part of the
        // movie would be left out.
        endSeconds = std::ceil(endSeconds);
    } else {
        return JobRefusal{JobCheck::Duration, JobPathProblem::None, error};
    }
    // The engines would hold a later time to their limit and report that
    // instead of what was asked for.
    for (const auto& [name, seconds] :
         {std::pair{"begin", request.beginSeconds}, std::pair{"end", endSeconds}}) {
        if (seconds > kMaxRangeSeconds)
            return JobRefusal{JobCheck::Range, JobPathProblem::None,
                              std::string("the ") + name + " (" + TimeFigures(seconds) +
                                  ") is later than the converters can reach (" +
                                  TimeFigures(kMaxRangeSeconds) + ")"};
    }
    if (request.beginSeconds > endSeconds) {
        return JobRefusal{JobCheck::Range, JobPathProblem::None,
                          "the begin (" + TimeFigures(request.beginSeconds) +
                              ") is after the end (" + TimeFigures(endSeconds) + ")"};
    }

    if (!request.profile || !request.profile(record, error))
        return JobRefusal{JobCheck::Profile, JobPathProblem::None, error};
    // A hand-edited profile.cfg can hold settings the encoder refuses; the
    // job would then make a file of other settings without a word.
    if (std::string problem = VideoSettingsProblem(record); !problem.empty())
        return JobRefusal{JobCheck::Settings, JobPathProblem::None, std::move(problem)};
    if (std::optional<JobRefusal> refusal = CheckFreeSpace(request, record, endSeconds))
        return refusal;

    if (m_host.StopRequested())
        return JobRefusal{JobCheck::Stopped, JobPathProblem::None, "stopped before the job began"};
    return std::nullopt;
}

std::optional<JobRefusal> CJobSession::CheckFreeSpace(const JobRequest& request,
                                                      const ProfileRecord& record,
                                                      double endSeconds) {
    const double bitsPerSecond =
        WidenProfile(record).videoBitrate + std::max<int32_t>(record.audioBitrate, 0);
    const uint64_t expected = ExpectedOutputBytes(bitsPerSecond, endSeconds - request.beginSeconds);
    const std::optional<uint64_t> free = FreeBytesFor(request.destination);
    char line[160];
    if (free) {
        std::snprintf(line, sizeof line,
                      "Info: Expected dest file size %llu bytes, free space %llu bytes\r\n",
                      static_cast<unsigned long long>(expected),
                      static_cast<unsigned long long>(*free));
    } else {
        std::snprintf(line, sizeof line, "Info: Expected dest file size %llu bytes\r\n",
                      static_cast<unsigned long long>(expected));
    }
    m_host.LogLine(line, JobLine::Report);
    if (!free || *free >= expected) return std::nullopt;
    JobQuestion question{JobCheck::FreeSpace, "the destination's disk has " + ByteCountText(*free) +
                                                  " free, and the file is expected to take " +
                                                  ByteCountText(expected)};
    if (m_host.Ask(question)) return std::nullopt;
    return JobRefusal{JobCheck::FreeSpace, JobPathProblem::None, std::move(question.reason)};
}

void CJobSession::CallConvert(ConvertFn convert, const JobRequest& request,
                              const ProfileRecord& record, double endSeconds) {
    ReleaseLeftoverSlots();
    // Convert takes mutable paths and the record by address.
    std::string source = request.source;
    std::string destination = request.destination;
    ProfileStruc profile = WidenProfile(record);
    convert(source.data(), destination.data(), &profile, m_szLog, m_hWnd, &m_pGraphBuilder,
            &m_pMediaControl, &m_pMediaSeeking, request.beginSeconds, endSeconds, &m_nProgress);
}

LRESULT CJobSession::OnMessage(UINT msg, WPARAM wParam) {
    if (std::this_thread::get_id() != m_owner) {
        // A thread of the engine's own: a line is taken now, before the next
        // overwrites the buffer; everything is handled on the session's thread.
        if (msg == WM_COMMAND && LOWORD(wParam) == kCmdFlushLog) {
            m_szLog[sizeof m_szLog - 1] = '\0';
            const std::lock_guard<std::mutex> g(m_otherLinesLock);
            m_otherLines.emplace_back(m_szLog);
            msg = kOtherThreadsLines;
        }
        PostMessageA(m_hWnd, msg, wParam, 0);
        return 0;
    }
    if (msg == kOtherThreadsLines) {
        DrainOtherThreadsLines();
    } else if (msg == WM_TIMER) {
        if (wParam == kProgressTick) Tick();
        if (wParam == kStopPollTick) PollStopRequest();
    } else if (msg == WM_COMMAND) {
        switch (LOWORD(wParam)) {
            case kCmdFlushLog:
                m_szLog[sizeof m_szLog - 1] = '\0';
                OnEngineLine(m_szLog);
                break;
            case kCmdStopJob:
                Stop();
                break;
            case kCmdEndTimeStop:
                EndTimeStop();
                break;
            default:
                break;
        }
    }
    return 0;
}

void CJobSession::OnEngineLine(const std::string& line) {
    m_report.OnEngineLine(line);
    if (line == kReportRunning) m_bEngineWaiting = true;
    m_host.LogLine(line, JobLine::Report);
}

void CJobSession::DrainOtherThreadsLines() {
    std::vector<std::string> lines;
    {
        const std::lock_guard<std::mutex> g(m_otherLinesLock);
        lines.swap(m_otherLines);
    }
    for (const std::string& line : lines) OnEngineLine(line);
}

void CJobSession::Stop() {
    m_host.LogLine("User want stop converting\r\n", JobLine::Note);
    StopEngineNow();
}

void CJobSession::EndTimeStop() {
    StopEngineNow();
    m_host.LogLine("Reach end time, stop converting\r\n", JobLine::Note);
}

void CJobSession::StopForClose() {
    if (m_pGraphBuilder) Stop();
}

void CJobSession::StopEngineNow() {
    m_bStopAsked = true;
    ::StopEngine(m_pGraphBuilder, m_pMediaControl, [this] {
        m_bControlStopped = true;
        m_host.LogLine("Stopping\r\n", JobLine::Note);
    });
}

void CJobSession::PollStopRequest() {
    if (m_phase != JobPhase::Converting || m_bStopDelivered || !m_host.StopRequested()) return;
    if (!m_bStopNoted) {
        m_host.LogLine("User want stop converting\r\n", JobLine::Note);
        m_bStopNoted = true;
    }
    // Before the engine waits for its running graph there is nothing to
    // stop yet (a graph stopped while it is built or started ends as an
    // error); the next tick asks again, so an early request is not lost.
    if (!m_pGraphBuilder || !m_bEngineWaiting) return;
    StopEngineNow();
    m_bStopDelivered = true;
}

void CJobSession::Tick() {
    PollStopRequest();
    if (m_phase != JobPhase::Converting || !m_pMediaSeeking || m_bControlStopped) return;
    m_host.ShowProgress(Progress(), m_nSpinner);
    m_nSpinner = NextSpinner(m_nSpinner);
}

bool CJobSession::StopWanted() const {
    // A request that came too early or too late for the engine still means
    // the user did not want the whole job.
    return m_bStopAsked || m_host.StopRequested();
}

void CJobSession::ReleaseLeftoverSlots() {
    if (m_pGraphBuilder) m_pGraphBuilder->Release();
    m_pGraphBuilder = nullptr;
    if (m_pMediaControl) m_pMediaControl->Release();
    m_pMediaControl = nullptr;
    if (m_pMediaSeeking) m_pMediaSeeking->Release();
    m_pMediaSeeking = nullptr;
}
