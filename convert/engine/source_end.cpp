#include "convert/engine/source_end.h"

#include <sys/stat.h>

#include "convert/common/job_report.h"
#include "convert/engine/log_channel.h"
#include "convert/engine/whole_seconds.h"

namespace {

constexpr LONGLONG kUnits = 10000000;  // 100 ns units in a second
constexpr int kSecondsPerMinute = 60;
constexpr int kSecondsPerHour = 3600;

std::string Clock(LONGLONG units) {
    const int32_t seconds = WholeSeconds(static_cast<double>(units < 0 ? 0 : units / kUnits));
    return FormatLine("%02d:%02d:%02d", seconds / kSecondsPerHour,
                      seconds / kSecondsPerMinute % kSecondsPerMinute, seconds % kSecondsPerMinute);
}

}  // namespace

void CSourceWatch::Begin(const char* path) {
    m_path = path ? path : "";
    struct stat st {};
    m_known = path && stat(path, &st) == 0;
    if (!m_known) return;
    m_device = st.st_dev;
    m_inode = st.st_ino;
    m_size = st.st_size;
    m_modified = st.st_mtim;
}

bool CSourceWatch::Changed() const {
    if (!m_known) return false;
    struct stat st {};
    if (stat(m_path.c_str(), &st) != 0) return true;
    return st.st_dev != m_device || st.st_ino != m_inode || st.st_size != m_size ||
           st.st_mtim.tv_sec != m_modified.tv_sec || st.st_mtim.tv_nsec != m_modified.tv_nsec;
}

std::string SourceEndedEarlyLine(LONGLONG reached, LONGLONG rangeEnd) {
    if (rangeEnd - reached <= kUnits) return {};
    return "Info: The source ended at " + Clock(reached) + ", before the end of the range at " +
           Clock(rangeEnd) + "\r\n";
}

bool ReportSourceEnd(const std::function<void(const char*)>& send, const CSourceWatch& source,
                     IMediaSeeking* seeking, LONGLONG rangeEnd) {
    LONGLONG reached = 0;
    if (seeking && SUCCEEDED(seeking->GetCurrentPosition(&reached))) {
        const std::string line = SourceEndedEarlyLine(reached, rangeEnd);
        if (!line.empty()) send(line.c_str());
    }
    if (!source.Changed()) return false;
    send(kReportSourceChanged);
    return true;
}
