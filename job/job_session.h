// One job's sequence, the same for zev's window and zev-convert's console:
// check the paths and settings (probing the source's duration when no end
// is given), bind the converter library, widen the profile into the Convert
// record, run Convert, stop it, and decide the outcome. The session owns the
// job's phase and everything the Convert call borrows from its caller (the
// engine's window, the three interface slots, the log buffer, the progress
// integer); the caller talks to it through IJobHost.
//
//   CJobSession session(host);                 // on the user-interface thread
//   JobOutcome outcome = session.Run(request); // returns when the job has ended
//
// Threads. Run, and every other member but Progress and HoldsSource, belong
// to the thread that made the session. Convert runs inside Run on that
// thread and pumps its messages while the graph runs, so the host's calls
// (lines, progress, a refusal's message box) and the caller's own Stop,
// Tick and Phase arrive re-entrantly, with Run still on the stack. The
// engine writes the progress integer from a thread of its own.
//
// Ownership. The host is borrowed and outlives the session. The engine
// stores its graph interfaces in the slots without a reference for the
// caller and clears them before Convert returns; the session never releases
// them, except leftovers before the next call.
#pragma once

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "convert/common/convert_api.h"
#include "job/job_outcome.h"
#include "job/job_paths.h"
#include "platform/win/window.h"
#include "profiles/profile_record.h"

enum class JobPhase {
    Idle,
    Checking,    // paths, duration, range, profile, settings
    Binding,     // loading the converter library
    Converting,  // inside Convert
    Finishing,   // Convert has returned; the host shows the end, the library goes
};

enum class JobLine {
    Report,  // the binding's and the engine's lines
    Note,    // the session's own notes on a stop, which the window logs only
};

// The check that kept a job from starting.
enum class JobCheck {
    Paths,      // `path` says which problem
    Duration,   // the source tells no duration
    Range,      // the begin is after the end
    Profile,    // no profile record could be built
    Settings,   // the encoder would not take the video settings
    FreeSpace,  // the destination's file system looks too small, and the host said No
    Stopped,    // a stop was asked for before the job began
};

// A question the session puts to its host before the job begins.
struct JobQuestion {
    JobCheck check;  // the check that asks (FreeSpace)
    // One sentence for the user, with the figures: lower case, no full stop.
    std::string reason;
};

struct JobRefusal {
    JobCheck check;
    JobPathProblem path = JobPathProblem::None;
    // One sentence for the user: lower case, no full stop.
    std::string reason;
};

class IJobHost {
public:
    virtual ~IJobHost() = default;
    // A line of the job as it was sent: "\r\n" ended, or "\r" alone for one
    // that the next line replaces.
    virtual void LogLine(const std::string& line, JobLine kind) = 0;
    // A progress tick: the engine's percentage and the spinner's index into
    // kSpinnerChars (job/progress_text.h), which turns once a tick.
    virtual void ShowProgress(int percent, int spinner) = 0;
    // Why the job did not start; Run returns right after. Not called when
    // the host itself declined the job through Ask.
    virtual void Tell(const JobRefusal& refusal) = 0;
    // Whether to go on with a job that a check doubts (the destination's
    // file system has less free space than the output is expected to take).
    // False ends the job as refused, before anything is written.
    virtual bool Ask(const JobQuestion& question) = 0;
    // A stop asked for from outside the session (a signal), read at every
    // tick; the window's stops come through Stop instead.
    virtual bool StopRequested() const = 0;
    // Convert has returned, whatever the outcome; the progress integer still
    // holds the engine's last value, the library is unloaded afterwards.
    virtual void Finishing(JobOutcome outcome) = 0;
};

struct JobRequest {
    std::string source;
    std::string destination;
    double beginSeconds = 0;
    // None: the source's duration, probed and rounded up to whole seconds.
    std::optional<double> endSeconds;
    // Builds the profile record (video bit rate in kilobits per second) once
    // the paths and the range have passed, so that what it reports comes
    // after their refusals.
    std::function<bool(ProfileRecord& record, std::string& error)> profile;
    // The converter libraries, by file name; the fallback is tried when the
    // first one's runtime is too old.
    std::string primaryLibrary = kConverterLibrary9;
    std::string fallbackLibrary = kConverterLibrary8;
};

class CJobSession {
public:
    // WM_TIMER identifiers for a caller that ticks through the session's
    // window from a thread of its own: a progress tick, and a tick that only
    // reads the host's stop request.
    static constexpr WPARAM kProgressTick = 136;
    static constexpr WPARAM kStopPollTick = 138;

    explicit CJobSession(IJobHost& host);
    ~CJobSession();
    CJobSession(const CJobSession&) = delete;
    CJobSession& operator=(const CJobSession&) = delete;

    // Runs one job to its end. Refused (no call, no message) unless Idle: a
    // second job inside the running one would pull the working engine's
    // graph from under it.
    JobOutcome Run(const JobRequest& request);
    JobPhase Phase() const { return m_phase; }

    // The engine's percentage: 0 while no job reports progress. Any thread.
    int Progress() const;
    // The engine reports progress on the source: the window keeps its file
    // commands from the user then. Before the first report a job leaves
    // them alone. Any thread.
    bool HoldsSource() const { return Progress() != 0; }

    // The user's stop: noted, then the two-step stop of whatever graph the
    // engine holds (nothing before it has one, or after it let go).
    void Stop();
    // The range's end was reached: the same stop, noted afterwards.
    void EndTimeStop();
    // A window that closes during a job stops a running engine without
    // asking; before the engine holds a graph, and after, it does nothing.
    void StopForClose();
    // The caller's timer: the host's stop request, then progress while the
    // engine reports it (and until the engine was told to stop).
    void Tick();

    // The window that Convert reports to; kCmdStopJob, kCmdEndTimeStop and
    // the two ticks may be sent or posted to it too.
    HWND Handle() const { return m_hWnd; }

private:
    class BindingLog;

    LRESULT OnMessage(UINT msg, WPARAM wParam);
    std::optional<JobRefusal> Check(const JobRequest& request, ProfileRecord& record,
                                    double& endSeconds);
    std::optional<JobRefusal> CheckFreeSpace(const JobRequest& request, const ProfileRecord& record,
                                             double endSeconds);
    void CallConvert(ConvertFn convert, const JobRequest& request, const ProfileRecord& record,
                     double endSeconds);
    void OnEngineLine(const std::string& line);
    void PollStopRequest();
    void StopEngineNow();
    bool StopWanted() const;
    void DrainOtherThreadsLines();
    void ReleaseLeftoverSlots();

    IJobHost& m_host;
    std::thread::id m_owner;
    HWND m_hWnd = nullptr;
    JobPhase m_phase = JobPhase::Idle;

    IGraphBuilder* m_pGraphBuilder = nullptr;
    IMediaControl* m_pMediaControl = nullptr;
    IMediaSeeking* m_pMediaSeeking = nullptr;
    // The log buffer handed to Convert; the binding's lines pass through it too.
    char m_szLog[kLogBufferSize] = {};
    // Written by the engine's thread: read through Progress only.
    int m_nProgress = 0;
    // Not reset between jobs.
    int m_nSpinner = 0;

    CJobReport m_report;
    bool m_bStopAsked = false;      // a stop reached the engine, or was tried
    bool m_bStopNoted = false;      // the host's request has been noted
    bool m_bStopDelivered = false;  // the host's request has reached the engine
    bool m_bControlStopped = false;
    bool m_bEngineWaiting = false;  // the engine has said its graph runs

    // Lines an engine sent from a thread of its own, taken at once and shown
    // on the session's thread.
    std::mutex m_otherLinesLock;
    std::vector<std::string> m_otherLines;
};
