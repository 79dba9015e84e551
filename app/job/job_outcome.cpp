#include "app/job/job_outcome.h"

#include "convert/common/job_report.h"

void CJobReport::OnEngineLine(const std::string& line) {
    if (m_ending != Ending::None) return;
    if (line == kReportCompleted9 || line == kReportFinished8) {
        m_ending = Ending::Completed;
    } else if (line == kReportStopped9 || line == kReportStopped8) {
        m_ending = Ending::Stopped;
    } else if (line == kReportFailed9 || line == kReportFailed8) {
        m_ending = Ending::Failed;
    }
}

JobOutcome CJobReport::Outcome(bool stopAsked) const {
    if (stopAsked || m_ending == Ending::Stopped) return JobOutcome::Stopped;
    // An engine that ended its job while building reports no ending at all.
    return m_ending == Ending::Completed ? JobOutcome::Completed : JobOutcome::Aborted;
}
