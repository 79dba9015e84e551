// How a job ended, decided in one place from the engine's own report.
//
// Convert returns nothing; the engine tells the caller how its graph ended
// with one of the lines of convert/common/job_report.h. CJobReport is fed
// every engine log line of one call (on the caller's thread, from its
// kCmdFlushLog handler) and keeps the first ending it hears of: the older
// engine reports a stop or an error and then, on every path, that it
// finished, so a later ending never overrides an earlier one. The
// exceptions are a report that the output file could not be written, which
// comes after the ending, and one that the source changed during the job:
// either makes any job a failure.
#pragma once

#include <string>

enum class JobOutcome {
    Completed,  // the engine ran its range to the end
    Stopped,    // the caller stopped it (or asked to) before it ended
    Aborted,    // it failed: no library, a build step, or the running graph
};

class CJobReport {
public:
    void Reset() {
        m_ending = Ending::None;
        m_outputFailed = false;
        m_sourceChanged = false;
    }
    void OnEngineLine(const std::string& line);

    // The outcome once Convert has returned. `stopAsked`: the caller asked
    // for a stop during the call; it wins over what the engine reported,
    // since the user meant the job to end early.
    JobOutcome Outcome(bool stopAsked) const;
    bool OutputFailed() const { return m_outputFailed; }

private:
    enum class Ending { None, Completed, Stopped, Failed };
    Ending m_ending = Ending::None;
    bool m_outputFailed = false;
    bool m_sourceChanged = false;
};
