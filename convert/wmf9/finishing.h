// After the event loop, on every way out of it: stop the graph, close the
// output file and tag it. Every step is tried; none ends the job early. A
// file that could not be finished ends the job with an abort line and is
// not tagged.
#pragma once

#include "convert/wmf9/convertor.h"

void FinishJob(CConvertor& c);
