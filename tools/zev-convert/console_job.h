// One conversion job run from a terminal: the job session's console face.
// Log lines go out time-stamped, progress shows on one updating line, and
// Ctrl+C (a CStopRequest set by the signal handler) becomes the session's
// stop; a refusal is one "zev-convert: ..." line on standard error, and so
// is the answer No to a destination's disk that looks too small, unless
// --ignore-free-space answers Yes. The job itself (checks, binding, the
// Convert call, stop, outcome) is the session's.
#pragma once

#include <cstdio>
#include <string>

#include "job/job_control.h"
#include "job/job_session.h"

class ConsoleJob : public IJobHost {
public:
    // Log lines go to `log`; refusals and the progress line, when shown, to
    // `progress`. `stop` is read while the job runs (a signal handler sets it).
    // `ignoreFreeSpace`: convert even when the destination's disk looks too
    // small.
    ConsoleJob(FILE* log, FILE* progress, bool showProgress, bool ignoreFreeSpace,
               const CStopRequest& stop);
    ConsoleJob(const ConsoleJob&) = delete;
    ConsoleJob& operator=(const ConsoleJob&) = delete;

    JobOutcome Run(const JobRequest& request);

    // IJobHost
    void LogLine(const std::string& line, JobLine kind) override;
    void ShowProgress(int percent, int spinner) override;
    void Tell(const JobRefusal& refusal) override;
    bool Ask(const JobQuestion& question) override;
    bool StopRequested() const override { return m_stop.Requested(); }
    void Finishing(JobOutcome outcome) override;

private:
    void ClearProgress();

    FILE* m_log;
    FILE* m_progressOut;
    bool m_showProgress;
    bool m_logIsTerminal;
    bool m_ignoreFreeSpace;
    const CStopRequest& m_stop;
    bool m_progressShown = false;
    bool m_lastTransient = false;
    CJobSession m_session;
};
