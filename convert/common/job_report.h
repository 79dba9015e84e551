// The log lines with which an engine reports how its running graph ended.
// `Convert` returns nothing: a caller learns a job's outcome from these lines
// alone (see job/job_outcome.h), so the engines send exactly these texts.
#pragma once

// Both engines: the graph runs and the engine waits for its end. A stop
// asked for earlier waits for this line: stopping a graph that is still
// being built or started would be taken for an error.
inline constexpr char kReportRunning[] = "Under converting, please wait...\r\n";

// libtranzo9.so: the graph's end event, one line each (EC_COMPLETE,
// EC_USERABORT, EC_ERRORABORT).
inline constexpr char kReportCompleted9[] = "Converting successfully complete!\r\n";
inline constexpr char kReportStopped9[] = "User stopped converting.\r\n";
inline constexpr char kReportFailed9[] = "Converting aborted by error.\r\n";

// libtranzo8.so: a stop or an error is reported, then the job always ends
// with kReportFinished8, which alone therefore means the range was done.
inline constexpr char kReportStopped8[] = "User Abort\r\n";
inline constexpr char kReportFailed8[] = "Error Abort\n";
inline constexpr char kReportFinished8[] = "Converting finished\r\n";

// Both engines: the source file changed while it was read (truncated,
// overwritten or replaced), so the output may hold a mix of two files. The
// output is finished as after a stop, but the job failed; sent instead of
// a completion, and overrides any ending (convert/engine/source_end.h).
inline constexpr char kReportSourceChanged[] =
    "Error, the source file changed during converting; the output holds what was read until "
    "then, Mission aborted!\r\n";

// Both engines: the output file could not be written or put in place, so
// the destination does not hold the new file (convert/engine/
// output_failure.h). Sent after a stop's or an error's line, and overrides
// it; libtranzo9.so sends it instead of its completion, which waits for
// the file to be complete.
inline constexpr char kReportOutputFailedPrefix[] = "Failed to write the output file";
