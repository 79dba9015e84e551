// After the event loop, on every way out of it: stop the graph, close the
// output file and tag it. Every step is tried; none ends the job early.
#pragma once

#include "convert/wmf9/convertor.h"

void FinishJob(CConvertor& c);
