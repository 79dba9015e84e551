// How a job's source ended, told the same way by both engines once their
// graph has ended by itself.
//
// A source can deliver less than the range asked for in two ways. A file
// that always held less than its header claims (a broken download) is
// converted as far as it goes, and an "Info:" line says where it ended. A
// file that changed while it was read (truncated, overwritten in place or
// replaced under its name) fails the job: what was read may mix the old
// file and the new one. The output file is finished either way, as after a
// stop.
//
// Threads: the thread that called Convert.
#pragma once

#include <sys/types.h>

#include <ctime>
#include <functional>
#include <string>

#include "platform/dshow/dshow.h"

class CSourceWatch {
public:
    // Notes the file's identity, size and modification time.
    void Begin(const char* path);
    // True when the file under the name is not the one seen by Begin any
    // more: another size, another modification time, another file, or none.
    bool Changed() const;

private:
    std::string m_path;
    bool m_known = false;
    dev_t m_device = 0;
    ino_t m_inode = 0;
    off_t m_size = 0;
    timespec m_modified{};
};

// "Info: The source ended at HH:MM:SS, before the end of the range at
// HH:MM:SS\r\n" when `reached` (100 ns) lies more than a second before
// `rangeEnd` (100 ns): a range's end is whole seconds, a source's end is
// not. Otherwise "".
std::string SourceEndedEarlyLine(LONGLONG reached, LONGLONG rangeEnd);

// For a graph that ended by itself: sends where the source ended when that
// lies short of the range's end (the graph's position; nothing without
// `seeking`), then, when the source changed during the job, the line of
// convert/common/job_report.h that fails it. True when it failed the job.
bool ReportSourceEnd(const std::function<void(const char*)>& send, const CSourceWatch& source,
                     IMediaSeeking* seeking, LONGLONG rangeEnd);
