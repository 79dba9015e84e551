// After the event loop, on every way out of it: stop the graph, close the
// output file, report a range run to its end once the file is complete,
// "End of converting.", and tag the file. Every step is tried; none ends
// the job early. A file that could not be finished ends the job with an
// abort line instead of the success line and is not tagged.
#pragma once

#include "convert/wmf9/convertor.h"
#include "convert/wmf9/event_loop.h"

void FinishJob(CConvertor& c, GraphEnding ending);
