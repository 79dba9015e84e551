// The wait for the end of the job on the caller's thread, dispatching the
// thread's window messages meanwhile so that the caller's timers, its stop
// command and its log handler run inside it.
#pragma once

#include "convert/wmf9/convertor.h"

// How the graph ended, as far as finishing needs to know.
enum class GraphEnding {
    Other,     // stopped, failed, or no event channel: its line (if any) is sent
    RangeDone  // the range ran to its end: the success line waits for the file
};

// Returns after the ending event (or a missing event channel). A stop or an
// error is reported at once; a range run to its end is reported by
// finishing, once the output file is really complete, so that a file that
// cannot be put in place never follows a success line.
GraphEnding RunEventLoop(CConvertor& c);
