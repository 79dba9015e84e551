// The caller's side of one Convert call, the same for the zev main frame and
// zev-convert: the state a caller owns while the engine runs, the two-step
// stop, the progress integer and the job's outcome.
//
// Ownership. The caller owns a CJobState for as long as it may run jobs (the
// main frame holds one as a member): the three interface slots, the log
// buffer and the progress integer whose addresses Convert receives. The
// engine stores its own graph interfaces in the slots while it runs, without
// a reference for the caller, and NULL in all three before it returns; the
// caller uses them only while Convert runs and never releases them, except
// for leftovers at the start of the next job.
//
// Threads. Convert is called on the caller's user-interface thread and pumps
// that thread's messages until the job ends, so the caller's timer, its stop
// command and its kCmdFlushLog handler run inside RunConvert. Every member
// is for that thread, except ReadProgress (any thread) and CStopRequest
// (any thread, and a signal handler). Nothing here takes a lock.
//
// Failures. Convert has no result: the engine reports through log lines and
// Outcome() reads them (job/job_outcome.h). Stop calls are not checked.
#pragma once

#include <atomic>
#include <functional>
#include <string>

#include "job/job_outcome.h"
#include "convert/common/convert_api.h"
#include "convert/common/progress_cell.h"
#include "platform/win/window.h"

// The two-step stop, in this order: IMediaControl::Stop when the control slot
// is set (`onControlStop` runs just before it: the frame logs "Stopping" and
// kills its progress timer), then EC_USERABORT through the graph's
// IMediaEventSink when the graph slot is set; the engine's event wait then
// returns. With both slots NULL (the engine has no graph yet, or no longer)
// it does nothing.
void StopEngine(IGraphBuilder* graph, IMediaControl* control,
                const std::function<void()>& onControlStop = {});

// A stop asked for from outside the user-interface thread (Ctrl+C). The
// asking side only sets the flag; the caller's own thread takes it and
// calls StopEngine.
class CStopRequest {
public:
    // Safe from a signal handler.
    void Request() noexcept { m_requested.store(true, std::memory_order_relaxed); }
    bool Requested() const noexcept { return m_requested.load(std::memory_order_relaxed); }
    void Clear() noexcept { m_requested.store(false, std::memory_order_relaxed); }

private:
    std::atomic<bool> m_requested{false};
    static_assert(std::atomic<bool>::is_always_lock_free, "the flag is set in a signal handler");
};

// One job's arguments for Convert; begin and end are whole seconds of the
// user interface, widened to doubles.
struct JobRequest {
    std::string source;
    std::string destination;
    ProfileStruc profile;
    double beginSeconds = 0;
    double endSeconds = 0;
};

class CJobState {
public:
    CJobState() = default;
    CJobState(const CJobState&) = delete;
    CJobState& operator=(const CJobState&) = delete;

    // Calls Convert synchronously with this state's log buffer, slots and
    // progress integer, after releasing what an earlier call left in the
    // slots. Refused (false, no call) while a call on this state is still
    // running: inside Convert, releasing the slots would pull the running
    // engine's graph from under it.
    bool RunConvert(ConvertFn convert, HWND hWnd, const JobRequest& request);
    bool Converting() const { return m_bInConvert; }

    // The kCmdFlushLog handler's read: the line the engine just put into the
    // log buffer (cut at the buffer's end if it came unterminated). The line
    // also goes into the job's report.
    std::string TakeEngineLine();

    // Stops the running engine (StopEngine over this state's slots) and
    // remembers that the caller asked, for the outcome.
    void StopEngine(const std::function<void()>& onControlStop = {});

    // The outcome of the last call, once RunConvert has returned.
    JobOutcome Outcome() const { return m_report.Outcome(m_bStopAsked); }
    // The engine reported that the output file could not be written.
    bool OutputFailed() const { return m_report.OutputFailed(); }

    // A non-null graph slot: a conversion is running (close handling, stop).
    bool GraphRunning() const { return m_pGraphBuilder != nullptr; }
    // A non-null seeking slot: progress can be shown.
    bool ProgressKnown() const { return m_pMediaSeeking != nullptr; }

    // The progress integer, read as one atomic load: the engine writes it
    // from a thread of its own.
    int ReadProgress() const { return LoadProgress(&m_nProgress); }
    // The caller sets it back to 0 after a job: 0 means no job reports
    // progress.
    void ResetProgress() { StoreProgress(&m_nProgress, 0); }

    // Releases and clears whatever the slots still hold (after a normal call
    // the engine has cleared them).
    void ReleaseLeftoverSlots();

    IGraphBuilder* m_pGraphBuilder = nullptr;
    IMediaControl* m_pMediaControl = nullptr;
    IMediaSeeking* m_pMediaSeeking = nullptr;
    // The log buffer handed to Convert; the caller's own job lines use it too.
    char m_szLog[kLogBufferSize] = {};

private:
    // Written by the engine's thread: read through ReadProgress only.
    int m_nProgress = 0;
    bool m_bInConvert = false;
    bool m_bStopAsked = false;
    CJobReport m_report;
};
