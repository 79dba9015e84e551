#include "app/job/job_outcome.h"

#include "convert/common/job_report.h"

void CJobReport::OnEngineLine(const std::string& line) {
    // Whatever ended the graph, a file that could not be written is a
    // failed job: the destination does not hold it.
    if (line.rfind(kReportOutputFailedPrefix, 0) == 0) m_outputFailed = true;
    // Nor is one whose source changed under it, whatever ended the graph.
    if (line == kReportSourceChanged) m_sourceChanged = true;
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
    if (m_outputFailed || m_sourceChanged) return JobOutcome::Aborted;
    if (stopAsked || m_ending == Ending::Stopped) return JobOutcome::Stopped;
    // An engine that ended its job while building reports no ending at all.
    return m_ending == Ending::Completed ? JobOutcome::Completed : JobOutcome::Aborted;
}
