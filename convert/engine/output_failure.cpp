#include "convert/engine/output_failure.h"

#include <cstdio>

#include "convert/common/job_report.h"
#include "platform/wmf/wmsdk.h"

const char* OutputFailureReason(HRESULT hr) {
    if (hr == NS_E_DISK_FULL) return "the disk is full";
    if (hr == NS_E_FILE_NOT_FOUND) return "its folder does not exist any more";
    if (hr == E_ACCESSDENIED) return "permission denied";
    if (hr == NS_E_FILE_WRITE) return "the file system refused the data";
    return "the file could not be finished";
}

std::string OutputFailureLine(HRESULT hr) {
    char line[160];
    std::snprintf(line, sizeof line, "%s (%s), Error=0X%08X, Mission aborted!\r\n",
                  kReportOutputFailedPrefix, OutputFailureReason(hr), static_cast<unsigned>(hr));
    return line;
}
